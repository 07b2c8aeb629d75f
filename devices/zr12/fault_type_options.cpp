#include "devices/zr12/fault_type_options.h"

#include "devices/zr12/option_procedures.h"

int fillFaultTypeOptionsZr12()
{
    Parameter& p = currentParameter();
    p.optionCount = 41;
    p.displayFormat = 0;
    p.minText = "0";
    p.maxText = "40";
    appendValueOptions(Zr12FaultTypeOptions);
    return 0;
}

int fillFaultTypeOptionsZr24() { return fillFaultTypeOptionsZr12(); }
