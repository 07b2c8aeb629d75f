#include "devices/zr48/loaders.h"

#include <cstddef>
#include <cstdint>
#include <span>

#include "description/loader_kit.h"
#include "devices/zr48/option_procedures.h"
#include "devices/zr48/parameter_walk.h"

namespace {

constexpr LinkDefaults zr48LinkDefaults{
    .deviceAddress = 1,
    .baudRate = 9600,
    .dataBits = 8,
    .stopBits = 2.0f,
    .parityCode = 0,
    .identRegister = 0x0017,  // F00.23, the firmware version
    .registerTable = tableHoldingRegisters,
    .identValue = 9261,
};
constexpr std::uint16_t zr48xIdentValue = 9562;

// Standard Modbus exception replies only; the drive has no error texts of its own.
constexpr ErrorRow zr48ErrorRows[] = {{errorKindException, 0, 0, 0, ""}};

constexpr GroupRow zr48Groups[] = {
    {"1", "Системные параметры"},
    {"2", "Базовые параметрым"},
    {"3", "Входные и выходные выводы"},
    {"4", "Параметры управления и двигателя"},
    {"5", "Параметры защиты"},
    {"6", "Параметры применения"},
    {"7", "Коммуникационные параметры"},
    {"8", "Параметры клавиатуры и отображение параметров клавиатуры"},
    {"9", "Отображение параметров, определяемых пользователем"},
    {"10", "Виртуальные функции"},
    {"11", "Параметры контроля"},
    {"12", "Насосоные функции"},
};

constexpr SubgroupRow zr48Subgroups[] = {
    {"1", "F00", "Системные параметры"},
    {"2", "F01", "Команды частоты"},
    {"2", "F02", "Управление запуском/остановом"},
    {"2", "F03", "Параметры ускорения/замедления"},
    {"3", "F04", "Цифровые входы"},
    {"3", "F05", "Цифровые выходы"},
    {"3", "F06", "Аналоговые и импульсные входы"},
    {"3", "F07", "Аналоговые и импульсные выходы"},
    {"4", "F08", "Параметры двигателя 1"},
    {"4", "F09", "Параметры скалярного управления (V/f) двигателя 1"},
    {"4", "F10", "Параметры векторного управления двигателем 1"},
    {"5", "F11", "Параметры защиты"},
    {"6", "F12", "Многоступенчатая и простая ПЛК функция"},
    {"6", "F13", "Процесс ПИД"},
    {"6", "F14", "Частота колебаний, фиксированная длина, пробуждение и счет"},
    {"7", "F15", "Коммуникационные параметры"},
    {"8", "F16", "Параметры клавиатуры и отображение параметров клавиатуры"},
    {"9", "F17", "Отображение параметров, определяемых пользователем"},
    {"10", "F22", "Виртуальные клеммы IO"},
    {"11", "U00", "Контроль состояния"},
    {"11", "U01", "Регистрация неисправностей"},
    {"12", "H00", "Управление группой насосов"},
};

constexpr const zr48::ParamTable* zr48Order[] = {
    &zr48::tableF00, &zr48::tableF01, &zr48::tableF02, &zr48::tableF03,
    &zr48::tableF04, &zr48::tableF05, &zr48::tableF06, &zr48::tableF07,
    &zr48::tableF08, &zr48::tableF09, &zr48::tableF10,
    &zr48::tableF11, &zr48::tableF12, &zr48::tableF13, &zr48::tableF14,
    &zr48::tableF15, &zr48::tableF16, &zr48::tableF17, &zr48::tableF22,
    &zr48::tableU00, &zr48::tableU01, &zr48::tableH00,
};

// Zr48X puts motor 2 in a group "10" of its own, so the last three groups move up by one and the
// pump group adds the fire mode to its names. Groups "1" to "9" and subgroups F00 to F17 are shared.
constexpr std::size_t sharedGroupCount = 9;
constexpr std::size_t sharedSubgroupCount = 18;

constexpr GroupRow zr48xLaterGroups[] = {
    {"10", "Параметры управления и двигателя 2"},
    {"11", zr48Groups[9].name},
    {"12", zr48Groups[10].name},
    {"13", "Насосоные функции, мультирежим и пожарные функции"},
};

constexpr SubgroupRow zr48xLaterSubgroups[] = {
    {"10", "F18", "Параметры двигателя 2"},
    {"10", "F19", "Параметры V/F управления двигателем 2"},
    {"10", "F20", "Параметры векторного управления двигателем 2"},
    {"11", zr48Subgroups[18].code, zr48Subgroups[18].name},
    {"12", zr48Subgroups[19].code, zr48Subgroups[19].name},
    {"12", zr48Subgroups[20].code, zr48Subgroups[20].name},
    {"13", zr48Subgroups[21].code, "Управление группой насосов, пожарный режим"},
};

}  // namespace

int loadDescriptionZr48()
{
    beginDescription("ПЧ Tovik Zr48");
    appendLinkDefaults(zr48LinkDefaults);
    appendErrorRows(zr48ErrorRows);
    appendGroups(zr48Groups);
    appendSubgroups(zr48Subgroups);
    zr48::appendParameterTables({.order = zr48Order});
    return 0;
}

int loadDescriptionZr48X()
{
    beginDescription("ПЧ Tovik Zr48X");
    LinkDefaults linkDefaults = zr48LinkDefaults;
    linkDefaults.identValue = zr48xIdentValue;
    appendLinkDefaults(linkDefaults);
    appendErrorRows(zr48ErrorRows);
    appendGroups(std::span(zr48Groups).first(sharedGroupCount));
    appendGroups(zr48xLaterGroups);
    appendSubgroups(std::span(zr48Subgroups).first(sharedSubgroupCount));
    appendSubgroups(zr48xLaterSubgroups);
    zr48::appendParameterTables(zr48::zr48xVariant);
    return 0;
}
