#include "devices/jx9/parameter_tables.h"

namespace {

constexpr ValueRow startStopCommandOptions[] = {
    {0, "Стоп"},
    {1, "Пуск"},
};

constexpr ValueRow faultResetOptions[] = {
    {0, "Нет функции"},
    {1, "Сброс"},
};

constexpr Jx9Parameter parameterRows[] = {
    {{"00001", "Пуск/Стоп", "0", "1", "0", 0, 2, 2}, startStopCommandOptions, {}},
    {{"00002", "Резерв", "0", "0", "0", 0, 2, 0}, {}, {}},
    {{"00003", "Резерв", "0", "0", "0", 0, 2, 0}, {}, {}},
    {{"00004", "Резерв", "0", "0", "0", 0, 2, 0}, {}, {}},
    {{"00005", "Резерв", "0", "0", "0", 0, 2, 0}, {}, {}},
    {{"00006", "Резерв", "0", "0", "0", 0, 2, 0}, {}, {}},
    {{"00007", "Резерв", "0", "0", "0", 0, 2, 0}, {}, {}},
    {{"00008", "Сброс аварии", "0", "1", "0", 0, 2, 2}, faultResetOptions, {}},
};

}  // namespace

const Jx9Table coilTable = {"регистров флагов (Coils)", "Команды управления", parameterRows};
