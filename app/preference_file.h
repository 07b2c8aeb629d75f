#pragma once
// The settings-style text format of Paramora.ini and of parameter files.
//
// As written: UTF-8 byte-order mark and an empty first line, then one line per item ("; comment",
// "[Group]", "Key = value"), each ended by CR LF, nothing else. As read: UTF-8 after a byte-order
// mark, Latin-1 without one; any line end; key and group names compared with ASCII letters folded.

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell/atomic_file.h"
#include "platform/files/regular_file.h"

class PreferenceWriter {
public:
    // Starts a new file in place of any plain file of that name; false when it cannot be created
    // or something else stands there (a FIFO, a device, a folder), and every later call is then
    // ignored.
    bool create(const std::string& path);
    void addComment(std::string_view text);
    // The group's line appears only once a comment or key follows; reopening a group that is
    // already written sends the next keys to its end.
    void openGroup(std::string_view name);
    // A key the current group already holds gets the new value in place.
    void writeText(std::string_view key, std::string_view value);
    void writeNumber(std::string_view key, std::int32_t value);
    // Writes the file in one piece. False when nothing or only part could be written; the file
    // that was there before then stays as it was.
    bool close();

    // The bytes close() would write.
    std::string contents() const;

private:
    enum class Kind { Comment, Group, Key };
    struct Item {
        Kind kind;
        std::string name;   // comment text, group name or key name
        std::string value;  // key value
    };
    using Position = std::list<Item>::iterator;

    void placePendingGroup();
    Position endOfGroup(Position group);

    shell::AtomicFile file_;
    std::list<Item> items_;
    Position currentGroup_ = items_.end();  // end(): keys before any group
    Position lastWritten_ = items_.end();
    std::string pendingGroup_;
    bool groupPending_ = false;
};

class PreferenceReader {
public:
    // Far beyond any file the program writes; a larger one is taken for something else.
    static constexpr std::size_t maxFileBytes = std::size_t{4} << 20;

    // Reads the whole file; false when it is missing, unreadable, not a plain file or larger than
    // maxFileBytes. Never blocks, and never changes the file.
    bool open(const std::string& path) { return read(path) == files::FileRead::done; }
    // The same, telling a file that was refused apart from one whose reading failed.
    files::FileRead read(const std::string& path);
    void close();
    bool isOpen() const { return open_; }

    // Group walk in file order: each nextGroup() makes the next group current.
    void startGroups();
    bool nextGroup();
    const std::string& groupName() const;

    // Key walk of the current group in file order, duplicates included.
    void startKeys();
    bool nextKey();
    const std::string& keyName() const;
    const std::string& keyValue() const;

    // Lookups in the current group; the first matching line wins. A missing key, or no current
    // group, gives the default. A present value that does not begin with a number reads as 0.
    std::string readText(std::string_view key, std::string_view defaultText) const;
    std::int32_t readNumber(std::string_view key, std::int32_t defaultValue) const;

    // The same rules on bytes already in memory (what open() reads).
    void parse(std::string_view bytes);

private:
    struct Key {
        std::string name;
        std::string value;
    };
    struct Group {
        std::string name;
        std::vector<Key> keys;
    };
    const Key* findKey(std::string_view key) const;

    std::vector<Group> groups_;  // key lines before the first group line belong to none and are dropped
    bool open_ = false;
    std::size_t nextGroup_ = 0;
    std::size_t currentGroup_ = 0;  // index + 1; 0 is no current group
    std::size_t nextKey_ = 0;
    std::size_t currentKey_ = 0;    // index + 1
};

// Names compared as the format compares them: A-Z and a-z folded, everything else exact.
bool preferenceNamesEqual(std::string_view a, std::string_view b);
