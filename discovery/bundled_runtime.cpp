#include "discovery/bundled_runtime.h"

#include "discovery/search_trace.h"
#include "platform/paths.h"
#include "platform/trace.h"

namespace zep::discovery {

std::optional<RuntimeHome> searchBundledRuntime(const HomeLayout& layout, const SearchContext& context) {
    constexpr char16_t kSource[] = u"runtime beside the executable";
    const auto folder = context.machine.executableDirectory();
    if (!folder) {
        traceSource(context.trace, kSource, "the executable's folder is unknown");
        return std::nullopt;
    }
    // Joined without doubling the separator: the folder may be a root.
    const std::u16string home = platform::joinPath(*folder, layout.bundledRuntime, layout.bundledRuntime.front());
    const std::u16string library = home + std::u16string(layout.jvmLibrary);
    // The library's name relative to the home, as the trace shows it.
    const std::string shown = platform::trace::text(layout.jvmLibrary.substr(1));
    if (!context.machine.isPresent(library)) {
        traceCandidate(context.trace, kSource, home, "no " + shown);
        return std::nullopt;
    }
    // A directory or a FIFO of that name must not reach the loader.
    if (!context.machine.isRegularFile(library)) {
        traceCandidate(context.trace, kSource, home, shown + " is not a regular file");
        return std::nullopt;
    }
    if (!libraryLoads(home, library, context, kSource)) return std::nullopt;
    return RuntimeHome{home, library};
}

}  // namespace zep::discovery
