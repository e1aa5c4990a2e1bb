#pragma once
// The running POSIX system as the launch reaches it, which the entry point
// makes once and lends to the launch.

#include "platform/system_access.h"
#include "platform/trace.h"

namespace zep::platform {

class PosixAccess final : public DirectoryAccess {
public:
    // What it finds odd about the program's own file it tells `trace`.
    explicit PosixAccess(Trace& trace) : trace_(trace) {}

    std::optional<std::u16string> environmentVariable(const std::u16string& name) override;
    bool isPresent(const std::u16string& path) override;
    std::optional<std::u16string> fullPath(const std::u16string& path) override;
    bool isRegularFile(const std::u16string& path) override;
    std::optional<std::u16string> executableDirectory() override;
    std::optional<std::u16string> executableFile() override;
    std::vector<std::u16string> subdirectoryNames(const std::u16string& directory) override;
    bool isExecutableFile(const std::u16string& path) override;
    std::optional<std::u16string> resolvePath(const std::u16string& path) override;

private:
    Trace& trace_;
};

}  // namespace zep::platform
