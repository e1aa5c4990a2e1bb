#pragma once
// The registry as the Windows search reads it: the Win32 calls it makes,
// shaped like the functions they stand for and taking Win32's own values, so
// that what the search passes is what the system gets, and so that tests can
// put an in-memory registry in its place. Plain logic, built on every system;
// only the system's own registry is the Windows build's.

#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace zep::platform {

// The Win32 values the search passes and looks at.
namespace win32 {
inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorMoreData = 234;
inline constexpr std::int32_t kErrorUnsupportedType = 1630;
// The predefined keys are 32-bit values widened with their sign.
inline constexpr std::uintptr_t kHkeyCurrentUser =
    static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000001u)));
inline constexpr std::uintptr_t kHkeyLocalMachine =
    static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000002u)));
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;
inline constexpr std::uint32_t kRrfRtRegSz = 0x00000002;
}  // namespace win32

class Registry {
public:
    using Key = std::uintptr_t;  // an HKEY
    virtual ~Registry() = default;
    // RegOpenKeyExW
    virtual std::int32_t openKey(Key root, const std::u16string& subKey, std::uint32_t options, std::uint32_t access,
                                 Key* key) = 0;
    // RegQueryInfoKeyW, asking for the number of subkeys only
    virtual std::int32_t querySubKeyCount(Key key, std::uint32_t* subKeys) = 0;
    // RegEnumKeyExW without class: `nameLength` is the buffer's capacity in
    // units on the way in and the name's length on the way out.
    virtual std::int32_t enumKey(Key key, std::uint32_t index, char16_t* name, std::uint32_t* nameLength) = 0;
    // RegGetValueW of a string, with no type output; `dataSize` is in bytes.
    // A null `data` asks for the size only.
    virtual std::int32_t getValue(Key key, const std::u16string& subKey, const std::u16string& valueName,
                                  std::uint32_t flags, char16_t* data, std::uint32_t* dataSize) = 0;
    // RegCloseKey
    virtual std::int32_t closeKey(Key key) = 0;
};

// An open key, closed through the registry it came from.
struct RegistryKeyTraits {
    using pointer = Registry::Key;
    static constexpr pointer invalid() noexcept { return 0; }
    static constexpr bool isValid(pointer key) noexcept { return key != 0; }
    void close(pointer key) const noexcept { registry->closeKey(key); }
    Registry* registry = nullptr;
};
using UniqueKey = UniqueHandle<RegistryKeyTraits>;

}  // namespace zep::platform
