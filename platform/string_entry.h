#pragma once
// Reading string-table data the way the platform's loader reads it, as plain
// logic: the Windows build applies it to its own resources, the POSIX build to
// the embedded table, and tests to any data they like.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zep::platform {

// Capacity, NUL included, of the buffer that every text is loaded into.
inline constexpr std::size_t kStringBufferUnits = 1024;

// The text of `id` in `block`, the string block that holds ids id / 16 * 16
// to id / 16 * 16 + 15: sixteen entries, each a length unit followed by that
// many UTF-16 units. nullopt when the entry is empty, which is how a block
// marks an id without a text, or when the block is too short to hold it.
std::optional<std::u16string_view> stringBlockEntry(std::u16string_view block, unsigned id);

// What a zero-filled buffer of kStringBufferUnits holds once `entry` is loaded
// into it, read up to the first NUL: at most kStringBufferUnits - 1 units.
std::u16string textAsLoaded(std::u16string_view entry);

}  // namespace zep::platform
