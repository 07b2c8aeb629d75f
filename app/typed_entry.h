#pragma once
// What the return key makes of a number typed into an in-place field: the entry written with the
// parameter's decimals, kept within its limits and within what one register can hold.

#include <cstdint>
#include <string>
#include <string_view>

struct Parameter;

// Number of decimals a parameter is typed and shown with.
std::uint16_t decimalsOf(const Parameter& parameter);

// The typed text read as a decimal number and written with the given decimals, rounded from its
// double value ("2.675" with 2 gives "2.67"); empty, "-" and "." read as 0; zero has no sign. The
// point is "." whatever the desktop's language.
std::string normaliseEntry(std::string_view typed, std::uint16_t decimals);

struct EntryLimit {
    bool present = false;
    std::int64_t value = 0;  // in units of the edited parameter's last decimal
    std::string text;        // as the field shows it when the entry is clamped to it
};

// A limit of the edited parameter: a plain value text, or another parameter's code standing for
// that parameter's current value rescaled to the edited parameter's decimals. "----" is no limit.
EntryLimit resolveEntryLimit(std::string_view limitText, const Parameter& edited);

// The text the field ends with: the entry, or the limit it passed. The register's own range
// (signed or unsigned 16 bits) bounds the entry as well.
std::string clampedEntry(const std::string& entry, const Parameter& edited);

// A value in one parameter's decimals rescaled to another's (rounded toward zero when it loses digits).
std::int64_t rescale(std::int64_t value, std::uint16_t fromDecimals, std::uint16_t toDecimals);
