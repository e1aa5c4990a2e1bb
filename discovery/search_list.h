#pragma once
// Search lists (Path, PATH) and which of their entries may be tried at all.

#include <optional>
#include <string>
#include <string_view>

namespace zep::discovery {

// What `find` finds in the first entry of a search list where it finds
// anything, the entries taken left to right, the empty ones included (a
// leading, doubled or trailing separator each make one).
template <typename Find>
auto findInEntries(std::u16string_view list, char16_t separator, Find find) {
    for (;;) {
        const std::size_t end = list.find(separator);
        auto found = find(std::u16string(list.substr(0, end)));
        if (found || end == std::u16string_view::npos) return found;
        list.remove_prefix(end + 1);
    }
}

// `entry` without one pair of surrounding double quotes, as the command shell
// drops them; as it is when it has none.
std::u16string_view withoutQuotes(std::u16string_view entry);

}  // namespace zep::discovery
