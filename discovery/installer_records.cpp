#include "discovery/installer_records.h"

#include <algorithm>
#include <string>

#include "discovery/registry_key.h"
#include "discovery/search_trace.h"
#include "platform/trace.h"

namespace zep::discovery {
namespace {

namespace win32 = platform::win32;

// Where records are read: a root's SOFTWARE key in one view, and how the
// trace names it.
struct Software {
    platform::Registry::Key root;
    std::uint32_t access;
    std::u16string_view shown;
    platform::Trace& trace;

    // The key `below` SOFTWARE. One that is there but cannot be opened (its
    // access denied) is named in the trace; one that is not there is the
    // common case and is not.
    std::optional<RegistryKey> open(platform::Registry& registry, std::u16string_view below) const {
        std::int32_t status = win32::kErrorSuccess;
        auto key = RegistryKey::open(registry, root, keyPath({u"SOFTWARE", below}), access, &status);
        if (!key && status != win32::kErrorFileNotFound) {
            traceSource(trace, keyPath({shown, below}), "cannot be opened, error " + std::to_string(status));
        }
        return key;
    }

    // Why the string value `name` of a record's key `below` SOFTWARE, read
    // with `status`, was passed over.
    void tellPassedOver(platform::Registry& registry, std::u16string_view below, std::u16string_view name,
                        std::int32_t status) const {
        if (!trace.on()) return;
        const std::string value = platform::trace::text(name);
        if (status == win32::kErrorUnsupportedType) {
            traceSource(trace, keyPath({shown, below}), value + " is not a string");
        } else if (status != win32::kErrorFileNotFound) {
            traceSource(trace, keyPath({shown, below}), value + " cannot be read, error " + std::to_string(status));
        } else if (RegistryKey::open(registry, root, keyPath({u"SOFTWARE", below}), access)) {
            traceSource(trace, keyPath({shown, below}), "no " + value + " value");
        } else {
            traceSource(trace, keyPath({shown, below}), "no such key");
        }
    }
};

constexpr char16_t kZulu[] = u"Azul Systems\\Zulu";
constexpr char16_t kZuluPrefix[] = u"zulu-";

bool isDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

// The runs of digits in a version's name, left to right: "1.8.0_402" gives
// 1, 8, 0 and 402, "22.0.1+8" 22, 0, 1 and 8, whatever separates them.
std::vector<std::u16string_view> numbersOf(std::u16string_view version) {
    std::vector<std::u16string_view> numbers;
    for (std::size_t start = 0; start < version.size();) {
        if (!isDigit(version[start])) {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < version.size() && isDigit(version[end])) ++end;
        numbers.push_back(version.substr(start, end - start));
        start = end;
    }
    return numbers;
}

// Whole numbers of any length, compared without converting them.
int compareNumbers(std::u16string_view a, std::u16string_view b) {
    a.remove_prefix(std::min(a.find_first_not_of(u'0'), a.size()));
    b.remove_prefix(std::min(b.find_first_not_of(u'0'), b.size()));
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

// The MSI installer's records below one vendor key, for one of JDK and JRE.
void readMsiRecords(platform::Registry& registry, const Software& software, const std::u16string& product,
                    std::vector<InstallerRecord>& records) {
    const auto products = software.open(registry, product);
    if (!products) return;
    for (const std::u16string& version : products->subKeyNames()) {
        const auto versionKey = software.open(registry, keyPath({product, version}));
        if (!versionKey) continue;
        for (const std::u16string& jvm : versionKey->subKeyNames()) {
            const std::u16string msi = keyPath({jvm, u"MSI"});
            std::int32_t status = win32::kErrorSuccess;
            if (auto home = versionKey->stringValue(msi, u"Path", &status)) {
                records.push_back({keyPath({software.shown, product, version, msi}), version, *home});
            } else {
                software.tellPassedOver(registry, keyPath({product, version, msi}), u"Path", status);
            }
        }
    }
}

void readZuluRecords(platform::Registry& registry, const Software& software, std::vector<InstallerRecord>& records) {
    const auto zulu = software.open(registry, kZulu);
    if (!zulu) return;
    for (const std::u16string& name : zulu->subKeyNames()) {
        std::int32_t status = win32::kErrorSuccess;
        if (auto home = zulu->stringValue(name, u"InstallationPath", &status)) {
            const std::u16string version =
                name.starts_with(kZuluPrefix) ? name.substr(std::size(kZuluPrefix) - 1) : name;
            records.push_back({keyPath({software.shown, kZulu, name}), version, *home});
        } else {
            software.tellPassedOver(registry, keyPath({kZulu, name}), u"InstallationPath", status);
        }
    }
}

}  // namespace

bool isNewerVersion(std::u16string_view a, std::u16string_view b) {
    const std::vector<std::u16string_view> left = numbersOf(a), right = numbersOf(b);
    for (std::size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
        const int order = compareNumbers(i < left.size() ? left[i] : u"0", i < right.size() ? right[i] : u"0");
        if (order != 0) return order > 0;
    }
    // Equal numbers: a name without any ("preview") comes after one with them.
    return !left.empty() && right.empty();
}

std::vector<InstallerRecord> installerRecords(platform::Registry& registry, std::uint32_t view,
                                              platform::Trace& trace) {
    const std::uint32_t access = win32::kKeyRead | view;
    // Both views share HKEY_CURRENT_USER\SOFTWARE: it is read once, with the 64-bit view.
    std::vector<Software> places;
    if (view == win32::kKeyWow64_32Key) {
        places.push_back({win32::kHkeyLocalMachine, access, u"HKLM\\SOFTWARE\\WOW6432Node", trace});
    } else {
        places.push_back({win32::kHkeyLocalMachine, access, u"HKLM\\SOFTWARE", trace});
        places.push_back({win32::kHkeyCurrentUser, access, u"HKCU\\SOFTWARE", trace});
    }
    std::vector<InstallerRecord> records;
    for (const Software& software : places) {
        if (const auto vendors = software.open(registry, u"")) {
            for (const std::u16string& vendor : vendors->subKeyNames()) {
                for (const char16_t* product : {u"JDK", u"JRE"}) {
                    readMsiRecords(registry, software, keyPath({vendor, product}), records);
                }
            }
        }
        readZuluRecords(registry, software, records);
    }
    std::stable_sort(records.begin(), records.end(), [](const InstallerRecord& a, const InstallerRecord& b) {
        return isNewerVersion(a.version, b.version);
    });
    return records;
}

}  // namespace zep::discovery
