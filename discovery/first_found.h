#pragma once
// A search as a row of stages, in the order they are tried.

#include <optional>
#include <string>

namespace zep::discovery {

// What the first of `stages` that finds a runtime finds; the stages after it
// are not called.
template <typename... Stage>
std::optional<std::u16string> firstFound(Stage&&... stages) {
    std::optional<std::u16string> found;
    static_cast<void>((static_cast<bool>(found = stages()) || ...));
    return found;
}

}  // namespace zep::discovery
