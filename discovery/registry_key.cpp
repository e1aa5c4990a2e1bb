#include "discovery/registry_key.h"

namespace zep::discovery {
namespace {

namespace win32 = platform::win32;

// A key name has at most 255 units; the buffer holds that and its NUL.
constexpr std::uint32_t kNameUnits = 260;

}  // namespace

std::u16string keyPath(std::initializer_list<std::u16string_view> parts) {
    std::u16string path;
    for (const std::u16string_view part : parts) {
        if (part.empty()) continue;
        if (!path.empty()) path += u'\\';
        path += part;
    }
    return path;
}

std::optional<RegistryKey> RegistryKey::open(platform::Registry& registry, Key root, const std::u16string& path,
                                             std::uint32_t access, std::int32_t* status) {
    Key key = 0;
    const std::int32_t opened = registry.openKey(root, path, 0, access, &key);
    if (status != nullptr) *status = opened;
    if (opened != win32::kErrorSuccess) return std::nullopt;
    return RegistryKey(registry, key);
}

RegistryKey::SubKeys RegistryKey::subKeys() const {
    std::uint32_t count = 0;
    registry_->querySubKeyCount(key_.get(), &count);  // a failed query leaves none to visit
    return {this, count};
}

RegistryKey::SubKey RegistryKey::subKeyAt(std::uint32_t index) const {
    // Zero-filled, its length reset for every call: the name is what the
    // buffer holds up to its first NUL.
    std::array<char16_t, kNameUnits> name{};
    std::uint32_t length = kNameUnits;
    if (registry_->enumKey(key_.get(), index, name.data(), &length) != win32::kErrorSuccess) return {index, {}};
    return {index, std::u16string(textIn(name))};
}

std::vector<std::u16string> RegistryKey::subKeyNames() const {
    std::vector<std::u16string> names;
    for (const SubKey subKey : subKeys()) {
        if (subKey.name) names.push_back(*subKey.name);
    }
    return names;
}

std::optional<std::u16string> RegistryKey::stringValue(const std::u16string& subKey, const std::u16string& name,
                                                       std::int32_t* status, std::uint32_t capacity) const {
    std::int32_t ignored = 0;
    std::int32_t& read = status != nullptr ? *status : ignored;
    const bool whole = capacity == kWholeValue;
    std::size_t units = capacity;
    if (whole) {
        std::uint32_t size = 0;
        read = registry_->getValue(key_.get(), subKey, name, win32::kRrfRtRegSz, nullptr, &size);
        if (read != win32::kErrorSuccess) return std::nullopt;
        units = size / sizeof(char16_t) + 1;
    }
    // Read whole, a value that grew between the calls, or needs more room once
    // expanded, is asked for again, a few times at most; within a capacity, once.
    for (int attempt = 0; attempt < (whole ? 4 : 1); ++attempt) {
        std::u16string value(units, u'\0');
        auto size = static_cast<std::uint32_t>(value.size() * sizeof(char16_t));
        read = registry_->getValue(key_.get(), subKey, name, win32::kRrfRtRegSz, value.data(), &size);
        if (read == win32::kErrorSuccess) return value.substr(0, value.find(u'\0'));
        if (read != win32::kErrorMoreData) return std::nullopt;
        units = size / sizeof(char16_t) + 1;
    }
    return std::nullopt;
}

}  // namespace zep::discovery
