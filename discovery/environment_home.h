#pragma once
#include <string>

#include "discovery/java_home.h"

namespace zep::discovery {

// The variable that names the preferred Java home on every platform.
inline constexpr char16_t kJavaHomeVariable[] = u"QRVN_ZEP_JAVA_HOME";

// The text of a variable up to its first NUL; empty when it is unset.
std::u16string variableText(platform::SystemAccess& system, const std::u16string& name);

// The first stage of every search: the home that QRVN_ZEP_JAVA_HOME names, if
// it resolves. An unset or empty variable gives no candidate.
std::optional<RuntimeHome> searchZepJavaHomeVariable(const HomeLayout& layout, const SearchContext& context);

// A later stage of every search: the home that JAVA_HOME names, the variable
// other tools set, if it is an absolute path and resolves; one pair of
// surrounding double quotes is dropped.
std::optional<RuntimeHome> searchJavaHomeVariable(const HomeLayout& layout, const SearchContext& context,
                                                  bool (*isAbsolute)(std::u16string_view));

}  // namespace zep::discovery
