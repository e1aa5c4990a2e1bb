#include "discovery/java_home.h"

#include "discovery/search_trace.h"
#include "platform/runtime_text.h"

namespace zep::discovery {
namespace {

// "no bin\java.exe": a file of the layout, named relative to the home.
std::string missing(std::u16string_view file) { return "no " + platform::toOutputBytes(file.substr(1)); }

// `home` followed by `relative` (one of the layout's paths, which begin with
// the separator), by plain concatenation, except where Windows would read
// the result otherwise.
std::u16string joinHome(std::u16string_view home, std::u16string_view relative) {
    std::u16string path(home);
    // After "\\?\" Windows takes the path as it stands: a doubled separator
    // there names no file, where elsewhere it is read as one.
    if (home.starts_with(u"\\\\?\\") && home.ends_with(u'\\') && relative.starts_with(u'\\')) {
        relative.remove_prefix(1);
    }
    path += relative;
    return path;
}

}  // namespace

bool isJavaHome(const std::u16string& home, const HomeLayout& layout, platform::SystemAccess& system,
                std::u16string_view source) {
    if (!system.isPresent(joinHome(home, layout.javaExecutable))) {
        traceCandidate(source, home, missing(layout.javaExecutable));
        return false;
    }
    const std::u16string library = joinHome(home, layout.jvmLibrary);
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

std::optional<std::u16string> resolveJvmFromHome(const std::u16string& home, const HomeLayout& layout,
                                                 platform::SystemAccess& system, std::u16string_view source) {
    std::u16string candidate = home;
    if (!isJavaHome(candidate, layout, system, source)) {
        candidate = joinHome(home, layout.jreDirectory);
        if (!isJavaHome(candidate, layout, system, source)) return std::nullopt;
    }
    return joinHome(candidate, layout.jvmLibrary);
}

}  // namespace zep::discovery
