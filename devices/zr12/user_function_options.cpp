#include "devices/zr12/user_function_options.h"

#include <span>

#include "devices/zr12/option_procedures.h"

int fillUserFunctionOptionsZr12()
{
    currentParameter().optionCount = 416;
    appendValueOptions(Zr12UserFunctionOptions);
    return 0;
}

// The row 2000 names the terminal DI1, which the Zr24 does not have; it comes first in its group.
int fillUserFunctionOptionsZr24()
{
    const std::span<const ValueRow> rows(Zr12UserFunctionOptions);
    std::size_t di1 = 0;
    while (di1 < rows.size() && rows[di1].value != 2000)
        ++di1;
    currentParameter().optionCount = 415;
    appendValueOptions(rows.first(di1));
    if (di1 < rows.size())
        appendValueOptions(rows.subspan(di1 + 1));
    return 0;
}
