// The resources of zep.exe and zepw.exe, read from the executables
// themselves: the string table's languages, the manifest, the icon, the
// version information; and what that manifest makes of a process, seen from
// this program, which carries the same resources.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/handle.h"
#include "platform/library.h"
#include "platform/text.h"
#include "platform/windows/win32.h"
#include "tests/support/expected_texts.h"
#include "tests/support/process.h"

namespace zep::test {
namespace {

using platform::fromWide;
using platform::wide;
using DataFile = platform::UniqueHandle<platform::NullHandleTraits<HMODULE, &::FreeLibrary>>;

struct Executable {
    const char* name;
    std::u16string path;
    std::u16string description;
};

// Names the executable in test names and messages, instead of its bytes.
void PrintTo(const Executable& executable, std::ostream* out) { *out << executable.name; }

// Each launcher with what its own version information must say.
std::vector<Executable> executables() {
    const std::u16string description = u"Launcher of the Gridmere traffic-simulation service";
    return {{"zep.exe", zepExecutable(), description},
            {"zepw.exe", zepwExecutable(), description + u", without a console window"}};
}

BOOL CALLBACK collectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(names)->push_back(IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name)
                                                                                     : ~ULONG_PTR{0});
    return TRUE;
}

BOOL CALLBACK collectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

// A resource's bytes, as the file holds them.
std::string resource(HMODULE module, LPCWSTR type, LPCWSTR name) {
    HRSRC found = ::FindResourceW(module, name, type);
    if (found == nullptr) return "";
    const auto* data = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    return data != nullptr ? std::string(data, ::SizeofResource(module, found)) : "";
}

class ExecutableResources : public ::testing::TestWithParam<Executable> {
protected:
    void SetUp() override {
        module_.reset(::LoadLibraryExW(wide(GetParam().path), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module_) << "cannot read " << GetParam().name;
    }
    HMODULE module() const { return module_.get(); }

    // A text of the version information, as Explorer shows it.
    std::u16string versionText(const std::vector<char>& data, const wchar_t* name) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring key = L"\\StringFileInfo\\040904B0\\" + std::wstring(name);
        if (!::VerQueryValueW(data.data(), key.c_str(), &value, &length) || length == 0) return u"(missing)";
        return fromWide(static_cast<const wchar_t*>(value));
    }

private:
    DataFile module_;
};

TEST_P(ExecutableResources, StringTableIsOneBlockInExactlyTheNineLanguages) {
    std::vector<ULONG_PTR> blocks;
    ::EnumResourceNamesW(module(), RT_STRING, collectName, reinterpret_cast<LONG_PTR>(&blocks));
    EXPECT_EQ(blocks, std::vector<ULONG_PTR>{7}) << "ids 96 to 111";
    std::vector<WORD> languages, expected;
    ::EnumResourceLanguagesW(module(), RT_STRING, MAKEINTRESOURCEW(7), collectLanguage,
                             reinterpret_cast<LONG_PTR>(&languages));
    for (const ExpectedLanguage& language : kExpectedLanguages) expected.push_back(language.langid);
    std::sort(languages.begin(), languages.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(languages, expected);
}

TEST_P(ExecutableResources, ManifestAsksForTheInvokersLevelAndLongPathsAndLeavesTheCodePageToTheSystem) {
    const std::string manifest = resource(module(), RT_MANIFEST, MAKEINTRESOURCEW(1));
    EXPECT_NE(manifest.find(R"(<requestedExecutionLevel level="asInvoker")"), std::string::npos) << manifest;
    // Wine has no path limit to lift, so only the manifest can tell.
    EXPECT_NE(manifest.find(R"(<longPathAware xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">true<)"),
              std::string::npos);
    EXPECT_EQ(manifest.find("requireAdministrator"), std::string::npos);
    EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos)
        << "runtimes would misread their options in a code page forced on the process";
}

TEST_P(ExecutableResources, IconComesInItsFourSizes) {
    std::vector<ULONG_PTR> groups;
    ::EnumResourceNamesW(module(), RT_GROUP_ICON, collectName, reinterpret_cast<LONG_PTR>(&groups));
    ASSERT_EQ(groups.size(), 1u);
    // GRPICONDIR: reserved, type, count (three WORDs), then an entry of 14
    // bytes an image, beginning with its width (0 for 256).
    const std::string group = resource(module(), RT_GROUP_ICON, MAKEINTRESOURCEW(groups[0]));
    ASSERT_GE(group.size(), 6u);
    const auto count = static_cast<unsigned char>(group[4]);
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::vector<int> widths;
    for (unsigned i = 0; i < count; ++i) {
        const auto width = static_cast<unsigned char>(group[6 + 14 * i]);
        widths.push_back(width == 0 ? 256 : width);
    }
    std::sort(widths.begin(), widths.end());
    EXPECT_EQ(widths, (std::vector<int>{16, 32, 48, 256}));
}

TEST_P(ExecutableResources, VersionInformationCarriesTheProjectVersionAndItsOwnNames) {
    DWORD ignored = 0;
    std::vector<char> data(::GetFileVersionInfoSizeW(wide(GetParam().path), &ignored));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(::GetFileVersionInfoW(wide(GetParam().path), 0, static_cast<DWORD>(data.size()), data.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO));
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
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
    const std::string name = GetParam().name;
    EXPECT_EQ(versionText(data, L"FileVersion"), version);
    EXPECT_EQ(versionText(data, L"ProductVersion"), version);
    EXPECT_EQ(versionText(data, L"OriginalFilename"), std::u16string(name.begin(), name.end()));
    EXPECT_EQ(versionText(data, L"ProductName"), u"Gridmere");
    EXPECT_EQ(versionText(data, L"FileDescription"), GetParam().description);
    EXPECT_NE(versionText(data, L"CompanyName"), u"(missing)");
    EXPECT_NE(versionText(data, L"LegalCopyright"), u"(missing)");
    const std::string manifest = resource(module(), RT_MANIFEST, MAKEINTRESOURCEW(1));
    EXPECT_NE(manifest.find(R"(name="Gridmere.Zep" version=")" + digits + '"'), std::string::npos) << manifest;
}

INSTANTIATE_TEST_SUITE_P(Launchers, ExecutableResources, ::testing::ValuesIn(executables()),
                         [](const ::testing::TestParamInfo<Executable>& executable) {
                             return executable.param.name[3] == 'w' ? std::string("zepw") : std::string("zep");
                         });

// --- what the manifest makes of a process, in this one -----------------------------

TEST(Manifest, LeavesTheAnsiCodePageToTheSystem) {
    // Wine takes it from the locale, C.UTF-8 for the tests, which gives 1252.
    EXPECT_NE(::GetACP(), 65001u);
}

TEST(Manifest, BringsTheCommonControlsOfVersion6) {
    // Version 6 lives in its side-by-side assembly, and only the manifest's
    // dependency leads there; without it comctl32 comes from the system
    // directory. (Wine's version 6 still answers DllGetVersion with 5.81.)
    const platform::Library comctl32 = platform::Library::load(u"comctl32.dll");
    ASSERT_TRUE(comctl32);
    HMODULE module = nullptr;
    constexpr DWORD kByAddress = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    const auto* inside = reinterpret_cast<LPCWSTR>(comctl32.function<void (*)()>("InitCommonControlsEx"));
    ASSERT_TRUE(::GetModuleHandleExW(kByAddress, inside, &module));
    wchar_t path[MAX_PATH * 4];
    std::u16string file = fromWide({path, ::GetModuleFileNameW(module, path, MAX_PATH * 4)});
    for (char16_t& unit : file) {
        if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
    }
    EXPECT_NE(file.find(u"\\winsxs\\"), std::u16string::npos) << platform::utf16ToUtf8(file);
    EXPECT_NE(file.find(u"microsoft.windows.common-controls_6595b64144ccf1df_6."), std::u16string::npos)
        << platform::utf16ToUtf8(file);
}

}  // namespace
}  // namespace zep::test
