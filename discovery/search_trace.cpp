#include "discovery/search_trace.h"

#include <string>

#include "platform/trace.h"

namespace zep::discovery {

void traceCandidate(std::u16string_view source, std::u16string_view place, std::string_view verdict) {
    if (!platform::trace::on()) return;
    platform::trace::line(platform::trace::bare(source) + " " + platform::trace::quoted(place) + ": " +
                          std::string(verdict));
}

void traceSource(std::u16string_view source, std::string_view verdict) {
    if (!platform::trace::on()) return;
    platform::trace::line(platform::trace::bare(source) + ": " + std::string(verdict));
}

}  // namespace zep::discovery
