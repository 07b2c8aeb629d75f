#pragma once
// The option-table procedures of Zr48 and Zr48X. Each stores only optionCount on the current
// parameter and appends its list under currentOptionKey; the Zr48X copies carry the longer lists.

#include <initializer_list>
#include <span>

#include "description/loader_kit.h"

namespace zr48 {

int fillDiFunctionOptionsZr48();
int fillDiFunctionOptionsZr48X();
int fillDoFunctionOptionsZr48();
int fillDoFunctionOptionsZr48X();
int fillVdoFunctionOptionsZr48();
int fillVdoFunctionOptionsZr48X();
int fillAoFunctionOptionsZr48();
int fillAoFunctionOptionsZr48X();
int fillKeypadDisplayOptionsZr48();
int fillKeypadDisplayOptionsZr48X();
int fillUserCodeOptionsZr48();
int fillUserCodeOptionsZr48X();
int fillFaultCodeOptionsZr48();
int fillFaultCodeOptionsZr48X();

// Sets the current parameter's optionCount to the rows of all pieces together and appends them in
// order; returns 0 like every procedure.
int appendChoiceList(std::initializer_list<std::span<const ValueRow>> pieces);

}  // namespace zr48
