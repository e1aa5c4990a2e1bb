#include "discovery/java_home.h"

#include "discovery/search_trace.h"
#include "platform/runtime_text.h"

namespace zep::discovery {
namespace {

// "no bin\java.exe": a file of the layout, named relative to the home.
std::string missing(std::u16string_view file) { return "no " + platform::toOutputBytes(file.substr(1)); }

}  // namespace

bool isJavaHome(const std::u16string& home, const HomeLayout& layout, platform::SystemAccess& system,
                std::u16string_view source) {
    if (!system.isPresent(home + std::u16string(layout.javaExecutable))) {
        traceCandidate(source, home, missing(layout.javaExecutable));
        return false;
    }
    const std::u16string library = home + std::u16string(layout.jvmLibrary);
    if (!system.isPresent(library)) {
        traceCandidate(source, home, missing(layout.jvmLibrary));
        return false;
    }
    // The costly probe comes last: it rejects a library that is there but
    // cannot live in this process (another architecture, missing imports).
    return libraryLoads(home, library, system, source);
}

bool libraryLoads(const std::u16string& home, const std::u16string& library, platform::SystemAccess& system,
                  std::u16string_view source) {
    const platform::LoadProbe probe = system.probeLoad(library);
    traceCandidate(source, home, probe.loaded ? "accepted" : "does not load: " + probe.failure);
    return probe.loaded;
}

bool resolveJvmFromHome(const std::u16string& home, std::u16string& result, const HomeLayout& layout,
                        platform::SystemAccess& system, std::u16string_view source) {
    std::u16string candidate = home;
    if (!isJavaHome(candidate, layout, system, source)) {
        candidate += layout.jreDirectory;
        if (!isJavaHome(candidate, layout, system, source)) return false;
    }
    result = candidate + std::u16string(layout.jvmLibrary);
    return true;
}

}  // namespace zep::discovery
