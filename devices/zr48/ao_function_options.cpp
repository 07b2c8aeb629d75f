// Quantities an analog or pulse output can carry.

#include "devices/zr48/option_procedures.h"

namespace zr48 {

namespace {

constexpr ValueRow Zr48AoFunctionOptions[] = {
    {0, "Нет функции"},
    {1, "Выходная частота"},
    {2, "Заданная частота"},
    {3, "Выходной ток"},
    {4, "Выходное напряжение"},
    {5, "Выходная мощность"},
    {6, "Напряжение на шине"},
    {7, "+10 В"},
    {8, "Потенциометр клавиатуры"},
    {9, "Аналоговый вход AI1"},
    {10, "Аналоговый вход AI2"},
    {11, "Аналоговый вход AI3"},
    {12, "Частотный вход HI"},
    {13, "Выходной крутящий момент"},
};

}  // namespace

int fillAoFunctionOptionsZr48() { return appendChoiceList({Zr48AoFunctionOptions}); }
int fillAoFunctionOptionsZr48X() { return appendChoiceList({Zr48AoFunctionOptions}); }

}  // namespace zr48
