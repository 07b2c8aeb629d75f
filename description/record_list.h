#pragma once
// An ordered list of records with a current element, the shape every description list has.
// Appends land after the current element; walks step from the start; a walk nested in another
// walk of the same list brackets itself with savePosition/restorePosition.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

template <class Record>
class RecordList {
public:
    // Zero-filled record inserted after the current element (at the front when there is none),
    // which it then becomes. The reference is valid until the next append or clear.
    Record& append()
    {
        const std::size_t at = hasCurrent() ? static_cast<std::size_t>(current_) + 1 : 0;
        records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(at), Record{});
        current_ = static_cast<std::ptrdiff_t>(at);
        ++version_;
        return records_[at];
    }

    void reset() { current_ = -1; }

    // Makes the next record current and returns it; nullptr (and no current element) after the last.
    Record* step()
    {
        if (current_ + 1 >= static_cast<std::ptrdiff_t>(records_.size())) {
            current_ = -1;
            return nullptr;
        }
        ++current_;
        return &records_[static_cast<std::size_t>(current_)];
    }

    Record* current() { return hasCurrent() ? &records_[static_cast<std::size_t>(current_)] : nullptr; }
    bool hasCurrent() const { return current_ >= 0; }

    void savePosition() { saved_.push_back(current_); }
    void restorePosition()
    {
        if (saved_.empty())
            return;
        current_ = saved_.back();
        saved_.pop_back();
        if (current_ >= static_cast<std::ptrdiff_t>(records_.size()))
            current_ = -1;
    }

    void clear()
    {
        records_.clear();
        saved_.clear();
        current_ = -1;
        ++version_;
    }

    // Stable ascending sort by a signed 32-bit field; the current element is left unset.
    template <class Field>
    void sortBy(Field Record::*field)
    {
        std::stable_sort(records_.begin(), records_.end(), [field](const Record& a, const Record& b) {
            return static_cast<std::int32_t>(a.*field) < static_cast<std::int32_t>(b.*field);
        });
        current_ = -1;
        ++version_;
    }

    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    Record& operator[](std::size_t i) { return records_[i]; }
    const Record& operator[](std::size_t i) const { return records_[i]; }
    auto begin() { return records_.begin(); }
    auto end() { return records_.end(); }
    auto begin() const { return records_.begin(); }
    auto end() const { return records_.end(); }
    const std::vector<Record>& records() const { return records_; }

    // Changes whenever records are added, removed or reordered; indexes use it to know they are stale.
    std::uint64_t version() const { return version_; }

private:
    std::vector<Record> records_;
    std::ptrdiff_t current_ = -1;
    std::vector<std::ptrdiff_t> saved_;
    std::uint64_t version_ = 0;
};
