#include "discovery/registry_search.h"

#include <algorithm>
#include <array>

#include "discovery/environment_home.h"
#include "discovery/installer_records.h"
#include "discovery/search_list.h"

namespace zep::discovery {
namespace {

constexpr char16_t kFamilyKeyPrefix[] = u"SOFTWARE\\JavaSoft\\";
constexpr char16_t kHomeValue[] = u"JavaHome";
constexpr std::uint32_t kSubKeyNameUnits = 260;
constexpr std::size_t kHomeValueUnits = 1024;

// Closes the family key on every way out of the search.
class OpenKey {
public:
    OpenKey(platform::Registry& registry, platform::Registry::Key key) : registry_(registry), key_(key) {}
    ~OpenKey() { registry_.closeKey(key_); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    platform::Registry::Key get() const { return key_; }

private:
    platform::Registry& registry_;
    platform::Registry::Key key_;
};

// The text in a zero-filled buffer up to its first NUL, never past its end.
template <std::size_t N>
std::u16string_view textIn(const std::array<char16_t, N>& buffer) {
    return {buffer.data(), static_cast<std::size_t>(std::find(buffer.begin(), buffer.end(), u'\0') - buffer.begin())};
}

}  // namespace

std::optional<BinOnPath> binOnPath(std::u16string_view entry) {
    // One pair of surrounding quotes goes, as the command shell drops it.
    if (entry.size() >= 2 && entry.front() == u'"' && entry.back() == u'"') entry = entry.substr(1, entry.size() - 2);
    if (!isAbsoluteWindowsPath(entry)) return std::nullopt;
    if (entry.back() == u'\\' || entry.back() == u'/') entry.remove_suffix(1);
    const std::size_t separator = entry.find_last_of(u"\\/");
    if (separator == std::u16string_view::npos) return std::nullopt;
    const std::u16string_view last = entry.substr(separator + 1);
    const auto isLetter = [](char16_t unit, char16_t lower) { return unit == lower || unit == lower - (u'a' - u'A'); };
    if (last.size() != 3 || !isLetter(last[0], u'b') || !isLetter(last[1], u'i') || !isLetter(last[2], u'n')) {
        return std::nullopt;
    }
    return BinOnPath{std::u16string(entry), std::u16string(entry.substr(0, separator))};
}

bool passesVersionFloor(std::u16string_view name) {
    static constexpr char16_t kFloor[] = u"1.7";  // compared with its NUL
    for (std::size_t i = 0; i < std::size(kFloor); ++i) {
        const char16_t unit = i < name.size() ? name[i] : u'\0';
        if (unit != kFloor[i]) return unit > kFloor[i];
    }
    return true;
}

std::u16string RegistryRuntimeSearch::findJavaRuntime() {
    std::u16string result = searchJavaHomeVariable(kWindowsHome, system_);
    if (result.empty()) {
        // The order in which installers of the common runtimes record themselves.
        for (const char16_t* family : {u"Java Runtime Environment", u"JRE", u"JDK", u"Java Development Kit"}) {
            result = searchRegistryFamily(family);
            if (!result.empty()) break;
        }
    }
    if (result.empty()) result = searchPathVariable();
    // Today's installers record a home otherwise; these are read only when
    // the stages above found nothing, so that a machine they serve keeps its runtime.
    if (result.empty()) result = searchJavaHome(kWindowsHome, system_, isAbsoluteWindowsPath);
    if (result.empty()) result = searchJavaOnPath();
    if (result.empty()) result = searchInstallerRecords();
    return result;
}

std::u16string RegistryRuntimeSearch::searchRegistryFamily(const std::u16string& family) {
    std::u16string result;
    platform::Registry::Key opened = 0;
    // Plain KEY_READ reads the process's own view, the 64-bit one.
    if (registry_.openKey(platform::win32::kHkeyLocalMachine, kFamilyKeyPrefix + family, 0, platform::win32::kKeyRead,
                          &opened) != platform::win32::kErrorSuccess) {
        return result;
    }
    const OpenKey key(registry_, opened);
    std::uint32_t subKeys = 0;
    registry_.querySubKeyCount(key.get(), &subKeys);  // a failed query leaves no subkeys to visit

    std::array<char16_t, kSubKeyNameUnits> name{};
    std::array<char16_t, kHomeValueUnits> home{};
    for (std::uint32_t index = 0; index < subKeys; ++index) {
        name.fill(u'\0');
        std::uint32_t nameLength = kSubKeyNameUnits;
        if (registry_.enumKey(key.get(), index, name.data(), &nameLength) != platform::win32::kErrorSuccess) continue;
        const std::u16string version(textIn(name));
        if (!passesVersionFloor(version)) continue;
        home.fill(u'\0');
        std::uint32_t homeBytes = sizeof home;
        if (registry_.getValue(key.get(), version, kHomeValue, platform::win32::kRrfRtRegSz, home.data(), &homeBytes) !=
            platform::win32::kErrorSuccess) {
            continue;
        }
        if (resolve(std::u16string(textIn(home)), result)) break;
    }
    return result;
}

std::u16string RegistryRuntimeSearch::searchJavaOnPath() {
    std::u16string result;
    const std::u16string list = variableText(system_, u"Path");
    visitEntries(list, u';', [&](const std::u16string& entry) {
        const auto found = binOnPath(entry);
        return found && system_.isPresent(found->bin + u"\\java.exe") && resolve(found->home, result);
    });
    return result;
}

std::u16string RegistryRuntimeSearch::searchInstallerRecords() {
    std::u16string result;
    for (const InstallerRecord& record : installerRecords(registry_, platform::win32::kKeyWow64_64Key)) {
        if (isAbsoluteWindowsPath(record.home) && resolve(record.home, result)) break;
    }
    return result;
}

std::u16string RegistryRuntimeSearch::searchPathVariable() {
    std::u16string result;
    const std::u16string list = variableText(system_, u"Path");
    if (list.empty()) return result;
    // Every absolute entry is a candidate home.
    visitEntries(list, u';',
                 [&](const std::u16string& entry) { return isAbsoluteWindowsPath(entry) && resolve(entry, result); });
    return result;
}

}  // namespace zep::discovery
