#pragma once
// The user this process runs as: the one its private folders and its channel
// admit.

#include <optional>
#include <string>
#include <utility>

#include "platform/windows/win32.h"

namespace zep::platform {

// A copy of the user's SID, which stays valid however the value is moved.
class UserSid {
public:
    // This process's user; nullopt when its token cannot be read.
    static std::optional<UserSid> ofThisProcess();

    PSID get() { return bytes_.data(); }

private:
    explicit UserSid(std::string bytes) : bytes_(std::move(bytes)) {}
    std::string bytes_;
};

}  // namespace zep::platform
