#include <cstddef>
#include <cstdint>

#include "devices/zr48/option_procedures.h"

namespace zr48 {

int appendChoiceList(std::initializer_list<std::span<const ValueRow>> pieces)
{
    std::size_t rows = 0;
    for (std::span<const ValueRow> piece : pieces)
        rows += piece.size();
    currentParameter().optionCount = static_cast<std::uint16_t>(rows);
    for (std::span<const ValueRow> piece : pieces)
        appendValueOptions(piece);
    return 0;
}

}  // namespace zr48
