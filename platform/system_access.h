#pragma once
// The machine as the runtime search sees it: environment, files, and whether
// a library loads. Plain logic reaches the system through these interfaces,
// so that tests can put an in-memory machine in its place.

#include <optional>
#include <string>
#include <vector>

#include "platform/library.h"

namespace zep::platform {

class SystemAccess {
public:
    virtual ~SystemAccess() = default;
    // The whole value of a variable, however long; nullopt when it is not set.
    virtual std::optional<std::u16string> environmentVariable(const std::u16string& name) = 0;
    // True when something of that name exists, whatever it is (a directory counts).
    virtual bool isPresent(const std::u16string& path) = 0;
    // The path as the system reads it (Windows: GetFullPathNameW, which
    // resolves "." and "..", joins doubled separators and drops the blanks
    // and dots that end a component); nullopt when it cannot be made.
    // POSIX: the path as given.
    virtual std::optional<std::u16string> fullPath(const std::u16string& path) = 0;
    // True for a regular file: not a directory, a FIFO or a device.
    virtual bool isRegularFile(const std::u16string& path) = 0;
    // The folder that holds the running executable file, as the system knows
    // it (not the current directory, not what argv[0] says); nullopt when the
    // system cannot tell.
    virtual std::optional<std::u16string> executableDirectory() = 0;
    // The running executable file's own full name, by the same rules;
    // nullopt when the system cannot tell (a machine of a test's own: never).
    virtual std::optional<std::u16string> executableFile() { return std::nullopt; }
    // Whether the JVM library at `path` loads as RuntimeLibrary::load loads it
    // (the load is released before this returns), and if not, why. The real
    // machine's answer on either system (platform/system_access.cpp); a
    // machine of a test's own answers for itself.
    virtual LoadProbe probeLoad(const std::u16string& path);
};

// What the POSIX search needs beyond that.
class DirectoryAccess : public SystemAccess {
public:
    // Names of the directories in `directory`, symbolic links to directories included.
    virtual std::vector<std::u16string> subdirectoryNames(const std::u16string& directory) = 0;
    // True for a regular file that this process may execute.
    virtual bool isExecutableFile(const std::u16string& path) = 0;
    // The absolute path with every symbolic link resolved; nullopt when it cannot be.
    virtual std::optional<std::u16string> resolvePath(const std::u16string& path) = 0;
};

// Keeps the system from raising modal error boxes on this thread (Windows:
// an empty removable drive in a searched path) for as long as it lives.
class QuietErrorBoxes {
public:
    QuietErrorBoxes();
    ~QuietErrorBoxes();
    QuietErrorBoxes(const QuietErrorBoxes&) = delete;
    QuietErrorBoxes& operator=(const QuietErrorBoxes&) = delete;

private:
    [[maybe_unused]] unsigned long previous_ = 0;  // the mode to restore (Windows)
};

}  // namespace zep::platform
