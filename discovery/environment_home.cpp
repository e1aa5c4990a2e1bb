#include "discovery/environment_home.h"

#include "discovery/search_list.h"
#include "discovery/search_trace.h"

namespace zep::discovery {

std::u16string variableText(platform::SystemAccess& system, const std::u16string& name) {
    const auto value = system.environmentVariable(name);
    if (!value) return {};
    return value->substr(0, value->find(u'\0'));
}

std::optional<RuntimeHome> searchZepJavaHomeVariable(const HomeLayout& layout, const SearchContext& context) {
    const std::u16string home = variableText(context.machine, kJavaHomeVariable);
    if (home.empty()) {
        traceSource(context.trace, kJavaHomeVariable, "not set");
        return std::nullopt;
    }
    return resolveJvmFromHome(home, layout, context, kJavaHomeVariable);
}

std::optional<RuntimeHome> searchJavaHomeVariable(const HomeLayout& layout, const SearchContext& context,
                                                  bool (*isAbsolute)(std::u16string_view)) {
    // Quotes around the value are a common slip that build tools forgive.
    const std::u16string home(withoutQuotes(variableText(context.machine, u"JAVA_HOME")));
    if (home.empty()) {
        traceSource(context.trace, u"JAVA_HOME", "not set");
    } else if (!isAbsolute(home)) {
        traceCandidate(context.trace, u"JAVA_HOME", home, "not absolute");
    } else {
        return resolveJvmFromHome(home, layout, context, u"JAVA_HOME");
    }
    return std::nullopt;
}

}  // namespace zep::discovery
