#include "discovery/windows_search.h"

#include "discovery/bundled_runtime.h"
#include "discovery/environment_home.h"
#include "discovery/first_found.h"
#include "discovery/installer_records.h"
#include "discovery/registry_key.h"
#include "discovery/search_list.h"
#include "discovery/search_trace.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace zep::discovery {
namespace {

constexpr char16_t kFamilyKeyPrefix[] = u"SOFTWARE\\JavaSoft";
// The order in which installers of the common runtimes record themselves.
constexpr const char16_t* kFamilies[] = {u"Java Runtime Environment", u"JRE", u"JDK", u"Java Development Kit"};
constexpr char16_t kHomeValue[] = u"JavaHome";
// JavaHome is read into 1024 units, its NUL included: a longer value is passed over.
constexpr std::uint32_t kHomeValueUnits = 1024;

// "#<index>": a subkey that has no name to show.
std::u16string indexLabel(std::uint32_t index) {
    const std::string digits = std::to_string(index);
    std::u16string label(1, u'#');
    label.append(digits.begin(), digits.end());
    return label;
}

}  // namespace

std::optional<BinOnPath> binOnPath(std::u16string_view entry, platform::SystemAccess& machine) {
    entry = withoutQuotes(entry);
    if (!platform::isAbsoluteWindowsPath(entry)) return std::nullopt;
    // The folder as Windows reads the entry: "bin\.", "bin\\", "bin " and
    // "x\..\bin" are all bin.
    const auto full = machine.fullPath(std::u16string(entry));
    if (!full) return std::nullopt;
    std::u16string_view path = *full;
    if (path.ends_with(u'\\') || path.ends_with(u'/')) path.remove_suffix(1);
    const std::size_t separator = path.find_last_of(u"\\/");
    if (separator == std::u16string_view::npos) return std::nullopt;
    const std::u16string_view last = path.substr(separator + 1);
    if (last.size() != 3 || !platform::hasPrefixIgnoreCase(last, u"bin")) return std::nullopt;
    return BinOnPath{std::u16string(path), std::u16string(path.substr(0, separator))};
}

bool passesVersionFloor(std::u16string_view name) { return name >= std::u16string_view(u"1.7"); }

std::optional<FoundRuntime> WindowsRuntimeSearch::find() {
    // Today's installers record a home otherwise: those stages come after
    // Path, so that a machine the stages before serve keeps its runtime.
    using enum SearchStage;
    return firstFound(
        Stage{ZepJavaHome, [&] { return searchZepJavaHomeVariable(kWindowsHome, context_); }},
        Stage{BundledRuntime, [&] { return searchBundledRuntime(kWindowsHome, context_); }},
        Stage{RegistryFamilies, [&] { return searchRegistryFamilies(); }},
        Stage{PathEntries, [&] { return searchPathEntries(); }},
        Stage{JavaHome,
              [&] { return searchJavaHomeVariable(kWindowsHome, context_, platform::isAbsoluteWindowsPath); }},
        Stage{JavaOnPath, [&] { return searchJavaOnPath(); }},
        Stage{InstallerRecords, [&] { return searchInstallerRecords(); }});
}

std::optional<RuntimeHome> WindowsRuntimeSearch::searchRegistryFamilies() {
    for (const char16_t* family : kFamilies) {
        if (std::optional<RuntimeHome> found = searchRegistryFamily(family)) return found;
    }
    return std::nullopt;
}

void WindowsRuntimeSearch::traceRuntimesOf32BitView() {
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
                traceCandidate(context_.trace,
                               keyPath({u"HKLM\\SOFTWARE\\WOW6432Node\\JavaSoft", family, version}) + u" JavaHome",
                               *home, kVerdict);
            }
        }
    }
    for (const InstallerRecord& record :
         installerRecords(registry_, platform::win32::kKeyWow64_32Key, context_.trace)) {
        traceCandidate(context_.trace, record.key, record.home, kVerdict);
    }
}

std::optional<RuntimeHome> WindowsRuntimeSearch::searchRegistryFamily(const std::u16string& family) {
    // Plain KEY_READ reads the process's own view, the 64-bit one. The key is
    // closed on every way out of the search.
    const std::u16string path = keyPath({kFamilyKeyPrefix, family});
    const std::u16string shown = keyPath({u"HKLM", path});
    std::int32_t status = platform::win32::kErrorSuccess;
    const auto key =
        RegistryKey::open(registry_, platform::win32::kHkeyLocalMachine, path, platform::win32::kKeyRead, &status);
    if (!key) {
        traceSource(context_.trace, shown,
                    status == platform::win32::kErrorFileNotFound
                        ? std::string("no such key")
                        : "cannot be opened, error " + std::to_string(status));
        return std::nullopt;
    }
    for (const RegistryKey::SubKey subKey : key->subKeys()) {
        if (!subKey.name) {
            traceSource(context_.trace, keyPath({shown, indexLabel(subKey.index)}), "subkey cannot be read");
            continue;
        }
        const std::u16string& version = *subKey.name;
        const std::u16string shownSubKey = keyPath({shown, version});
        if (!passesVersionFloor(version)) {
            traceSource(context_.trace, shownSubKey, "version below 1.7");
            continue;
        }
        const auto home = key->stringValue(version, kHomeValue, nullptr, kHomeValueUnits);
        if (!home) {
            traceSource(context_.trace, shownSubKey, "no JavaHome string that fits");
            continue;
        }
        if (auto found = resolveJvmFromHome(*home, kWindowsHome, context_, shownSubKey + u" JavaHome")) return found;
    }
    return std::nullopt;
}

std::optional<RuntimeHome> WindowsRuntimeSearch::searchJavaOnPath() {
    const std::u16string list = variableText(context_.machine, u"Path");
    return findInEntries(list, u';', [&](const std::u16string& entry) -> std::optional<RuntimeHome> {
        const auto found = binOnPath(entry, context_.machine);
        if (!found) return std::nullopt;
        if (!context_.machine.isPresent(found->bin + u"\\java.exe")) {
            traceCandidate(context_.trace, u"bin on Path", entry, "no java.exe");
            return std::nullopt;
        }
        return resolveJvmFromHome(found->home, kWindowsHome, context_, u"home of the java.exe on Path");
    });
}

std::optional<RuntimeHome> WindowsRuntimeSearch::searchInstallerRecords() {
    for (const InstallerRecord& record :
         installerRecords(registry_, platform::win32::kKeyWow64_64Key, context_.trace)) {
        if (!platform::isAbsoluteWindowsPath(record.home)) {
            traceCandidate(context_.trace, record.key, record.home, "not absolute");
        } else if (auto found = resolveJvmFromHome(record.home, kWindowsHome, context_, record.key)) {
            return found;
        }
    }
    return std::nullopt;
}

std::optional<RuntimeHome> WindowsRuntimeSearch::searchPathEntries() {
    const std::u16string list = variableText(context_.machine, u"Path");
    if (list.empty()) {
        traceSource(context_.trace, u"Path", "not set");
        return std::nullopt;
    }
    // Every absolute entry is a candidate home.
    return findInEntries(list, u';', [&](const std::u16string& entry) -> std::optional<RuntimeHome> {
        if (platform::isAbsoluteWindowsPath(entry))
            return resolveJvmFromHome(entry, kWindowsHome, context_, u"Path entry");
        traceCandidate(context_.trace, u"Path entry", entry, "not absolute");
        return std::nullopt;
    });
}

}  // namespace zep::discovery
