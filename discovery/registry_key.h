#pragma once
// An open registry key that closes itself, with the reads the searches make.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace zep::discovery {

// The parts that are not empty joined by backslashes, as a key's path.
std::u16string keyPath(std::initializer_list<std::u16string_view> parts);

// The text in a zero-filled buffer up to its first NUL, never past its end.
template <std::size_t N>
std::u16string_view textIn(const std::array<char16_t, N>& buffer) {
    return {buffer.data(), static_cast<std::size_t>(std::find(buffer.begin(), buffer.end(), u'\0') - buffer.begin())};
}

class RegistryKey {
public:
    using Key = platform::Registry::Key;

    // The key at `path` below the predefined key `root`, opened for reading
    // with `access`; nullopt when it cannot be opened, `status` (when given)
    // then holding why.
    static std::optional<RegistryKey> open(platform::Registry& registry, Key root, const std::u16string& path,
                                           std::uint32_t access, std::int32_t* status = nullptr);

    // A subkey as the enumeration gives it: its index, and its name, or
    // nullopt when it cannot be enumerated (a name of 260 units or more
    // among them).
    struct SubKey {
        std::uint32_t index;
        std::optional<std::u16string> name;
    };
    class SubKeys;

    // Its subkeys, in enumeration order, each enumerated when the iteration
    // reaches it: as many as the key counted at the start (none when the
    // count cannot be read).
    SubKeys subKeys() const;

    // The names of its subkeys in enumeration order; a subkey that cannot be
    // enumerated is passed over.
    std::vector<std::u16string> subKeyNames() const;

    static constexpr std::uint32_t kWholeValue = 0;  // stringValue's capacity: none, read whole

    // The string value `name` of the subkey `subKey` ("" for this key itself):
    // REG_SZ, or REG_EXPAND_SZ expanded. Read whole, sized by asking; or, given
    // a `capacity` in units (its NUL included), read once into a zero-filled
    // buffer of that many, a value that does not fit counting as none (its
    // status kErrorMoreData). nullopt when there is no such value or it is of
    // another type, `status` (when given) then holding the read's result. The
    // one way a string is read from the registry.
    std::optional<std::u16string> stringValue(const std::u16string& subKey, const std::u16string& name,
                                              std::int32_t* status = nullptr,
                                              std::uint32_t capacity = kWholeValue) const;

private:
    SubKey subKeyAt(std::uint32_t index) const;

    RegistryKey(platform::Registry& registry, Key key)
        : registry_(&registry), key_(key, platform::RegistryKeyTraits{&registry}) {}

    platform::Registry* registry_;
    platform::UniqueKey key_;  // closed when the object goes
};

class RegistryKey::SubKeys {
public:
    class iterator {
    public:
        using value_type = SubKey;
        using difference_type = std::ptrdiff_t;
        iterator() = default;
        SubKey operator*() const { return key_->subKeyAt(index_); }
        iterator& operator++() {
            ++index_;
            return *this;
        }
        iterator operator++(int) {
            iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const iterator& other) const { return index_ == other.index_; }

    private:
        friend class SubKeys;
        iterator(const RegistryKey* key, std::uint32_t index) : key_(key), index_(index) {}
        const RegistryKey* key_ = nullptr;
        std::uint32_t index_ = 0;
    };

    iterator begin() const { return {key_, 0}; }
    iterator end() const { return {key_, count_}; }

private:
    friend class RegistryKey;
    SubKeys(const RegistryKey* key, std::uint32_t count) : key_(key), count_(count) {}
    const RegistryKey* key_;
    std::uint32_t count_;
};

}  // namespace zep::discovery
