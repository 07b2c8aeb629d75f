// The groups and subgroups of the design in append order; group 5 and subgroup 59 are Yv33's.

#include "devices/yv32/frame.h"

#include "devices/yv32/parameter_tables.h"

namespace {

constexpr Yv32GroupEntry groupRows[] = {
    {{"0", "Общие параметры"}, false},
    {{"1", "Управление двигателем"}, false},
    {{"2", "Дисплей и защита"}, false},
    {{"3", "Канал связи"}, false},
    {{"4", "Применение"}, false},
    {{"5", "Подъемный механизм"}, true},
    {{"6", "Двигатель 2"}, false},
};

constexpr Yv32SubgroupEntry subgroupRows[] = {
    {{"0", "00", "Основные функции"}, &yv32Subgroup00, false},
    {{"0", "01", "Выбор источника частоты"}, &yv32Subgroup01, false},
    {{"0", "02", "Управление запуском и остановом"}, &yv32Subgroup02, false},
    {{"0", "03", "Настройка кривой ускорения/замедления"}, &yv32Subgroup03, false},
    {{"0", "04", "Аналоговые и импульсные входы"}, &yv32Subgroup04, false},
    {{"0", "05", "Аналоговые и импульсные выходы"}, &yv32Subgroup05, false},
    {{"0", "06", "Многофункциональный цифровой вход"}, &yv32Subgroup06, false},
    {{"0", "07", "Цифровые выходы и реле"}, &yv32Subgroup07, false},
    {{"0", "08", "Настройка цифрового выхода"}, &yv32Subgroup08, false},
    {{"1", "10", "Настройки энкодера"}, &yv32Subgroup10, false},
    {{"1", "11", "Параметры двигателя 1"}, &yv32Subgroup11, false},
    {{"1", "12", "Параметры скалярного управления (V/f) двигателя 1"}, &yv32Subgroup12, false},
    {{"1", "13", "Векторное управление двигателем 1"}, &yv32Subgroup13, false},
    {{"1", "14", "Управление крутящим моментом"}, &yv32Subgroup14, false},
    {{"1", "16", "Управление энергосбережением "}, &yv32Subgroup16, false},
    {{"2", "20", "Пользовательские параметры"}, &yv32Subgroup20, false},
    {{"2", "21", "Кнопочная панель и дисплей"}, &yv32Subgroup21, false},
    {{"2", "22", "Конфигурация привода переменного тока"}, &yv32Subgroup22, false},
    {{"2", "23", "Настройка защитных функций преобразователя"}, &yv32Subgroup23, false},
    {{"2", "24", "Параметры защиты двигателя"}, &yv32Subgroup24, false},
    {{"2", "25", "Информация о текущей ошибке"}, &yv32Subgroup25, false},
    {{"2", "26", "Журнал ошибок"}, &yv32Subgroup26, false},
    {{"2", "27", "Монитор состояния"}, &yv32Subgroup27, false},
    {{"3", "30", "Параметры Modbus"}, &yv32Subgroup30, false},
    {{"3", "31", "Параметры CANopen"}, &yv32Subgroup31, false},
    {{"4", "40", "ПИД-регулятор"}, &yv32Subgroup40, false},
    {{"4", "41", "Режим сна"}, &yv32Subgroup41, false},
    {{"4", "42", "Простой ПЛК"}, &yv32Subgroup42, false},
    {{"4", "43", "Модули задержек"}, &yv32Subgroup43, false},
    {{"4", "44", "Компаратор и логическое устройство / контроллер"}, &yv32Subgroup44, false},
    {{"4", "45", "Многофункциональные счетчики"}, &yv32Subgroup45, false},
    {{"5", "59", "Параметры подъемного механизма"}, &yv32Subgroup59, true},
    {{"6", "60", "Основные параметры двигателя 2"}, &yv32Subgroup60, false},
    {{"6", "61", "Параметры двигателя 2"}, &yv32Subgroup61, false},
    {{"6", "62", "Параметры скалярного управления (V/f) двигателя 2"}, &yv32Subgroup62, false},
    {{"6", "63", "Параметры векторного управления двигателя 2"}, &yv32Subgroup63, false},
};

}  // namespace

constinit const std::span<const Yv32GroupEntry> yv32Groups = groupRows;
constinit const std::span<const Yv32SubgroupEntry> yv32Subgroups = subgroupRows;
