#include "discovery/posix_search.h"

#include <algorithm>
#include <utility>

#include "discovery/bundled_runtime.h"
#include "discovery/environment_home.h"
#include "discovery/first_found.h"
#include "discovery/search_list.h"
#include "discovery/search_trace.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/trace.h"

namespace zep::discovery {
namespace {

// The directory that holds an absolute path; "" stands for the root (its own
// parent), so that joining "/bin/java" to it gives an absolute path again.
std::u16string parentOf(const std::u16string& path) {
    const std::size_t slash = path.rfind(u'/');
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

}  // namespace

std::optional<FoundRuntime> PosixRuntimeSearch::find() {
    using enum SearchStage;
    return firstFound(
        Stage{ZepJavaHome, [&] { return searchZepJavaHomeVariable(kPosixHome, context_); }},
        Stage{BundledRuntime, [&] { return searchBundledRuntime(kPosixHome, context_); }},
        Stage{RuntimeDirectory, [&] { return searchRuntimeDirectory(); }},
        Stage{JavaOnPath, [&] { return searchJavaOnPath(); }},
        Stage{JavaHome, [&] { return searchJavaHomeVariable(kPosixHome, context_, platform::isAbsolutePosixPath); }});
}

std::optional<RuntimeHome> PosixRuntimeSearch::searchRuntimeDirectory() {
    std::vector<std::u16string> names = machine_.subdirectoryNames(kRuntimeDirectory);
    if (names.empty()) traceSource(context_.trace, kRuntimeDirectory, "no runtime directories");
    // A fixed order, so that the same machine always gives the same runtime:
    // that of the names' bytes, as `LC_ALL=C ls` lists them.
    std::vector<std::pair<std::string, std::u16string>> sorted;
    sorted.reserve(names.size());
    for (std::u16string& name : names) sorted.emplace_back(platform::encodeLossless(name), std::move(name));
    std::sort(sorted.begin(), sorted.end());
    for (const auto& [bytes, name] : sorted) {
        if (auto found =
                resolveJvmFromHome(kRuntimeDirectory + (u"/" + name), kPosixHome, context_, u"/usr/lib/jvm entry")) {
            return found;
        }
    }
    return std::nullopt;
}

std::optional<RuntimeHome> PosixRuntimeSearch::searchJavaOnPath() {
    const std::u16string list = variableText(context_.machine, u"PATH");
    if (list.empty()) {
        traceSource(context_.trace, u"PATH", "not set");
        return std::nullopt;
    }
    return findInEntries(list, u':', [&](const std::u16string& entry) -> std::optional<RuntimeHome> {
        if (!platform::isAbsolutePosixPath(entry)) {
            traceCandidate(context_.trace, u"PATH entry", entry, "not absolute");
            return std::nullopt;
        }
        const std::u16string java = entry + u"/java";
        if (!machine_.isExecutableFile(java)) {
            traceCandidate(context_.trace, u"PATH entry", entry, "no executable java");
            return std::nullopt;
        }
        // bin/java is usually a chain of links (/usr/bin/java, the
        // alternatives system); its real place tells the home.
        const auto real = machine_.resolvePath(java);
        if (!real) {
            traceCandidate(context_.trace, u"PATH entry", entry, "its java leads nowhere");
            return std::nullopt;
        }
        traceCandidate(context_.trace, u"PATH entry", entry, "java is " + platform::trace::quoted(*real));
        return resolveJvmFromHome(parentOf(parentOf(*real)), kPosixHome, context_, u"home of the java on PATH");
    });
}

}  // namespace zep::discovery
