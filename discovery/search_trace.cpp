#include "discovery/search_trace.h"

#include "discovery/find_java_runtime.h"

#include <string>

#include "platform/trace.h"

namespace zep::discovery {

void traceCandidate(platform::Trace& trace, std::u16string_view source, std::u16string_view place,
                    std::string_view verdict) {
    if (!trace.on()) return;
    trace.line(platform::trace::bare(source) + " " + platform::trace::quoted(place) + ": " + std::string(verdict));
}

void traceSource(platform::Trace& trace, std::u16string_view source, std::string_view verdict) {
    if (!trace.on()) return;
    trace.line(platform::trace::bare(source) + ": " + std::string(verdict));
}

std::string_view stageName(SearchStage stage) {
    switch (stage) {
    case SearchStage::ZepJavaHome:
        return "QRVN_ZEP_JAVA_HOME";
    case SearchStage::BundledRuntime:
        return "the runtime beside the executable";
    case SearchStage::RegistryFamilies:
        return "the JavaSoft registry keys";
    case SearchStage::PathEntries:
        return "a Path entry";
    case SearchStage::RuntimeDirectory:
        return "/usr/lib/jvm";
    case SearchStage::JavaHome:
        return "JAVA_HOME";
    case SearchStage::JavaOnPath:
        return "the java on the search path";
    case SearchStage::InstallerRecords:
        return "an installer's record";
    }
    return "an unknown stage";
}

}  // namespace zep::discovery
