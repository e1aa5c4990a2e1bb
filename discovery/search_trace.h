#pragma once
// What the search tells the launch trace: every candidate it looks at, where
// it came from, and the verdict in plain words. Nothing while the trace is off.

#include <string_view>

#include "platform/trace.h"

namespace zep::discovery {

// "<source> "<place>": <verdict>"
void traceCandidate(platform::Trace& trace, std::u16string_view source, std::u16string_view place,
                    std::string_view verdict);

// "<source>: <verdict>", for a source that names no place.
void traceSource(platform::Trace& trace, std::u16string_view source, std::string_view verdict);

}  // namespace zep::discovery
