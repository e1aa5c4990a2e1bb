// The resources of zep.exe, seen from a program that links the same ones:
// the string table's languages, what the manifest makes of the process, and
// the version information.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/windows/win32.h"
#include "tests/support/expected_texts.h"

namespace zep::test {
namespace {

using platform::fromWide;

BOOL CALLBACK collectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(names)->push_back(IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name)
                                                                                     : ~ULONG_PTR{0});
    return TRUE;
}

BOOL CALLBACK collectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

TEST(Resources, TheStringTableIsOneBlockInExactlyTheNineLanguages) {
    std::vector<ULONG_PTR> blocks;
    ::EnumResourceNamesW(nullptr, RT_STRING, collectName, reinterpret_cast<LONG_PTR>(&blocks));
    EXPECT_EQ(blocks, std::vector<ULONG_PTR>{7}) << "ids 96 to 111";

    std::vector<WORD> languages, expected;
    ::EnumResourceLanguagesW(nullptr, RT_STRING, MAKEINTRESOURCEW(7), collectLanguage,
                             reinterpret_cast<LONG_PTR>(&languages));
    for (const ExpectedLanguage& language : kExpectedLanguages) expected.push_back(language.langid);
    std::sort(languages.begin(), languages.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(languages, expected);
}

TEST(Resources, TheAnsiCodePageIsTheSystemsNotTheManifests) {
    // Wine takes it from the locale, which is C.UTF-8 for the tests: 1252.
    EXPECT_NE(::GetACP(), 65001u);
}

TEST(Resources, TheManifestBringsTheCommonControlsOfVersion6) {
    // Version 6 lives in its side-by-side assembly, and only the manifest's
    // dependency leads there; without it comctl32 comes from the system
    // directory. (Wine's version 6 still answers DllGetVersion with 5.81.)
    const platform::Library comctl32 = platform::Library::load(u"comctl32.dll");
    ASSERT_TRUE(comctl32);
    HMODULE module = nullptr;
    constexpr DWORD kByAddress = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    const auto* inside = static_cast<LPCWSTR>(comctl32.symbol("InitCommonControlsEx"));
    ASSERT_TRUE(::GetModuleHandleExW(kByAddress, inside, &module));
    wchar_t path[MAX_PATH * 4];
    std::u16string file = fromWide({path, ::GetModuleFileNameW(module, path, MAX_PATH * 4)});
    for (char16_t& unit : file) {
        if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
    }
    EXPECT_NE(file.find(u"\\winsxs\\"), std::u16string::npos) << std::string(file.begin(), file.end());
    EXPECT_NE(file.find(u"microsoft.windows.common-controls_6595b64144ccf1df_6."), std::u16string::npos)
        << std::string(file.begin(), file.end());
}

TEST(Resources, TheManifestAsksForNoElevation) {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const char*>(::LockResource(::LoadResource(nullptr, found)));
    const std::string manifest(data, ::SizeofResource(nullptr, found));
    EXPECT_NE(manifest.find(R"(<requestedExecutionLevel level="asInvoker")"), std::string::npos);
    EXPECT_EQ(manifest.find("requireAdministrator"), std::string::npos);
    EXPECT_EQ(manifest.find("highestAvailable"), std::string::npos);
}

// The version information of the running program, as Explorer shows it.
class VersionInfo : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t path[MAX_PATH * 4];
        ASSERT_GT(::GetModuleFileNameW(nullptr, path, MAX_PATH * 4), 0u);
        DWORD ignored = 0;
        data_.resize(::GetFileVersionInfoSizeW(path, &ignored));
        ASSERT_FALSE(data_.empty());
        ASSERT_TRUE(::GetFileVersionInfoW(path, 0, static_cast<DWORD>(data_.size()), data_.data()));
    }

    std::u16string text(const wchar_t* name) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring key = L"\\StringFileInfo\\040904B0\\" + std::wstring(name);
        if (!::VerQueryValueW(data_.data(), key.c_str(), &value, &length) || length == 0) return u"(missing)";
        return fromWide(static_cast<const wchar_t*>(value));
    }

    const VS_FIXEDFILEINFO* fixed() {
        void* value = nullptr;
        UINT length = 0;
        if (!::VerQueryValueW(data_.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
            return nullptr;
        }
        return static_cast<const VS_FIXEDFILEINFO*>(value);
    }

private:
    std::vector<char> data_;
};

TEST_F(VersionInfo, CarriesTheProjectVersionAndTheProductsNames) {
    const VS_FIXEDFILEINFO* info = fixed();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info->dwFileVersionMS, (ZEP_EXPECTED_VERSION_MAJOR << 16) | ZEP_EXPECTED_VERSION_MINOR);
    EXPECT_EQ(info->dwFileVersionLS, (ZEP_EXPECTED_VERSION_PATCH << 16) | ZEP_EXPECTED_VERSION_TWEAK);
    EXPECT_EQ(info->dwProductVersionMS, info->dwFileVersionMS);
    EXPECT_EQ(info->dwProductVersionLS, info->dwFileVersionLS);
    EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_APP));

    const std::string digits =
        std::to_string(ZEP_EXPECTED_VERSION_MAJOR) + "." + std::to_string(ZEP_EXPECTED_VERSION_MINOR) + "." +
        std::to_string(ZEP_EXPECTED_VERSION_PATCH) + "." + std::to_string(ZEP_EXPECTED_VERSION_TWEAK);
    const std::u16string version(digits.begin(), digits.end());
    EXPECT_EQ(text(L"FileVersion"), version);
    EXPECT_EQ(text(L"ProductVersion"), version);
    EXPECT_EQ(text(L"OriginalFilename"), u"zep.exe");
    EXPECT_EQ(text(L"ProductName"), u"Gridmere");
    EXPECT_EQ(text(L"FileDescription"), u"Launcher of the Gridmere traffic-simulation service");
    EXPECT_NE(text(L"CompanyName"), u"(missing)");
    EXPECT_NE(text(L"LegalCopyright"), u"(missing)");
}

}  // namespace
}  // namespace zep::test
