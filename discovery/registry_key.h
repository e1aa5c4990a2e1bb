#pragma once
// An open registry key that closes itself, with the reads the searches make.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace zep::discovery {

// The parts that are not empty joined by backslashes, as a key's path.
std::u16string keyPath(std::initializer_list<std::u16string_view> parts);

class RegistryKey {
public:
    using Key = platform::Registry::Key;

    // The key at `path` below the predefined key `root`, opened for reading
    // with `access`; nullopt when it cannot be opened, `status` (when given)
    // then holding why.
    static std::optional<RegistryKey> open(platform::Registry& registry, Key root, const std::u16string& path,
                                           std::uint32_t access, std::int32_t* status = nullptr);

    Key get() const { return key_.get(); }

    // The names of its subkeys in enumeration order; a subkey that cannot be
    // enumerated is passed over.
    std::vector<std::u16string> subKeyNames() const;

    // The string value `name` of the subkey `subKey` ("" for this key itself),
    // read whole: REG_SZ, or REG_EXPAND_SZ expanded. nullopt when there is no
    // such value or it is of another type, `status` (when given) then holding
    // the read's result.
    std::optional<std::u16string> stringValue(const std::u16string& subKey, const std::u16string& name,
                                              std::int32_t* status = nullptr) const;

private:
    RegistryKey(platform::Registry& registry, Key key)
        : registry_(&registry), key_(key, platform::RegistryKeyTraits{&registry}) {}

    platform::Registry* registry_;
    platform::UniqueKey key_;  // closed when the object goes
};

}  // namespace zep::discovery
