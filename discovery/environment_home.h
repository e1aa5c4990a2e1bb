#pragma once
#include <string>
#include <string_view>

#include "discovery/java_home.h"

namespace zep::discovery {

// The variable that names the preferred Java home on every platform.
inline constexpr char16_t kJavaHomeVariable[] = u"QRVN_ZEP_JAVA_HOME";

// The text of a variable up to its first NUL; empty when it is unset.
std::u16string variableText(platform::SystemAccess& system, const std::u16string& name);

// Calls `visit` with each entry of a search list, left to right, the empty
// ones included (a leading, doubled or trailing separator each make one),
// until `visit` returns true. Returns whether one did.
template <typename Visit>
bool visitEntries(std::u16string_view list, char16_t separator, Visit visit) {
    for (;;) {
        const std::size_t end = list.find(separator);
        if (visit(std::u16string(list.substr(0, end)))) return true;
        if (end == std::u16string_view::npos) return false;
        list.remove_prefix(end + 1);
    }
}

// The first stage of every search: the home that QRVN_ZEP_JAVA_HOME names, if
// it resolves. An unset or empty variable gives no candidate.
std::u16string searchJavaHomeVariable(const HomeLayout& layout, platform::SystemAccess& system);

}  // namespace zep::discovery
