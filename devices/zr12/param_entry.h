#pragma once
// One parameter of a P-scheme description as constant data: its row and where its option rows
// come from.

#include <cstddef>
#include <cstdint>
#include <span>

#include "description/loader_kit.h"

// Option tables the P-scheme models share. A parameter names the table; each model decides how the
// table's rows reach the parameter (written out by its loader, or through one of its procedures).
enum class SharedTable : std::uint8_t {
    diFunctions,
    doFunctions,
    aoFunctions,
    aiDiFunctions,
    stagePropertyDigits,
    relayWordBDigits,
    relayWordCDigits,
    faultTypes,
    userFunctions,
};
inline constexpr std::size_t sharedTableCount = 9;

struct OptionRef {
    enum class Kind : std::uint8_t { none, values, bits, decDigits, hexDigits, shared };

    Kind kind = Kind::none;
    std::span<const ValueRow> valueRows{};
    std::span<const BitRow> bitRows{};
    std::span<const DigitRow> digitRows{};
    SharedTable table = SharedTable::diFunctions;

    constexpr OptionRef() = default;
    constexpr OptionRef(SharedTable sharedTable) : kind(Kind::shared), table(sharedTable) {}
};

constexpr OptionRef values(std::span<const ValueRow> rows)
{
    OptionRef ref;
    ref.kind = OptionRef::Kind::values;
    ref.valueRows = rows;
    return ref;
}

constexpr OptionRef bits(std::span<const BitRow> rows)
{
    OptionRef ref;
    ref.kind = OptionRef::Kind::bits;
    ref.bitRows = rows;
    return ref;
}

constexpr OptionRef decDigits(std::span<const DigitRow> rows)
{
    OptionRef ref;
    ref.kind = OptionRef::Kind::decDigits;
    ref.digitRows = rows;
    return ref;
}

constexpr OptionRef hexDigits(std::span<const DigitRow> rows)
{
    OptionRef ref;
    ref.kind = OptionRef::Kind::hexDigits;
    ref.digitRows = rows;
    return ref;
}

// The row holds the finished field values; a procedure that stores some of them again stores the same.
struct ParamEntry {
    ParamRow row;
    OptionRef options{};
};

struct SubgroupParams {
    const char* code;
    std::span<const ParamEntry> entries;
};
