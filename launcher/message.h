#pragma once
#include <string_view>

namespace zep {

// Writes a message to standard error exactly as given: no prefix, no line end.
// The stream is unit-buffered, so the text is out before this returns.
void writeMessage(std::string_view message);

}  // namespace zep
