#include "discovery/directory_search.h"

#include <algorithm>
#include <utility>

#include "discovery/bundled_runtime.h"
#include "discovery/environment_home.h"
#include "discovery/search_list.h"
#include "discovery/search_trace.h"
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

std::u16string DirectoryRuntimeSearch::findJavaRuntime() {
    std::u16string result = searchJavaHomeVariable(kPosixHome, system_);
    if (result.empty()) result = searchBundledRuntime(kPosixHome, system_);
    if (result.empty()) result = searchRuntimeDirectory();
    if (result.empty()) result = searchPathVariable();
    if (result.empty()) result = searchJavaHome(kPosixHome, system_, isAbsolutePosixPath);
    return result;
}

std::u16string DirectoryRuntimeSearch::searchRuntimeDirectory() {
    std::u16string result;
    std::vector<std::u16string> names = system_.subdirectoryNames(kRuntimeDirectory);
    if (names.empty()) traceSource(kRuntimeDirectory, "no runtime directories");
    // A fixed order, so that the same machine always gives the same runtime:
    // that of the names' bytes, as `LC_ALL=C ls` lists them.
    std::vector<std::pair<std::string, std::u16string>> sorted;
    sorted.reserve(names.size());
    for (std::u16string& name : names) sorted.emplace_back(platform::encodeLossless(name), std::move(name));
    std::sort(sorted.begin(), sorted.end());
    for (const auto& [bytes, name] : sorted) {
        if (resolveJvmFromHome(kRuntimeDirectory + (u"/" + name), result, kPosixHome, system_, u"/usr/lib/jvm entry")) {
            break;
        }
    }
    return result;
}

std::u16string DirectoryRuntimeSearch::searchPathVariable() {
    std::u16string result;
    const std::u16string list = variableText(system_, u"PATH");
    if (list.empty()) {
        traceSource(u"PATH", "not set");
        return result;
    }
    visitEntries(list, u':', [&](const std::u16string& entry) {
        if (!isAbsolutePosixPath(entry)) {
            traceCandidate(u"PATH entry", entry, "not absolute");
            return false;
        }
        const std::u16string java = entry + u"/java";
        if (!system_.isExecutableFile(java)) {
            traceCandidate(u"PATH entry", entry, "no executable java");
            return false;
        }
        // bin/java is usually a chain of links (/usr/bin/java, the
        // alternatives system); its real place tells the home.
        const auto real = system_.resolvePath(java);
        if (!real) {
            traceCandidate(u"PATH entry", entry, "its java leads nowhere");
            return false;
        }
        traceCandidate(u"PATH entry", entry, "java is " + platform::trace::quoted(*real));
        return resolveJvmFromHome(parentOf(parentOf(*real)), result, kPosixHome, system_, u"home of the java on PATH");
    });
    return result;
}

}  // namespace zep::discovery
