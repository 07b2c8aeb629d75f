#pragma once
// The digit tables of the P-scheme drives: a simple-PLC stage property word and the control
// words B and C of an intermediate relay.

#include <array>

#include "description/loader_kit.h"
#include "devices/zr12/function_options.h"

inline constexpr DigitRow StagePropertyDigits[] = {
    {1, 0, "Время ускорения и замедления 1", "Выбор врем. ускор. и замедл. (ступ. команда не действует)"},
    {1, 1, "Время ускорения и замедления 2", "Выбор врем. ускор. и замедл. (ступ. команда не действует)"},
    {1, 2, "Время ускорения и замедления 3", "Выбор врем. ускор. и замедл. (ступ. команда не действует)"},
    {1, 3, "Время ускорения и замедления 4", "Выбор врем. ускор. и замедл. (ступ. команда не действует)"},
    {10, 0, " Является  многоступенчатой командой этапа", "Выбор источника частоты (ступ. команда не действует)"},
    {10, 1, "Клавиатурный потенциометр", "Выбор источника частоты (ступ. команда не действует)"},
    {10, 2, "Частота задается с клавиатуры", "Выбор источника частоты (ступ. команда не действует)"},
    {10, 3, "Аналоговый вход VF1", "Выбор источника частоты (ступ. команда не действует)"},
    {10, 4, "Аналоговый вход VF2", "Выбор источника частоты (ступ. команда не действует)"},
    {10, 5, "Импульсный вход (DI6)", "Выбор источника частоты (ступ. команда не действует)"},
    {10, 6, "Задается ПИД", "Выбор источника частоты (ступ. команда не действует)"},
    {10, 7, "Результат операции 1", "Выбор источника частоты (ступ. команда не действует)"},
    {10, 8, "Результат операции 2", "Выбор источника частоты (ступ. команда не действует)"},
    {10, 9, "Результат операции 3", "Выбор источника частоты (ступ. команда не действует)"},
    {10, 10, "Результат операции 4", "Выбор источника частоты (ступ. команда не действует)"},
    {100, 0, "Прямое", "Направление работы"},
    {100, 1, "Обратное", "Направление работы"},
};

namespace relay_word_detail {

inline constexpr ValueRow logicFunctions[] = {
    {0, "Вход 1"},
    {1, "НЕ вход 1"},
    {2, "И вход 1 и вход 2"},
    {3, "ИЛИ вход 1 и вход 2"},
    {4, "ИСКЛЮЧАЮЩЕЕ ИЛИ вход 1 и вход 2"},
    {5, "Установка вход 1 действует, установка вход 2 не действует"},
    {6, "Уст. перед. фронта вход 1 действует, уст. перед. фронта входа 2 не действует"},
    {7, "Возврат эффективного сигнала переднего фронта входа 1"},
    {8, "Перед. фронт входа 1, вых. одной ширины – импульс. сигнал 200 мс"},
    {9, "И переднего фронта, вход 1 и вход 2"},
};

// Inputs 0..19 of a relay word: terminals, relays and analog inputs.
inline constexpr ValueRow directInputs[] = {
    {0, "DI1"},
    {1, "DI2"},
    {2, "DI3"},
    {3, "DI4"},
    {4, "DI5"},
    {5, "DI6"},
    {6, "DI7"},
    {7, "DI8"},
    {8, "DI9"},
    {9, "DI10"},
    {10, "M1"},
    {11, "M2"},
    {12, "M3"},
    {13, "M4"},
    {14, "M5"},
    {15, "VF1"},
    {16, "VF2"},
    {17, "Резерв"},
    {18, "Резерв"},
    {19, "Резерв"},
};

}  // namespace relay_word_detail

// Word B: a logic function of two inputs. Input 1 takes the direct inputs and then every output
// function as 20..79; input 2 the direct inputs and the output functions 0..39 as 20..59.
inline constexpr std::array<DigitRow, 150> RelayWordBDigits = [] {
    using namespace relay_word_detail;
    std::array<DigitRow, 150> rows{};
    std::size_t n = 0;
    auto add = [&](std::int32_t mask, const char* field, std::uint16_t value, const char* text) {
        rows[n++] = DigitRow{mask, value, text, field};
    };
    for (const ValueRow& row : logicFunctions)
        add(1, "Логика управления", row.value, row.text);
    for (const ValueRow& row : directInputs)
        add(110, "Вход 1", row.value, row.text);
    for (const ValueRow& row : Zr12DoFunctionOptions)
        add(110, "Вход 1", static_cast<std::uint16_t>(20 + row.value), row.text);
    for (const ValueRow& row : directInputs)
        add(11000, "Вход 2", row.value, row.text);
    for (std::size_t i = 0; i < 40; ++i)
        add(11000, "Вход 2", static_cast<std::uint16_t>(20 + i), Zr12DoFunctionOptions[i].text);
    return rows;
}();

// Word C: the digital-input function 0..59 in the two lower digits and the digital-output function
// 0..59 in the two upper ones, whose value 1 has its own text.
inline constexpr std::array<DigitRow, 120> RelayWordCDigits = [] {
    std::array<DigitRow, 120> rows{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < 60; ++i)
        rows[n++] = DigitRow{11, Zr12DiFunctionOptions[i].value, Zr12DiFunctionOptions[i].text,
                             "Соотв. функция дискретного входа"};
    for (std::size_t i = 0; i < 60; ++i)
        rows[n++] = DigitRow{1100, Zr12DoFunctionOptions[i].value,
                             i == 1 ? "Прямое вращение" : Zr12DoFunctionOptions[i].text,
                             "Соотв. функция дискретного выхода"};
    return rows;
}();
