#pragma once
// The running Windows system: its machine and its registry, which the entry
// point makes, one of each, and lends to the launch.

#include "platform/registry.h"
#include "platform/system_access.h"
#include "platform/trace.h"

namespace zep::platform {

class Win32Access final : public SystemAccess {
public:
    // What it finds odd about the program's own file it tells `trace`.
    explicit Win32Access(Trace& trace) : trace_(trace) {}

    std::optional<std::u16string> environmentVariable(const std::u16string& name) override;
    bool isPresent(const std::u16string& path) override;
    std::optional<std::u16string> fullPath(const std::u16string& path) override;
    bool isRegularFile(const std::u16string& path) override;
    std::optional<std::u16string> executableDirectory() override;
    std::optional<std::u16string> executableFile() override;

private:
    Trace& trace_;
};

class Win32Registry final : public Registry {
public:
    std::int32_t openKey(Key root, const std::u16string& subKey, std::uint32_t options, std::uint32_t access,
                         Key* key) override;
    std::int32_t querySubKeyCount(Key key, std::uint32_t* subKeys) override;
    std::int32_t enumKey(Key key, std::uint32_t index, char16_t* name, std::uint32_t* nameLength) override;
    std::int32_t getValue(Key key, const std::u16string& subKey, const std::u16string& valueName, std::uint32_t flags,
                          char16_t* data, std::uint32_t* dataSize) override;
    std::int32_t closeKey(Key key) override;
};

}  // namespace zep::platform
