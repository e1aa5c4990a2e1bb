#include "platform/windows/current_user.h"

#include "platform/windows/owned.h"

namespace zep::platform {

std::optional<UserSid> UserSid::ofThisProcess() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
    const UniqueFile ownedToken(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string user(size, '\0');
    if (size == 0 || !::GetTokenInformation(token, TokenUser, user.data(), size, &size)) return std::nullopt;
    // TOKEN_USER points into its own buffer: the SID is copied out of it.
    const PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    std::string bytes(::GetLengthSid(sid), '\0');
    if (!::CopySid(static_cast<DWORD>(bytes.size()), bytes.data(), sid)) return std::nullopt;
    return UserSid(std::move(bytes));
}

}  // namespace zep::platform
