#include "platform/string_entry.h"

#include <algorithm>
#include <array>

namespace zep::platform {

std::optional<std::u16string_view> stringBlockEntry(std::u16string_view block, unsigned id) {
    std::size_t position = 0;
    for (unsigned index = 0; index < id % 16; ++index) {
        if (position >= block.size()) return std::nullopt;
        position += 1 + block[position];
    }
    if (position >= block.size()) return std::nullopt;
    const std::size_t length = block[position];
    // A length that runs past the block's end comes from damaged data; reading
    // it would leave the resource.
    if (length == 0 || length > block.size() - position - 1) return std::nullopt;
    return block.substr(position + 1, length);
}

std::u16string textAsLoaded(std::u16string_view entry) {
    std::array<char16_t, kStringBufferUnits> buffer{};
    std::copy_n(entry.begin(), std::min(entry.size(), buffer.size() - 1), buffer.begin());
    return std::u16string(buffer.data());
}

}  // namespace zep::platform
