#pragma once
// Maps keyed by a row number or an optionKey. Keys are the numbers themselves (the decimal text
// of a number and the number identify each other); entries are visited in ascending key order
// so that read all and write all follow the table.

#include <cstddef>
#include <cstdint>
#include <map>

class TextKeyMap {
public:
    // A missing key reads as 0 and adds no entry.
    std::int32_t read(std::int32_t key) const
    {
        const auto it = entries_.find(key);
        return it == entries_.end() ? 0 : it->second;
    }
    bool contains(std::int32_t key) const { return entries_.count(key) != 0; }
    void write(std::int32_t key, std::int32_t value) { entries_[key] = value; }
    void clear() { entries_.clear(); }
    std::size_t count() const { return entries_.size(); }

    // Visiting: for (const auto& [key, value] : map) ...
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

private:
    std::map<std::int32_t, std::int32_t> entries_;
};
