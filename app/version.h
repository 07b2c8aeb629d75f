#pragma once

inline constexpr const char* programVersion = "1.1.17.0";
