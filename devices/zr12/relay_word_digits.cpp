#include "devices/zr12/digit_tables.h"
#include "devices/zr12/option_procedures.h"

int fillRelayWordBDigitsZr12()
{
    appendDecDigitOptions(RelayWordBDigits);
    return 0;
}

int fillRelayWordBDigitsZr24() { return fillRelayWordBDigitsZr12(); }

int fillRelayWordCDigitsZr12()
{
    appendDecDigitOptions(RelayWordCDigits);
    return 0;
}

int fillRelayWordCDigitsZr24() { return fillRelayWordCDigitsZr12(); }
