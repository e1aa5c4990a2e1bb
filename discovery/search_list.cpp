#include "discovery/search_list.h"

namespace zep::discovery {

std::u16string_view withoutQuotes(std::u16string_view entry) {
    if (entry.size() >= 2 && entry.front() == u'"' && entry.back() == u'"') entry = entry.substr(1, entry.size() - 2);
    return entry;
}

}  // namespace zep::discovery
