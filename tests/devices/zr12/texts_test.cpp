#include <gtest/gtest.h>

#include <string>

#include "description/description_store.h"
#include "devices/zr12/loaders.h"
#include "tests/support/description_checks.h"

using namespace description_checks;

namespace {

// Expected texts spell the letters that matter as escapes: \u0410 А, \u0412 В, \u041C М, \u0420 Р,
// \u0421 С, \u0422 Т are Cyrillic; plain A, B, C, M, O, P, T are Latin.
struct Spelling {
    std::string actual;
    std::u32string expected;
};

std::string valueRow(const char* code, std::uint16_t value) { return valueText(code, value); }

const DigitOption& decRow(const char* code, std::size_t index)
{
    return decDigitOptionsOf(param(code).optionKey)[index];
}

const DigitOption& hexRow(const char* code, std::size_t index)
{
    return hexDigitOptionsOf(param(code).optionKey)[index];
}

std::string bitText(const char* code, std::size_t bit) { return bitOptionsOf(param(code).optionKey)[bit].text; }

class Zr12Texts : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearDeviceDescription();
        loadDescriptionZr12();
    }
};

TEST_F(Zr12Texts, LookAlikeLettersStayAsWritten)
{
    const Spelling spellings[] = {
        {valueRow("P0.0.01", 0), U"Базовый режим (приставка P)"},
        {valueRow("P0.0.01", 2), U"Калибровочный режим (приставка \u0421)"},
        {valueRow("P0.1.03", 0), U"Цифровой (\u04200.0.08)"},
        {param("P0.0.04").name, U"Выбор источника частоты \u0410"},
        {param("P0.1.01").name, U"Выбор источника частоты \u0412"},
        {valueRow("P0.1.00", 2), U"Частота \u0410+\u0412"},
        {valueRow("P1.1.07", 0), U"Цифровой (\u04201.1.08)"},
        {valueRow("P1.1.14", 0), U"Цифровой (\u04201.1.15)"},
        {valueRow("P4.0.00", 0), U"Цифровой (\u04204.0.01)"},
        {valueRow("P3.1.01", 0), U"Цифровой (P3.1.02)"},
        {param("P2.0.29").name, U"Выбор функции реле T1"},
        {decRow("P2.1.22", 2).fieldName, U"Выходное реле \u04221"},
        {valueRow("P2.0.00", 52), U"Вход фазы A энкодера"},
        {valueRow("P2.0.00", 53), U"Вход фазы \u0412 энкодера"},
        {valueRow("P2.0.29", 39), U"Завершение этапа \u0420LC"},
        {valueRow("P2.0.29", 11), U"Выполнение цикла PLC"},
        {valueRow("P2.0.29", 50), U"Синхронное промежуточное реле M1"},
        {param("P3.2.02").name, U"Слово \u0412 управления реле M1 с задержкой по времени"},
        {param("P3.2.03").name, U"Слово \u0412 управления реле \u041C2 с задержкой по времени"},
        {param("P3.2.07").name, U"Слово C управления реле M1 с задержкой по времени"},
        {param("P3.2.12").name, U"Время задержки подключения \u041C1, с"},
        {param("P3.2.28").name, U"Вход \u0410 операции 1"},
        {param("P3.2.29").name, U"Вход B операции 1"},
        {param("P3.2.34").name, U"Вход A операции 3"},
        {decRow("P3.2.29", 0).fieldName, U"Адрес входа \u0412 операции 1"},
        {param("P9.0.25").name, U"Частота источника частоты A, Гц"},
        {param("P9.0.26").name, U"Частота источника частоты B, Гц"},
        {decRow("P3.2.28", 26).valueText, U"P9.0.25 Частота источника частоты A"},
        {bitText("P5.0.03", 9), U"Частота источника \u0410 (Гц)"},
        {bitText("P9.0.08", 0), U"YO"},
        {bitText("P9.0.08", 3), U"Y01"},
        {bitText("P9.0.08", 4), U"T02"},
        {param("P5.1.03").name, U"Температура модуля, \u00B0\u0421"},
        {param("P2.2.21").name, U"Значение установки температуры модуля, \u00B0\u0421"},
        {param("P1.0.11").name, U"Режим отслеживания скорости вращенияа"},
    };
    for (const Spelling& s : spellings)
        EXPECT_EQ(codePoints(s.actual), s.expected) << s.actual;
}

TEST_F(Zr12Texts, LeadingAndDoubleBlanks)
{
    const Spelling spellings[] = {
        {valueRow("P0.1.00", 5), U" Минимальное значение \u0410, \u0412"},
        {valueRow("P2.0.00", 7), U" Вход \u00ABМеньше\u00BB"},
        {valueRow("P2.0.00", 40), U" Приостановка интегрирования ПИД"},
        {valueRow("P2.1.24", 7), U" Вход \u00ABМеньше\u00BB"},
        {valueRow("P2.0.29", 13), U" Ограничение частоты"},
        {valueRow("P2.0.33", 1), U" Заданная частота"},
        {hexRow("P3.0.35", 4).valueText, U" Является  многоступенчатой командой этапа"},
        {decRow("P3.2.02", 43).valueText, U" Ограничение частоты"},
        {decRow("P6.1.09", 0).fieldName, U"Падение  нагрузки двигателя"},
        {deviceErrorCodes[6].text, U"Блокировка  системы"},
    };
    for (const Spelling& s : spellings)
        EXPECT_EQ(codePoints(s.actual), s.expected) << s.actual;
}

TEST_F(Zr12Texts, DashesQuotesAndSigns)
{
    const Spelling spellings[] = {
        {param("P4.0.14").name, U"Переключение ПИД \u2013 управление отклонением 1, %"},
        {hexRow("P3.2.27", 0).fieldName, U"Операция 1 (A, B, C, D, E \u2013 адресные номера параметров)"},
        {hexRow("P3.2.27", 0).valueText, U"Согласно операции умножения коэффициент настройки \u2013 не дробное число"},
        {decRow("P3.2.02", 8).valueText, U"Перед. фронт входа 1, вых. одной ширины \u2013 импульс. сигнал 200 мс"},
        {valueRow("P2.0.00", 6), U"Вход \u00ABБольше\u00BB"},
        {decRow("P5.0.16", 5).valueText,
         U"Опред. установл. знач. P5.0.15, 0.0000\u00F70.0099 соответствует P9.0.00\u00F7P9.0.9"},
    };
    for (const Spelling& s : spellings)
        EXPECT_EQ(codePoints(s.actual), s.expected) << s.actual;
}

}  // namespace
