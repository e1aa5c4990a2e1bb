#pragma once
// Finding the Java runtime a launch will load.

#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace zep::discovery {

// A runtime that a stage of the search proved usable: its home and the JVM
// library in it, which was present and loaded into this process when probed
// (the probe's load is released again).
struct RuntimeHome {
    std::u16string home;     // the directory that holds the layout (a home's jre when that was the one)
    std::u16string library;  // the JVM library's full path

    bool operator==(const RuntimeHome&) const = default;
};

// The stages of the searches, each once: which one chose a runtime.
enum class SearchStage {
    ZepJavaHome,       // QRVN_ZEP_JAVA_HOME
    BundledRuntime,    // the application's own runtime beside the executable
    RegistryFamilies,  // HKLM\SOFTWARE\JavaSoft (Windows)
    PathEntries,       // the entries of Path taken as homes (Windows)
    RuntimeDirectory,  // /usr/lib/jvm (POSIX)
    JavaHome,          // JAVA_HOME
    JavaOnPath,        // the home of the java on the search path
    InstallerRecords,  // today's installers' own records (Windows)
};

// The stage's name as the trace gives it.
std::string_view stageName(SearchStage stage);

struct FoundRuntime {
    RuntimeHome runtime;
    SearchStage stage;
};

// The usable Java runtime of this machine that the search's stages, in their
// order, find first; nullopt when there is none. Tells the trace what it
// sees, prints nothing, keeps nothing loaded.
std::optional<FoundRuntime> findJavaRuntime(const platform::System& system);

}  // namespace zep::discovery
