#include "devices/zr12/function_options.h"
#include "devices/zr12/option_procedures.h"

int fillDiFunctionOptionsZr12()
{
    Parameter& p = currentParameter();
    p.optionCount = 61;
    p.displayFormat = 0;
    p.minText = "0";
    p.maxText = "60";
    appendValueOptions(Zr12DiFunctionOptions);
    return 0;
}

// The Zr24 loader stores the format and the limits itself.
int fillDiFunctionOptionsZr24()
{
    currentParameter().optionCount = 61;
    appendValueOptions(Zr12DiFunctionOptions);
    return 0;
}
