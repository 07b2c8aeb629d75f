#include "devices/zr12/digit_tables.h"
#include "devices/zr12/option_procedures.h"

int fillStagePropertyDigitsZr12()
{
    appendHexDigitOptions(StagePropertyDigits);
    return 0;
}

int fillStagePropertyDigitsZr24() { return fillStagePropertyDigitsZr12(); }
