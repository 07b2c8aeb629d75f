#include "app/set_value_change.h"

#include "app/program_state.h"
#include "description/description.h"

bool changeSetValue(Parameter& parameter, std::int32_t value)
{
    if (parameter.setValue == value)
        return false;
    parameter.setValue = value;
    if (documentState != 0)
        documentState = 2;
    return true;
}
