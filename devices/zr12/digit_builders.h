#pragma once
// Compile-time helpers for digit tables given as fields that share their rows.

#include <array>
#include <cstddef>
#include <cstdint>

#include "description/loader_kit.h"

struct DigitField {
    std::int32_t mask;
    const char* name;
};

template <std::size_t N>
constexpr std::array<DigitRow, N> digitField(std::int32_t mask, const char* name, const ValueRow (&rows)[N])
{
    std::array<DigitRow, N> out{};
    for (std::size_t i = 0; i < N; ++i)
        out[i] = DigitRow{mask, rows[i].value, rows[i].text, name};
    return out;
}

template <std::size_t A, std::size_t B>
constexpr std::array<DigitRow, A + B> joinRows(const std::array<DigitRow, A>& first, const std::array<DigitRow, B>& second)
{
    std::array<DigitRow, A + B> out{};
    for (std::size_t i = 0; i < A; ++i)
        out[i] = first[i];
    for (std::size_t i = 0; i < B; ++i)
        out[A + i] = second[i];
    return out;
}

// Every field gets the same rows, field after field.
template <std::size_t F, std::size_t V>
constexpr std::array<DigitRow, F * V> sameRowsPerField(const DigitField (&fields)[F], const ValueRow (&rows)[V])
{
    std::array<DigitRow, F * V> out{};
    for (std::size_t f = 0; f < F; ++f)
        for (std::size_t v = 0; v < V; ++v)
            out[f * V + v] = DigitRow{fields[f].mask, rows[v].value, rows[v].text, fields[f].name};
    return out;
}
