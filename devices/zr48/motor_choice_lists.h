#pragma once
// Choice lists that the settings of both motors offer word for word.

#include "description/loader_kit.h"

namespace zr48 {

inline constexpr ValueRow kMotorTypeChoices[] = {
    {0, "3-фаз. асинхронный двигатель"},
    {1, "Резерв"},
    {2, "1-фаз. асинхронный двигатель (без конденсатора)"},
    {3, "1-фаз. асинхронный двигатель (с конденсатором)"},
};

inline constexpr ValueRow kAutotuningChoices[] = {
    {0, "Отсутствие автонастройки"},
    {1, "Настройка без вращения"},
    {2, "Настройка с вращением"},
};

inline constexpr ValueRow kVfCurveChoices[] = {
    {0, "Линейная V/F"},
    {1, "Многоступенчатая V/F"},
    {2, "1.2 степень V/F"},
    {3, "1.4 степень V/F"},
    {4, "1.6 степень V/F"},
    {5, "1.8 степень V/F"},
    {6, "2.0 степень V/F"},
    {7, "V/F полное разделение"},
    {8, "V/F полуразделение"},
    {9, "1.2 инверсная кривая мощности V/F"},
    {10, "1.4 инверсная кривая мощности V/F"},
    {11, "1.6 инверсная кривая мощности V/F"},
    {12, "1.8 инверсная кривая мощности V/F"},
    {13, "2.0 инверсная кривая мощности V/F"},
};

inline constexpr ValueRow kSpeedTorqueControlChoices[] = {
    {0, "Управление по скорости"},
    {1, "Управление по вращающему моменту"},
};

}  // namespace zr48
