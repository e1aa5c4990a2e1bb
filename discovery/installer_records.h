#pragma once
// The homes that Java installers record in the registry beside, or instead
// of, the JavaSoft keys: the MSI installer shared by several OpenJDK
// distributions writes SOFTWARE\<vendor>\<JDK|JRE>\<version>\<jvm>\MSI, value
// Path, whatever the vendor's name; Azul's writes
// SOFTWARE\Azul Systems\Zulu\zulu-<n>, value InstallationPath.

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "platform/trace.h"

namespace zep::discovery {

struct InstallerRecord {
    std::u16string key;      // where it was read, e.g. HKLM\SOFTWARE\...\MSI
    std::u16string version;  // as the key names it
    std::u16string home;
};

// True when version `a` is newer than `b`, as vendors write versions
// ("1.8.0_402", "22.0.1+8", "21.0.5.11"): the runs of digits in each name
// compare left to right as whole numbers of any length, a missing one
// counting 0, whatever stands between them. Where all are equal, a name
// without any digit comes after one with them; otherwise neither is newer.
bool isNewerVersion(std::u16string_view a, std::u16string_view b);

// Every record of HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER in the registry
// view `view` (KEY_WOW64_64KEY or KEY_WOW64_32KEY; HKEY_CURRENT_USER\SOFTWARE,
// which both views share, only in the 64-bit one), newest version first;
// equal versions in the order read, HKEY_LOCAL_MACHINE first. Values that are
// not strings are passed over, and said so in `trace`; every key opened is
// closed again.
std::vector<InstallerRecord> installerRecords(platform::Registry& registry, std::uint32_t view, platform::Trace& trace);

}  // namespace zep::discovery
