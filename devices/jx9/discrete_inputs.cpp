#include "devices/jx9/parameter_tables.h"

namespace {

constexpr ValueRow startStopInputOptions[] = {
    {0, "Отключено"},
    {1, "Включено"},
};

constexpr ValueRow dipSwitchOptions[] = {
    {0, "Отключен"},
    {1, "Включен"},
};

constexpr Jx9Parameter parameterRows[] = {
    {{"10001", "Внешний «Пуск/Стоп»", "0", "1", "0", 0, 0, 2}, startStopInputOptions, {}},
    {{"10002", "Внутренний «Пуск/Стоп»", "0", "1", "0", 0, 0, 2}, startStopInputOptions, {}},
    {{"10003", "Переключатель DIP 1", "0", "1", "0", 0, 0, 2}, dipSwitchOptions, {}},
    {{"10004", "Переключатель DIP 2", "0", "1", "0", 0, 0, 2}, dipSwitchOptions, {}},
    {{"10005", "Резерв", "0", "0", "0", 0, 0, 0}, {}, {}},
    {{"10006", "Резерв", "0", "0", "0", 0, 0, 0}, {}, {}},
    {{"10007", "Резерв", "0", "0", "0", 0, 0, 0}, {}, {}},
    {{"10008", "Резерв", "0", "0", "0", 0, 0, 0}, {}, {}},
};

}  // namespace

const Jx9Table discreteInputTable = {"дискретных входов (Discrete Inputs)", "Статусы входов/выходов", parameterRows};
