// The records of today's Java installers: found under any vendor's name, in
// both roots, newest version first, and only where they hold a string.

#include <gtest/gtest.h>

#include "discovery/installer_records.h"
#include "tests/support/fake_registry.h"

namespace zep::discovery {
namespace {

using test::FakeRegistry;

TEST(InstallerRecords, VersionsCompareAsRunsOfDigitsWhateverSeparatesThem) {
    const struct {
        std::u16string_view newer, older;
    } newer[] = {
        {u"21.0.5.11", u"21.0.5"},
        {u"17.0.10", u"17.0.9"},
        {u"100", u"99"},
        {u"23", u"21.0.5.11"},
        {u"1.8.0.432", u"1.8"},
        {u"99999999999999999999.1", u"99999999999999999999"},
        {u"1.8.0_402", u"1.8.0_301"},  // Oracle's update numbers
        {u"22.0.1+8", u"21.0.5.11"},   // a build after '+'
        {u"21.0.5.11", u"8.0.402.6"},
        {u"22.0.1+8", u"8.0.402.6"},
        {u"21.0.5+11", u"8"},
        {u"0", u"abc"},  // equal numbers: the name without digits comes last
        {u"1", u""},
        {u"21.0.5+11", u"jdk"},
    };
    for (const auto& [a, b] : newer) {
        EXPECT_TRUE(isNewerVersion(a, b)) << testing::PrintToString(std::u16string(a));
        EXPECT_FALSE(isNewerVersion(b, a)) << testing::PrintToString(std::u16string(b));
    }
    const struct {
        std::u16string_view a, b;
    } equal[] = {{u"21", u"21.0.0"}, {u"017", u"17"}, {u"21.0.5+11", u"21.0.5.11"}, {u"", u"x"}, {u"jdk", u"jre"}};
    for (const auto& [a, b] : equal) {
        EXPECT_FALSE(isNewerVersion(a, b)) << testing::PrintToString(std::u16string(a));
        EXPECT_FALSE(isNewerVersion(b, a)) << testing::PrintToString(std::u16string(b));
    }
}

TEST(InstallerRecords, EveryVendorBothRootsNewestFirst) {
    platform::Trace quiet;  // off
    FakeRegistry registry;
    registry.add(u"HKLM\\SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.13.11\\hotspot\\MSI",
                 {{u"Path", {test::kRegSz, u"C:\\17"}}});
    registry.add(u"HKLM\\SOFTWARE\\A Vendor Of Tomorrow\\JRE\\21.0.5\\hotspot\\MSI",
                 {{u"Path", {test::kRegExpandSz, u"C:\\21"}}});
    registry.add(u"HKCU\\SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.5\\hotspot\\MSI",
                 {{u"Path", {test::kRegSz, u"C:\\u21"}}});
    registry.add(u"HKLM\\SOFTWARE\\Microsoft\\JDK\\25\\hotspot\\MSI", {{u"Main", {test::kRegSz, u"1"}}});  // no Path
    registry.add(u"HKLM\\SOFTWARE\\Odd\\JDK\\24\\hotspot\\MSI", {{u"Path", {test::kRegDword, u"C:\\24"}}});
    registry.add(u"HKLM\\SOFTWARE\\Odd\\JDK\\26\\hotspot");  // no MSI key
    registry.add(u"HKLM\\SOFTWARE\\Other\\JDK\\preview\\openj9\\MSI", {{u"Path", {test::kRegSz, u"C:\\preview"}}});
    registry.add(u"HKLM\\SOFTWARE\\Azul Systems\\Zulu\\zulu-23", {{u"InstallationPath", {test::kRegSz, u"C:\\z23"}}});
    registry.add(u"HKLM32\\SOFTWARE\\Eclipse Adoptium\\JDK\\30\\hotspot\\MSI", {{u"Path", {test::kRegSz, u"C:\\x86"}}});

    std::vector<std::u16string> found;
    for (const InstallerRecord& record : installerRecords(registry, platform::win32::kKeyWow64_64Key, quiet)) {
        found.push_back(record.version + u" " + record.home + u" " + record.key);
    }
    EXPECT_EQ(found, (std::vector<std::u16string>{
                         u"23 C:\\z23 HKLM\\SOFTWARE\\Azul Systems\\Zulu\\zulu-23",
                         u"21.0.5 C:\\21 HKLM\\SOFTWARE\\A Vendor Of Tomorrow\\JRE\\21.0.5\\hotspot\\MSI",
                         u"21.0.5 C:\\u21 HKCU\\SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.5\\hotspot\\MSI",
                         u"17.0.13.11 C:\\17 HKLM\\SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.13.11\\hotspot\\MSI",
                         u"preview C:\\preview HKLM\\SOFTWARE\\Other\\JDK\\preview\\openj9\\MSI",
                     }));
    EXPECT_EQ(registry.openKeys, 0) << "every key is closed";

    const auto x86 = installerRecords(registry, platform::win32::kKeyWow64_32Key, quiet);
    ASSERT_EQ(x86.size(), 1u) << "HKCU, which both views share, is read with the 64-bit one";
    EXPECT_EQ(x86[0].key, u"HKLM\\SOFTWARE\\WOW6432Node\\Eclipse Adoptium\\JDK\\30\\hotspot\\MSI");
}

}  // namespace
}  // namespace zep::discovery
