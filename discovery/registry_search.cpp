#include "discovery/registry_search.h"

#include <algorithm>
#include <array>

#include "discovery/bundled_runtime.h"
#include "discovery/environment_home.h"
#include "discovery/installer_records.h"
#include "discovery/registry_key.h"
#include "discovery/search_list.h"
#include "discovery/search_trace.h"

namespace zep::discovery {
namespace {

constexpr char16_t kFamilyKeyPrefix[] = u"SOFTWARE\\JavaSoft";
// The order in which installers of the common runtimes record themselves.
constexpr const char16_t* kFamilies[] = {u"Java Runtime Environment", u"JRE", u"JDK", u"Java Development Kit"};
constexpr char16_t kHomeValue[] = u"JavaHome";
constexpr std::uint32_t kSubKeyNameUnits = 260;
constexpr std::size_t kHomeValueUnits = 1024;

// The text in a zero-filled buffer up to its first NUL, never past its end.
template <std::size_t N>
std::u16string_view textIn(const std::array<char16_t, N>& buffer) {
    return {buffer.data(), static_cast<std::size_t>(std::find(buffer.begin(), buffer.end(), u'\0') - buffer.begin())};
}

// "#<index>": a subkey that has no name to show.
std::u16string indexLabel(std::uint32_t index) {
    const std::string digits = std::to_string(index);
    std::u16string label(1, u'#');
    label.append(digits.begin(), digits.end());
    return label;
}

}  // namespace

std::optional<BinOnPath> binOnPath(std::u16string_view entry, platform::SystemAccess& system) {
    entry = withoutQuotes(entry);
    if (!isAbsoluteWindowsPath(entry)) return std::nullopt;
    // The folder as Windows reads the entry: "bin\.", "bin\\", "bin " and
    // "x\..\bin" are all bin.
    const auto full = system.fullPath(std::u16string(entry));
    if (!full) return std::nullopt;
    std::u16string_view path = *full;
    if (path.ends_with(u'\\') || path.ends_with(u'/')) path.remove_suffix(1);
    const std::size_t separator = path.find_last_of(u"\\/");
    if (separator == std::u16string_view::npos) return std::nullopt;
    const std::u16string_view last = path.substr(separator + 1);
    const auto isLetter = [](char16_t unit, char16_t lower) { return unit == lower || unit == lower - (u'a' - u'A'); };
    if (last.size() != 3 || !isLetter(last[0], u'b') || !isLetter(last[1], u'i') || !isLetter(last[2], u'n')) {
        return std::nullopt;
    }
    return BinOnPath{std::u16string(path), std::u16string(path.substr(0, separator))};
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
    if (result.empty()) result = searchBundledRuntime(kWindowsHome, system_);
    if (result.empty()) {
        for (const char16_t* family : kFamilies) {
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

void RegistryRuntimeSearch::traceRuntimesOf32BitView() {
    // What 32-bit installers recorded: the commonest reason why a Java that is
    // installed is not found.
    constexpr char kVerdict[] = "recorded in the 32-bit view: a 32-bit runtime, which this 64-bit launcher cannot use";
    const std::uint32_t access = platform::win32::kKeyRead | platform::win32::kKeyWow64_32Key;
    for (const char16_t* family : kFamilies) {
        const auto key = RegistryKey::open(registry_, platform::win32::kHkeyLocalMachine,
                                           keyPath({kFamilyKeyPrefix, family}), access);
        if (!key) continue;
        for (const std::u16string& version : key->subKeyNames()) {
            if (const auto home = key->stringValue(version, kHomeValue)) {
                traceCandidate(keyPath({u"HKLM\\SOFTWARE\\WOW6432Node\\JavaSoft", family, version}) + u" JavaHome",
                               *home, kVerdict);
            }
        }
    }
    for (const InstallerRecord& record : installerRecords(registry_, platform::win32::kKeyWow64_32Key)) {
        traceCandidate(record.key, record.home, kVerdict);
    }
}

std::u16string RegistryRuntimeSearch::searchRegistryFamily(const std::u16string& family) {
    std::u16string result;
    // Plain KEY_READ reads the process's own view, the 64-bit one. The key is
    // closed on every way out of the search.
    const std::u16string path = keyPath({kFamilyKeyPrefix, family});
    const std::u16string shown = keyPath({u"HKLM", path});
    std::int32_t status = platform::win32::kErrorSuccess;
    const auto key =
        RegistryKey::open(registry_, platform::win32::kHkeyLocalMachine, path, platform::win32::kKeyRead, &status);
    if (!key) {
        traceSource(shown, status == platform::win32::kErrorFileNotFound
                               ? std::string("no such key")
                               : "cannot be opened, error " + std::to_string(status));
        return result;
    }
    std::uint32_t subKeys = 0;
    registry_.querySubKeyCount(key->get(), &subKeys);  // a failed query leaves no subkeys to visit

    std::array<char16_t, kSubKeyNameUnits> name{};
    std::array<char16_t, kHomeValueUnits> home{};
    for (std::uint32_t index = 0; index < subKeys; ++index) {
        name.fill(u'\0');
        std::uint32_t nameLength = kSubKeyNameUnits;
        if (registry_.enumKey(key->get(), index, name.data(), &nameLength) != platform::win32::kErrorSuccess) {
            traceSource(keyPath({shown, indexLabel(index)}), "subkey cannot be read");
            continue;
        }
        const std::u16string version(textIn(name));
        const std::u16string subKey = keyPath({shown, version});
        if (!passesVersionFloor(version)) {
            traceSource(subKey, "version below 1.7");
            continue;
        }
        home.fill(u'\0');
        std::uint32_t homeBytes = sizeof home;
        if (registry_.getValue(key->get(), version, kHomeValue, platform::win32::kRrfRtRegSz, home.data(),
                               &homeBytes) != platform::win32::kErrorSuccess) {
            traceSource(subKey, "no JavaHome string that fits");
            continue;
        }
        if (resolveJvmFromHome(std::u16string(textIn(home)), result, kWindowsHome, system_, subKey + u" JavaHome")) {
            break;
        }
    }
    return result;
}

std::u16string RegistryRuntimeSearch::searchJavaOnPath() {
    std::u16string result;
    const std::u16string list = variableText(system_, u"Path");
    visitEntries(list, u';', [&](const std::u16string& entry) {
        const auto found = binOnPath(entry, system_);
        if (!found) return false;
        if (!system_.isPresent(found->bin + u"\\java.exe")) {
            traceCandidate(u"bin on Path", entry, "no java.exe");
            return false;
        }
        return resolveJvmFromHome(found->home, result, kWindowsHome, system_, u"home of the java.exe on Path");
    });
    return result;
}

std::u16string RegistryRuntimeSearch::searchInstallerRecords() {
    std::u16string result;
    for (const InstallerRecord& record : installerRecords(registry_, platform::win32::kKeyWow64_64Key)) {
        if (!isAbsoluteWindowsPath(record.home)) {
            traceCandidate(record.key, record.home, "not absolute");
        } else if (resolveJvmFromHome(record.home, result, kWindowsHome, system_, record.key)) {
            break;
        }
    }
    return result;
}

std::u16string RegistryRuntimeSearch::searchPathVariable() {
    std::u16string result;
    const std::u16string list = variableText(system_, u"Path");
    if (list.empty()) {
        traceSource(u"Path", "not set");
        return result;
    }
    // Every absolute entry is a candidate home.
    visitEntries(list, u';', [&](const std::u16string& entry) {
        if (isAbsoluteWindowsPath(entry))
            return resolveJvmFromHome(entry, result, kWindowsHome, system_, u"Path entry");
        traceCandidate(u"Path entry", entry, "not absolute");
        return false;
    });
    return result;
}

}  // namespace zep::discovery
