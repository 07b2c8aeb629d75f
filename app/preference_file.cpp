#include "app/preference_file.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view lineEnd = "\r\n";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char foldedAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string latin1ToUtf8(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

std::string_view trimLeadingBlanks(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return text.substr(i);
}

std::string_view trimTrailingBlanks(std::string_view text)
{
    std::size_t n = text.size();
    while (n > 0 && isBlank(text[n - 1]))
        --n;
    return text.substr(0, n);
}

// Blanks, an optional sign, then decimal digits; anything else reads as 0. A number past the 32-bit
// range gives the range's nearer end.
std::int32_t leadingInteger(std::string_view text)
{
    text = trimLeadingBlanks(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::int64_t ceiling = std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), ceiling);
    return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

bool preferenceNamesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldedAscii(a[i]) != foldedAscii(b[i]))
            return false;
    return true;
}

bool PreferenceWriter::create(const std::string& path)
{
    items_.clear();
    currentGroup_ = items_.end();
    lastWritten_ = items_.end();
    groupPending_ = false;
    pendingGroup_.clear();
    // The atomic file refuses a FIFO, a device or a folder in the file's place, or where a link
    // there points, so none is ever replaced by a settings-style file.
    return file_.open(path);
}

void PreferenceWriter::placePendingGroup()
{
    if (!groupPending_)
        return;
    items_.push_back({Kind::Group, pendingGroup_, {}});
    currentGroup_ = std::prev(items_.end());
    lastWritten_ = currentGroup_;
    groupPending_ = false;
}

PreferenceWriter::Position PreferenceWriter::endOfGroup(Position group)
{
    Position it = group == items_.end() ? items_.begin() : std::next(group);
    while (it != items_.end() && it->kind != Kind::Group)
        ++it;
    return it;
}

void PreferenceWriter::addComment(std::string_view text)
{
    if (!file_.isOpen())
        return;
    placePendingGroup();
    const Position at = lastWritten_ == items_.end() ? items_.end() : std::next(lastWritten_);
    lastWritten_ = items_.insert(at, {Kind::Comment, std::string(text), {}});
}

void PreferenceWriter::openGroup(std::string_view name)
{
    if (!file_.isOpen())
        return;
    groupPending_ = false;
    for (Position it = items_.begin(); it != items_.end(); ++it) {
        if (it->kind == Kind::Group && preferenceNamesEqual(it->name, name)) {
            currentGroup_ = it;
            return;
        }
    }
    pendingGroup_ = std::string(name);
    groupPending_ = true;
}

void PreferenceWriter::writeText(std::string_view key, std::string_view value)
{
    if (!file_.isOpen())
        return;
    placePendingGroup();
    const Position end = endOfGroup(currentGroup_);
    for (Position it = currentGroup_ == items_.end() ? items_.begin() : std::next(currentGroup_); it != end; ++it) {
        if (it->kind == Kind::Key && preferenceNamesEqual(it->name, key)) {
            it->value = std::string(value);
            lastWritten_ = it;
            return;
        }
    }
    lastWritten_ = items_.insert(end, {Kind::Key, std::string(key), std::string(value)});
}

void PreferenceWriter::writeNumber(std::string_view key, std::int32_t value) { writeText(key, std::to_string(value)); }

std::string PreferenceWriter::contents() const
{
    std::string bytes(byteOrderMark);
    bytes += lineEnd;
    for (const Item& item : items_) {
        switch (item.kind) {
        case Kind::Comment: bytes += "; " + item.name; break;
        case Kind::Group: bytes += "[" + item.name + "]"; break;
        case Kind::Key: bytes += item.name + " = " + item.value; break;
        }
        bytes += lineEnd;
    }
    return bytes;
}

bool PreferenceWriter::close()
{
    if (!file_.isOpen())
        return false;
    const bool written = file_.write(contents()) && file_.commit();
    items_.clear();
    currentGroup_ = items_.end();
    lastWritten_ = items_.end();
    groupPending_ = false;
    return written;
}

files::FileRead PreferenceReader::read(const std::string& path)
{
    close();
    std::string bytes;
    const files::FileRead result = files::readRegularFile(path, maxFileBytes, bytes);
    if (result == files::FileRead::done)
        parse(bytes);
    return result;
}

void PreferenceReader::parse(std::string_view bytes)
{
    close();
    const std::string text = bytes.starts_with(byteOrderMark) ? std::string(bytes.substr(byteOrderMark.size()))
                                                              : latin1ToUtf8(bytes);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line = trimLeadingBlanks(std::string_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::string_view rest = line.substr(1);
            groups_.push_back({std::string(rest.substr(0, rest.find(']'))), {}});
            continue;
        }
        if (groups_.empty())
            continue;
        const std::size_t equals = line.find('=');
        Key key;
        key.name = std::string(trimTrailingBlanks(line.substr(0, equals)));
        if (equals != std::string_view::npos)
            key.value = std::string(trimLeadingBlanks(line.substr(equals + 1)));
        groups_.back().keys.push_back(std::move(key));
    }
    open_ = true;
}

void PreferenceReader::close()
{
    groups_.clear();
    open_ = false;
    nextGroup_ = 0;
    currentGroup_ = 0;
    nextKey_ = 0;
    currentKey_ = 0;
}

void PreferenceReader::startGroups()
{
    nextGroup_ = 0;
    currentGroup_ = 0;
}

bool PreferenceReader::nextGroup()
{
    if (nextGroup_ >= groups_.size())
        return false;
    currentGroup_ = ++nextGroup_;
    startKeys();
    return true;
}

const std::string& PreferenceReader::groupName() const
{
    static const std::string none;
    return currentGroup_ == 0 ? none : groups_[currentGroup_ - 1].name;
}

void PreferenceReader::startKeys()
{
    nextKey_ = 0;
    currentKey_ = 0;
}

bool PreferenceReader::nextKey()
{
    if (currentGroup_ == 0 || nextKey_ >= groups_[currentGroup_ - 1].keys.size())
        return false;
    currentKey_ = ++nextKey_;
    return true;
}

const std::string& PreferenceReader::keyName() const
{
    static const std::string none;
    return currentKey_ == 0 ? none : groups_[currentGroup_ - 1].keys[currentKey_ - 1].name;
}

const std::string& PreferenceReader::keyValue() const
{
    static const std::string none;
    return currentKey_ == 0 ? none : groups_[currentGroup_ - 1].keys[currentKey_ - 1].value;
}

const PreferenceReader::Key* PreferenceReader::findKey(std::string_view key) const
{
    if (currentGroup_ == 0)
        return nullptr;
    for (const Key& candidate : groups_[currentGroup_ - 1].keys)
        if (preferenceNamesEqual(candidate.name, key))
            return &candidate;
    return nullptr;
}

std::string PreferenceReader::readText(std::string_view key, std::string_view defaultText) const
{
    const Key* found = findKey(key);
    return found ? found->value : std::string(defaultText);
}

std::int32_t PreferenceReader::readNumber(std::string_view key, std::int32_t defaultValue) const
{
    const Key* found = findKey(key);
    return found ? leadingInteger(found->value) : defaultValue;
}
