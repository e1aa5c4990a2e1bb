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

class DirectoryRuntimeSearch {
public:
    explicit DirectoryRuntimeSearch(platform::DirectoryAccess& system) : system_(system) {}

    // The full path of a loadable libjvm.so.
    std::optional<std::u16string> findJavaRuntime();
    std::optional<std::u16string> searchRuntimeDirectory();
    std::optional<std::u16string> searchPathVariable();

private:
    platform::DirectoryAccess& system_;
};

}  // namespace zep::discovery
