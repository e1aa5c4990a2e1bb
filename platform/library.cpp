#include "platform/platform.h"

namespace zep::platform {

Library& Library::operator=(Library&& other) noexcept {
    if (this != &other) {
        reset();
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

}  // namespace zep::platform
