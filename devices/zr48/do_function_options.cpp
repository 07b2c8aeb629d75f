// Functions of the digital and relay outputs, and of the virtual outputs, whose list differs only
// in its first row.

#include <cstddef>
#include <span>

#include "devices/zr48/option_procedures.h"

namespace zr48 {

namespace {

// The Zr48X list; Zr48 lacks the rows 26-28 and 37-42.
constexpr ValueRow Zr48DoFunctionOptions[] = {
    {0, "Нет функции"},
    {1, "Работа"},
    {2, "Ошибка"},
    {3, "Определение частоты 1"},
    {4, "Определение частоты 2"},
    {5, "Работа при 0 Гц (выход ПЧ в работе)"},
    {6, "Работа при 0 Гц (выход ПЧ отключен)"},
    {7, "Достигнут верхний предел частоты"},
    {8, "Достигнут нижний предел частоты"},
    {9, "Частота задания достигнута"},
    {10, "Готовность к работе"},
    {11, "Перегрузка ПЧ (двигателя)"},
    {12, "Перегрев ПЧ"},
    {13, "Достигнуто время работы"},
    {14, "Достигнуто время включения"},
    {15, "Суммарное время работы достигнуто"},
    {16, "Цикл PLC завершён"},
    {17, "Достигнуто установленное значение счётчика"},
    {18, "Достигнуто определённое время счётчика"},
    {19, "Длина достигнута"},
    {20, "Предупреждение о недогрузке"},
    {21, "Управление тормозом"},
    {22, "Состояние входа DI1"},
    {23, "Состояние входа DI2"},
    {24, "Область частоты достигнута"},
    {26, "Потеря обратной связи ПИД-регулятора"},
    {27, "Рабочее состояние (толчковый режим без вывода)"},
    {28, "Настройка связи (адрес 2007h)"},
    {30, "Насос №1 подключение к сети"},
    {31, "Насос №2 подключение к сети"},
    {32, "Насос №3 подключение к сети"},
    {33, "Насос №4 подключение к сети"},
    {34, "Насос №5 подключение к сети"},
    {35, "Насос №1 подключение к ПЧ (мастер насос)"},
    {36, "Насос №2 подключение к ПЧ (мастер насос)"},
    {37, "Насос №3 подключение к ПЧ (мастер насос)"},
    {38, "Насос №4 подключение к ПЧ (мастер насос)"},
    {39, "Насос №5 подключение к ПЧ (мастер насос)"},
    {40, "Ток превышает заданное значение"},
    {41, "Запуск режима пожаротушения"},
    {42, "Функция байпаса режима пожаротушения"},
};
constexpr std::span<const ValueRow> doRows{Zr48DoFunctionOptions};
constexpr auto zr48DoUpTo24 = doRows.subspan(0, 25);
constexpr auto zr48DoFrom30To36 = doRows.subspan(28, 7);

// A virtual output takes the same functions, value 0 aside.
constexpr ValueRow vdoFirstRow[] = {{0, "Внутренне коротко замкнут с DIx"}};

}  // namespace

int fillDoFunctionOptionsZr48() { return appendChoiceList({zr48DoUpTo24, zr48DoFrom30To36}); }
int fillDoFunctionOptionsZr48X() { return appendChoiceList({doRows}); }
int fillVdoFunctionOptionsZr48() { return appendChoiceList({vdoFirstRow, zr48DoUpTo24.subspan(1), zr48DoFrom30To36}); }
int fillVdoFunctionOptionsZr48X() { return appendChoiceList({vdoFirstRow, doRows.subspan(1)}); }

}  // namespace zr48
