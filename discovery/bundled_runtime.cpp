#include "discovery/bundled_runtime.h"

#include "discovery/search_trace.h"
#include "platform/paths.h"
#include "platform/runtime_text.h"

namespace zep::discovery {

std::optional<std::u16string> searchBundledRuntime(const HomeLayout& layout, platform::SystemAccess& system) {
    constexpr char16_t kSource[] = u"runtime beside the executable";
    const auto folder = system.executableDirectory();
    if (!folder) {
        traceSource(kSource, "the executable's folder is unknown");
        return std::nullopt;
    }
    // Joined without doubling the separator: the folder may be a root.
    const std::u16string home = platform::joinPath(*folder, layout.bundledRuntime, layout.bundledRuntime.front());
    const std::u16string library = home + std::u16string(layout.jvmLibrary);
    // The library's name relative to the home, as the trace shows it.
    const std::string shown = platform::toOutputBytes(layout.jvmLibrary.substr(1));
    if (!system.isPresent(library)) {
        traceCandidate(kSource, home, "no " + shown);
        return std::nullopt;
    }
    // A directory or a FIFO of that name must not reach the loader.
    if (!system.isRegularFile(library)) {
        traceCandidate(kSource, home, shown + " is not a regular file");
        return std::nullopt;
    }
    if (!libraryLoads(home, library, system, kSource)) return std::nullopt;
    return library;
}

}  // namespace zep::discovery
