// Rows only Zr48X has in subgroups Zr48 shares with it: input release delays, current
// thresholds, PID feedback-loss and limit sources, multi-drive, expansion relays and fire mode.

#include "devices/zr48/option_procedures.h"
#include "devices/zr48/param_tables.h"

namespace zr48 {
namespace {

constexpr ValueRow kF1330Choices[] = {
    {0, "F13.22"},
    {1, "F13.22 • VP"},
    {2, "F13.22 • AI1"},
    {3, "F13.22 • AI2"},
    {4, "F13.22 • HI"},
    {5, "F13.22 • AI3"},
};

constexpr ValueRow kF1331Choices[] = {
    {0, "F13.23"},
    {1, "F13.23 • VP"},
    {2, "F13.23 • AI1"},
    {3, "F13.23 • AI2"},
    {4, "F13.23 • HI"},
    {5, "F13.23 • AI3"},
};

constexpr ValueRow kH0029Choices[] = {
    {1, "Работает"},
    {2, "Не работает"},
};

constexpr DigitRow kH0030Digits[] = {
    {1, 0, "Выключен", "Состояние"},
    {1, 1, "Включен, но не работает", "Состояние"},
    {1, 2, "Включен и работает", "Состояние"},
    {10, 0, "Slave", "Статус Master-Slave"},
    {10, 1, "Может быть использован как Master", "Статус Master-Slave"},
    {10, 2, "Используется как Master", "Статус Master-Slave"},
};

constexpr ValueRow kH0031Choices[] = {
    {0, "Slave"},
    {1, "Master"},
};

constexpr DigitRow kH0039Digits[] = {
    {1, 0, "Неактивно", "R3"},
    {1, 1, "Активно", "R3"},
    {10, 0, "Неактивно", "R4"},
    {10, 1, "Активно", "R4"},
    {100, 0, "Неактивно", "R5"},
    {100, 1, "Активно", "R5"},
    {1000, 0, "Неактивно", "R6"},
    {1000, 1, "Активно", "R6"},
    {10000, 0, "Неактивно", "R7"},
    {10000, 1, "Активно", "R7"},
};

constexpr DigitRow kH0040Digits[] = {
    {1, 0, "Неактивно", "R8"},
    {1, 1, "Активно", "R8"},
};

constexpr ValueRow kH0042Choices[] = {
    {0, "Отключена"},
    {1, "Включена – прямая операция"},
    {2, "Включена – обратная операция"},
    {3, "Включена – останов"},
    {4, "Включена – прямая/обратная операция"},
};

constexpr ValueRow kH0043Choices[] = {
    {0, "Разомкнутый контур"},
    {1, "Технологический замкнутый контур"},
};

constexpr ValueRow kH0045Choices[] = {
    {0, "Неисправность + перезапуск/Серьезная неисправность"},
    {1, "Неисправность/Серьезная неисправность"},
    {2, "Сигнализация о неисправности/проверка"},
};

constexpr ValueRow kH0046Choices[] = {
    {0, "Отключена"},
    {1, "Включена (только в режиме пожара)"},
};

constexpr ParamEntry tableF04Zr48XRows[] = {
    // code, name, min, max, default, display format, access, option count
    {.row = {"F04.19", "Время задержки перед деактивацией клеммы DI1, с", "0.0", "300.0", "0.0", 1, 2, 0}},
    {.row = {"F04.20", "Время задержки перед деактивацией клеммы DI2, с", "0.0", "300.0", "0.0", 1, 2, 0}},
};

constexpr ParamEntry tableF05Zr48XRows[] = {
    // code, name, min, max, default, display format, access, option count
    {.row = {"F05.26", "Превышение тока 1, А", "0.0", "1500.0", "0.0", 1, 2, 0}},
    {.row = {"F05.27", "Превышение тока 2, А", "0.0", "1500.0", "0.0", 1, 2, 0}},
};

constexpr ParamEntry tableF13Zr48XRows[] = {
    // code, name, min, max, default, display format, access, option count
    {.row = {"F13.28", "Верхнее значение потери обратной связи ПИД, %", "0.0", "100.0", "0.0", 1, 1, 0}},
    {.row = {"F13.29", "Время обнаружения потери обратной связи ПИД, с", "0.0", "30.0", "1.0", 1, 1, 0}},
    {.row = {"F13.30", "Источник верхнего предела ПИД", "0", "5", "0", 0, 1, 6}, .choices = kF1330Choices},
    {.row = {"F13.31", "Источник нижнего предела ПИД", "0", "5", "0", 0, 1, 6}, .choices = kF1331Choices},
};

constexpr ParamEntry tableH00Zr48XRows[] = {
    // code, name, min, max, default, display format, access, option count
    {.row = {"H00.29", "Работа ПЧ в Мульте режиме", "1", "2", "1", 0, 2, 2}, .choices = kH0029Choices},
    {.row = {"H00.30", "Состояние ПЧ в Мульте режиме", "00", "22", "00", 32, 0, 0}, .digits = kH0030Digits},
    {.row = {"H00.31", "Использование ПЧ в Мульти режиме", "0", "1", "1", 0, 1, 2}, .choices = kH0031Choices},
    {.row = {"H00.32", "Время работы ПЧ в Мульте режиме, с", "0", "65000", "0", 0, 1, 0}},
    {.row = {"H00.33", "Функция выхода R3 платы расширения", "0", "42", "37", 0, 1, 0}, .procedure = fillDoFunctionOptionsZr48X},
    {.row = {"H00.34", "Функция выхода R4 платы расширения", "0", "42", "32", 0, 1, 0}, .procedure = fillDoFunctionOptionsZr48X},
    {.row = {"H00.35", "Функция выхода R5 платы расширения", "0", "42", "38", 0, 1, 0}, .procedure = fillDoFunctionOptionsZr48X},
    {.row = {"H00.36", "Функция выхода R6 платы расширения", "0", "42", "33", 0, 1, 0}, .procedure = fillDoFunctionOptionsZr48X},
    {.row = {"H00.37", "Функция выхода R7 платы расширения", "0", "42", "39", 0, 1, 0}, .procedure = fillDoFunctionOptionsZr48X},
    {.row = {"H00.38", "Функция выхода R8 платы расширения", "0", "42", "34", 0, 1, 0}, .procedure = fillDoFunctionOptionsZr48X},
    {.row = {"H00.39", "Статус выходов R7 ÷ R3", "00000", "11111", "00000", 35, 0, 0}, .digits = kH0039Digits},
    {.row = {"H00.40", "Статус выхода R8", "0", "1", "0", 31, 0, 0}, .digits = kH0040Digits},
    {.row = {"H00.42", "Функция режима пожаротушения", "0", "4", "0", 0, 1, 5}, .choices = kH0042Choices},
    {.row = {"H00.43", "Режим управления пожаротушением", "0", "1", "0", 0, 1, 2}, .choices = kH0043Choices},
    {.row = {"H00.44", "Исходное значение режима пожаротушения, %", "0.0", "100.0", "0.0", 1, 1, 0}},
    {.row = {"H00.45", "Устранение неисправностей в режиме пожаротушения", "0", "2", "1", 0, 1, 3}, .choices = kH0045Choices},
    {.row = {"H00.46", "Функция байпаса режима пожаротушения", "0", "1", "0", 0, 1, 2}, .choices = kH0046Choices},
    {.row = {"H00.47", "Время задержки байпаса режима пожаротушения, с", "0", "600", "0", 0, 1, 0}},
};

}  // namespace

constexpr ParamTable tableF04Zr48X{"F04", tableF04Zr48XRows};
constexpr ParamTable tableF05Zr48X{"F05", tableF05Zr48XRows};
constexpr ParamTable tableF13Zr48X{"F13", tableF13Zr48XRows};
constexpr ParamTable tableH00Zr48X{"H00", tableH00Zr48XRows};

}  // namespace zr48
