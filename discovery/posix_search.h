#pragma once
// The Linux way to a Java runtime: the variable QRVN_ZEP_JAVA_HOME, then the
// application's own runtime beside the executable, then the runtimes that the
// distribution installs side by side in /usr/lib/jvm, then the `java` found on
// PATH, followed through its symbolic links to its home, and last JAVA_HOME.

#include <optional>
#include <string>

#include "discovery/java_home.h"
#include "platform/system_access.h"

namespace zep::discovery {

inline constexpr char16_t kRuntimeDirectory[] = u"/usr/lib/jvm";

class PosixRuntimeSearch {
public:
    PosixRuntimeSearch(platform::DirectoryAccess& machine, platform::Trace& trace)
        : machine_(machine), context_{machine, trace} {}

    // The first runtime whose libjvm.so loads, and the stage that found it.
    std::optional<FoundRuntime> find();
    std::optional<RuntimeHome> searchRuntimeDirectory();
    std::optional<RuntimeHome> searchJavaOnPath();

private:
    platform::DirectoryAccess& machine_;
    SearchContext context_;  // the same machine
};

}  // namespace zep::discovery
