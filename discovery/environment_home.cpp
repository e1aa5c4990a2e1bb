#include "discovery/environment_home.h"

namespace zep::discovery {

std::u16string variableText(platform::SystemAccess& system, const std::u16string& name) {
    const auto value = system.environmentVariable(name);
    if (!value) return {};
    return value->substr(0, value->find(u'\0'));
}

std::u16string searchJavaHomeVariable(const HomeLayout& layout, platform::SystemAccess& system) {
    std::u16string result;
    const std::u16string home = variableText(system, kJavaHomeVariable);
    if (!home.empty()) resolveJvmFromHome(home, result, layout, system);
    return result;
}

std::u16string searchJavaHome(const HomeLayout& layout, platform::SystemAccess& system,
                              bool (*isAbsolute)(std::u16string_view)) {
    std::u16string result;
    const std::u16string home = variableText(system, u"JAVA_HOME");
    if (isAbsolute(home)) resolveJvmFromHome(home, result, layout, system);
    return result;
}

}  // namespace zep::discovery
