#pragma once
// What a P-scheme description appends before its first parameter.

#include "description/loader_kit.h"

// Identification 18000 in register 0x5504 (the hardware version reading).
inline constexpr LinkDefaults zr12LinkDefaults = {1, 9600, 8, 2.0f, 0, 0x5504, tableHoldingRegisters, 18000};

// Device error replies name register 0xFF01 and one of these codes.
inline constexpr ErrorRow zr12ErrorRows[] = {
    {errorKindDeviceError, 0xFF01, 2, 0x0001, "Недействительный адрес"},
    {errorKindDeviceError, 0xFF01, 2, 0x0002, "Ошибка проверки CRC"},
    {errorKindDeviceError, 0xFF01, 2, 0x0003, "Ошибка команды считывания и записи"},
    {errorKindDeviceError, 0xFF01, 2, 0x0004, "Ошибка пароля"},
    {errorKindDeviceError, 0xFF01, 2, 0x0005, "Недействительные параметры"},
    {errorKindDeviceError, 0xFF01, 2, 0x0006, "Недействительные изменения параметров"},
    {errorKindDeviceError, 0xFF01, 2, 0x0007, "Блокировка  системы"},
    {errorKindDeviceError, 0xFF01, 2, 0x0008, "Сохранение параметров"},
};

inline constexpr GroupRow zr12Groups[] = {
    {"P0", "Базовые функции"},
    {"P1", "Параметры управления двигателем"},
    {"P2", "Входы и выходы"},
    {"P3", "Программируемые функции"},
    {"P4", "ПИД и настройки связи"},
    {"P5", "Дисплей пульта управления"},
    {"P6", "Отображения неисправностей"},
    {"P7", "Функции пользователя"},
    {"P8", "Функции производителя"},
    {"P9", "Мониторинг состояния"},
};

inline constexpr SubgroupRow zr12Subgroups[] = {
    {"P0", "P0.0", "Базовая группа"},
    {"P0", "P0.1", "Дополнительная группа"},
    {"P1", "P1.0", "Базовая группа"},
    {"P1", "P1.1", "Дополнительная группа"},
    {"P2", "P2.0", "Базовая группа"},
    {"P2", "P2.1", "Дополнительная группа"},
    {"P2", "P2.2", "Вспомогательная группа"},
    {"P3", "P3.0", "Базовая группа"},
    {"P3", "P3.1", "Дополнительная группа"},
    {"P3", "P3.2", "Встроенный PLC"},
    {"P4", "P4.0", "ПИД регулятор"},
    {"P4", "P4.1", "Настройка связи"},
    {"P5", "P5.0", "Базовая группа"},
    {"P5", "P5.1", "Дополнительная группа"},
    {"P6", "P6.0", "Отображение неисправностей"},
    {"P6", "P6.1", "Управление защитой"},
    {"P7", "P7.0", "Базовая группа"},
    {"P8", "P8.0", "Функции производителя"},
    {"P8", "P8.1", "Параметры калибровки"},
    {"P9", "P9.0", "Монитор состояния"},
};
