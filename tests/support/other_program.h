#pragma once
// Another program, run apart from this process as a user would run it: a child with none of this
// process's descriptors (copies of the tests' terminals would make them held), as root or, through
// setpriv, as the ordinary user uid 65534. A folder that user may reach, for the files it needs:
// the project's own folders may be closed to it (a clone in /root, mode 0700).

#include <string>
#include <vector>

#include <sys/types.h>

class OtherProgram {
public:
    // Starts `program` (its name is looked up in PATH); with `asNobody`, as uid 65534.
    explicit OtherProgram(const std::vector<std::string>& program, bool asNobody = false);
    // Ends it (SIGKILL) unless it has ended already.
    ~OtherProgram();
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    bool started() const { return child_ > 0; }
    pid_t pid() const { return child_; }

    // Runs `program` to its end; what it printed on its standard output.
    static std::string output(const std::vector<std::string>& program, bool asNobody = false);

private:
    OtherProgram(const std::vector<std::string>& program, bool asNobody, int standardOutput);

    pid_t child_ = -1;
};

// A folder under /tmp that uid 65534 may enter and read, made fresh and removed with everything in
// it; "" when it could not be made.
class FolderForNobody {
public:
    FolderForNobody();
    ~FolderForNobody();
    FolderForNobody(const FolderForNobody&) = delete;
    FolderForNobody& operator=(const FolderForNobody&) = delete;

    // Ends in "/".
    const std::string& path() const { return path_; }

private:
    std::string path_;
};
