#pragma once
// The Windows way to a Java runtime: the variable QRVN_ZEP_JAVA_HOME, then the
// application's own runtime beside the executable, then the runtimes that
// installers record under HKLM\SOFTWARE\JavaSoft, then the entries of Path
// taken as homes. Only when these find nothing: JAVA_HOME,
// the runtime whose bin holds the java.exe on Path, and the records of today's
// installers.

#include <optional>
#include <string>
#include <string_view>

#include "discovery/java_home.h"
#include "platform/registry.h"
#include "platform/system_access.h"

namespace zep::discovery {

// True when a version subkey's name is not less than "1.7", compared as text,
// unit by unit: "1.10" fails and "10" passes.
bool passesVersionFloor(std::u16string_view name);

// A Path entry that names a runtime's bin, and the home above it
// (`"C:\jdk\bin\"` gives C:\jdk\bin and C:\jdk): one pair of surrounding
// quotes removed, the entry absolute, the last component of its full path
// (as the system makes it) "bin" in any case.
struct BinOnPath {
    std::u16string bin;
    std::u16string home;
};
std::optional<BinOnPath> binOnPath(std::u16string_view entry, platform::SystemAccess& machine);

class WindowsRuntimeSearch {
public:
    WindowsRuntimeSearch(platform::SystemAccess& machine, platform::Registry& registry, platform::Trace& trace)
        : context_{machine, trace}, registry_(registry) {}

    // The first runtime whose jvm.dll loads, and the stage that found it.
    std::optional<FoundRuntime> find();
    std::optional<RuntimeHome> searchRegistryFamily(const std::u16string& family);
    std::optional<RuntimeHome> searchPathEntries();
    // Names, in the trace, the runtimes recorded in the 32-bit view of
    // HKEY_LOCAL_MACHINE, which this 64-bit launcher cannot load.
    void traceRuntimesOf32BitView();

private:
    std::optional<RuntimeHome> searchRegistryFamilies();
    std::optional<RuntimeHome> searchJavaOnPath();
    std::optional<RuntimeHome> searchInstallerRecords();

    SearchContext context_;
    platform::Registry& registry_;
};

}  // namespace zep::discovery
