#include "discovery/java_home.h"

#include "discovery/search_trace.h"
#include "platform/trace.h"

namespace zep::discovery {
namespace {

// "no bin\java.exe": a file of the layout, named relative to the home.
std::string missing(std::u16string_view file) { return "no " + platform::trace::text(file.substr(1)); }

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

bool isJavaHome(const std::u16string& home, const HomeLayout& layout, const SearchContext& context,
                std::u16string_view source) {
    if (!context.machine.isPresent(joinHome(home, layout.javaExecutable))) {
        traceCandidate(context.trace, source, home, missing(layout.javaExecutable));
        return false;
    }
    const std::u16string library = joinHome(home, layout.jvmLibrary);
    if (!context.machine.isPresent(library)) {
        traceCandidate(context.trace, source, home, missing(layout.jvmLibrary));
        return false;
    }
    // The costly probe comes last: it rejects a library that is there but
    // cannot live in this process (another architecture, missing imports).
    return libraryLoads(home, library, context, source);
}

bool libraryLoads(const std::u16string& home, const std::u16string& library, const SearchContext& context,
                  std::u16string_view source) {
    const platform::LoadProbe probe = context.machine.probeLoad(library);
    traceCandidate(context.trace, source, home, probe.loaded ? "accepted" : "does not load: " + probe.failure);
    return probe.loaded;
}

std::optional<RuntimeHome> resolveJvmFromHome(const std::u16string& home, const HomeLayout& layout,
                                              const SearchContext& context, std::u16string_view source) {
    std::u16string candidate = home;
    if (!isJavaHome(candidate, layout, context, source)) {
        candidate = joinHome(home, layout.jreDirectory);
        if (!isJavaHome(candidate, layout, context, source)) return std::nullopt;
    }
    std::u16string library = joinHome(candidate, layout.jvmLibrary);
    return RuntimeHome{std::move(candidate), std::move(library)};
}

}  // namespace zep::discovery
