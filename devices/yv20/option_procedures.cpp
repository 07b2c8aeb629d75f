#include "devices/yv20/option_procedures.h"

#include "devices/zr12/digit_tables.h"
#include "devices/zr12/fault_type_options.h"
#include "devices/zr12/function_options.h"
#include "devices/zr12/user_function_options.h"

namespace {

void storeChoice(std::uint16_t optionCount, const char* maxText)
{
    Parameter& p = currentParameter();
    p.optionCount = optionCount;
    p.displayFormat = 0;
    p.minText = "0";
    p.maxText = maxText;
}

}  // namespace

int fillDiFunctionOptionsYv20()
{
    currentParameter().optionCount = 61;
    appendValueOptions(Zr12DiFunctionOptions);
    return 0;
}

int fillDoFunctionOptionsYv20()
{
    currentParameter().optionCount = 60;
    appendValueOptions(Zr12DoFunctionOptions);
    return 0;
}

int fillAoFunctionOptionsYv20()
{
    storeChoice(21, "20");
    appendValueOptions(Zr12AoFunctionOptions);
    return 0;
}

int fillAiDiFunctionOptionsYv20()
{
    storeChoice(60, "59");
    appendValueOptions(Zr12AiDiFunctionOptions);
    return 0;
}

int fillStagePropertyDigitsYv20()
{
    appendHexDigitOptions(StagePropertyDigits);
    return 0;
}

int fillRelayWordBDigitsYv20()
{
    appendDecDigitOptions(RelayWordBDigits);
    return 0;
}

int fillRelayWordCDigitsYv20()
{
    appendDecDigitOptions(RelayWordCDigits);
    return 0;
}

int fillFaultTypeOptionsYv20()
{
    storeChoice(41, "40");
    appendValueOptions(Zr12FaultTypeOptions);
    return 0;
}

int fillUserFunctionOptionsYv20()
{
    appendValueOptions(Zr12UserFunctionOptions);
    return 0;
}
