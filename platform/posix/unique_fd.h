#pragma once
#include <unistd.h>

#include "platform/handle.h"

namespace zep::platform {

// A file descriptor, closed when its owner goes.
struct FileDescriptorTraits {
    using pointer = int;
    static constexpr pointer invalid() noexcept { return -1; }
    static constexpr bool isValid(pointer fd) noexcept { return fd >= 0; }
    void close(pointer fd) const noexcept { ::close(fd); }
};
using UniqueFd = UniqueHandle<FileDescriptorTraits>;

}  // namespace zep::platform
