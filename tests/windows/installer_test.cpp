// The Windows installer, zep-<version>.msi, installed, upgraded and removed by
// Wine's msiexec in a prefix made afresh for every run, and checked as a user
// and the system see it: the installed folder against the package's own
// payload, the Start-menu shortcut read through the shell, the launch that the
// shortcut makes (the test double standing in for Java), the file types, and
// the product's registration. Three packages: the build's own; one of the next
// version that carries the double's home as its runtime and a README of its
// own; and a rebuild of the build's version (a product code of its own).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/handle.h"
#include "platform/runtime_encoding.h"
#include "platform/text.h"
#include "platform/windows/win32.h"
#include "tests/support/file_text.h"
#include "tests/support/message_box_windows.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/test_homes.h"

// After win32.h, which they need.
#include <knownfolders.h>
#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace zep::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::fromWide;
using platform::wide;

constexpr auto kInstallerEnds = 120s;
constexpr auto kBoxAppears = 60s;
constexpr auto kLaunchEnds = 60s;
constexpr char16_t kShortcut[] = u"Gridmere LaneView.lnk";
constexpr char kDowngradeRefused[] =
    "A newer version of Gridmere LaneView is already installed. To install this one, uninstall the newer version "
    "first.";
constexpr char kLaneViewMain[] =
    "CallStaticVoidMethod class=com/quorvane/gridmere/traffic/classic/ui/x/LaneViewX "
    "method=main([Ljava/lang/String;)V args=0";
constexpr char kLaneViewMainWithFile[] =
    "CallStaticVoidMethod class=com/quorvane/gridmere/traffic/classic/ui/x/LaneViewX "
    "method=main([Ljava/lang/String;)V args=1";
constexpr char16_t kUninstallKey[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string utf8(std::u16string_view text) { return platform::utf16ToUtf8(text); }

// A path as the double logs an option holding it: in the ANSI code page,
// each backslash doubled and each byte outside printable ASCII as \xHH.
std::string escapedAnsi(std::u16string_view text) {
    std::string escaped;
    for (const char byte : platform::toRuntimeEncoding(text)) {
        const auto value = static_cast<unsigned char>(byte);
        if (byte == '\\') {
            escaped += "\\\\";
        } else if (value >= 0x20 && value <= 0x7E) {
            escaped += byte;
        } else {
            constexpr char kHex[] = "0123456789ABCDEF";
            escaped += {'\\', 'x', kHex[value >> 4], kHex[value & 15]};
        }
    }
    return escaped;
}

// A program of the system's own folder.
std::u16string systemProgram(std::u16string_view name) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    return fromWide(system) + u"\\" + std::u16string(name);
}

struct MsiHandleTraits {
    using pointer = MSIHANDLE;
    static constexpr pointer invalid() noexcept { return 0; }
    static constexpr bool isValid(pointer handle) noexcept { return handle != 0; }
    void close(pointer handle) const noexcept { ::MsiCloseHandle(handle); }
};
using MsiHandle = platform::UniqueHandle<MsiHandleTraits>;

template <typename Interface>
struct ComTraits {
    using pointer = Interface*;
    static constexpr pointer invalid() noexcept { return nullptr; }
    static constexpr bool isValid(pointer object) noexcept { return object != nullptr; }
    void close(pointer object) const noexcept { object->Release(); }
};
template <typename Interface>
using ComObject = platform::UniqueHandle<ComTraits<Interface>>;

// A package and what it installs: its payload, staged by the build beside it.
struct Package {
    fs::path msi, payload, icon;
    std::u16string productCode, upgradeCode, version;
};

// The rows that a query of a package's database gives, each field as text;
// a query that cannot run is a failure of the test.
std::vector<std::vector<std::u16string>> packageRows(const fs::path& msi, const std::u16string& query) {
    std::vector<std::vector<std::u16string>> rows;
    MSIHANDLE raw = 0;
    if (::MsiOpenDatabaseW(msi.c_str(), MSIDBOPEN_READONLY, &raw) != ERROR_SUCCESS) {
        ADD_FAILURE() << "no database " << utf8(msi.u16string());
        return rows;
    }
    const MsiHandle database(raw);
    if (::MsiDatabaseOpenViewW(database.get(), wide(query), &raw) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot query " << utf8(query);
        return rows;
    }
    const MsiHandle view(raw);
    if (::MsiViewExecute(view.get(), 0) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot run " << utf8(query);
        return rows;
    }
    while (::MsiViewFetch(view.get(), &raw) == ERROR_SUCCESS) {
        const MsiHandle record(raw);
        std::vector<std::u16string> row;
        for (UINT field = 1; field <= ::MsiRecordGetFieldCount(record.get()); ++field) {
            wchar_t value[256] = {};
            DWORD size = 256;
            if (::MsiRecordGetStringW(record.get(), field, value, &size) != ERROR_SUCCESS) {
                row.push_back(u"<unreadable>");
            } else {
                row.push_back(fromWide({value, size}));
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// A property of a package, from its database.
std::u16string packageProperty(const fs::path& msi, std::u16string_view name) {
    const auto rows =
        packageRows(msi, u"SELECT `Value` FROM `Property` WHERE `Property` = '" + std::u16string(name) + u"'");
    return rows.empty() ? u"<no property>" : rows[0][0];
}

// `relative` is relative to the build tree, `work` is the package's work
// directory there (see cmake/ZepMsi.cmake).
Package package(const char* relative, const char* work) {
    const fs::path build = fs::path(testProgramDirectory()).parent_path();
    Package result;
    result.msi = (build / relative).make_preferred();
    result.payload = (build / work / "files").make_preferred();
    result.icon = (build / work / "zep.ico").make_preferred();
    result.productCode = packageProperty(result.msi, u"ProductCode");
    result.upgradeCode = packageProperty(result.msi, u"UpgradeCode");
    result.version = packageProperty(result.msi, u"ProductVersion");
    return result;
}

std::string bytesOf(const fs::path& file) {
    return fileText(file).value_or("<unreadable " + utf8(file.u16string()) + ">");
}

// Every file and directory under `root`, relative, with '/' (a directory
// with one at its end too), sorted.
std::vector<std::string> treeOf(const fs::path& root) {
    std::vector<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::u8string relative = entry.path().lexically_relative(root).generic_u8string();
        entries.emplace_back(reinterpret_cast<const char*>(relative.data()), relative.size());
        if (entry.is_directory()) entries.back() += '/';
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

fs::path knownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    fs::path result;
    if (::SHGetKnownFolderPath(id, 0, nullptr, &path) == S_OK) result = path;
    ::CoTaskMemFree(path);
    return result;
}

std::vector<std::string> names(const std::set<fs::path>& paths) {
    std::vector<std::string> result;
    for (const fs::path& path : paths) result.push_back(utf8(path.u16string()));
    return result;
}

// Every shortcut in the Start menus and on the desktops, the user's and
// everyone's. A desktop is looked at, not into: Wine links the user's to the
// Unix home directory.
std::set<fs::path> allShortcuts() {
    std::set<fs::path> shortcuts;
    const auto add = [&](const fs::path& file) {
        if (file.extension() == L".lnk") shortcuts.insert(file);
    };
    for (const KNOWNFOLDERID* folder : {&FOLDERID_StartMenu, &FOLDERID_CommonStartMenu}) {
        for (const auto& entry : fs::recursive_directory_iterator(knownFolder(*folder))) add(entry.path());
    }
    for (const KNOWNFOLDERID* folder : {&FOLDERID_Desktop, &FOLDERID_PublicDesktop}) {
        for (const auto& entry : fs::directory_iterator(knownFolder(*folder))) add(entry.path());
    }
    return shortcuts;
}

constexpr int kTextSize = 4096;

struct Shortcut {
    std::u16string target, arguments, workingDirectory;
};

// What the shell reads from a .lnk file to start it.
Shortcut readShortcut(const fs::path& file) {
    const HRESULT apartment = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const platform::ScopeExit leave([apartment] {
        if (SUCCEEDED(apartment)) ::CoUninitialize();
    });
    IShellLinkW* rawLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&rawLink)))) {
        ADD_FAILURE() << "no shell link object";
        return {};
    }
    const ComObject<IShellLinkW> link(rawLink);
    IPersistFile* rawFile = nullptr;
    if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)))) return {};
    const ComObject<IPersistFile> persisted(rawFile);
    if (FAILED(persisted.get()->Load(file.c_str(), STGM_READ))) {
        ADD_FAILURE() << "cannot load " << file.string();
        return {};
    }
    wchar_t text[kTextSize] = {};
    Shortcut shortcut;
    if (SUCCEEDED(link.get()->GetPath(text, kTextSize, nullptr, SLGP_RAWPATH))) shortcut.target = fromWide(text);
    text[0] = L'\0';
    if (SUCCEEDED(link.get()->GetArguments(text, kTextSize))) shortcut.arguments = fromWide(text);
    text[0] = L'\0';
    if (SUCCEEDED(link.get()->GetWorkingDirectory(text, kTextSize))) shortcut.workingDirectory = fromWide(text);
    return shortcut;
}

std::vector<std::u16string> relatedProducts(const std::u16string& upgradeCode) {
    std::vector<std::u16string> products;
    wchar_t code[39];
    for (DWORD index = 0; ::MsiEnumRelatedProductsW(wide(upgradeCode), 0, index, code) == ERROR_SUCCESS; ++index) {
        products.push_back(fromWide(code));
    }
    return products;
}

std::u16string productInfo(const std::u16string& productCode, const wchar_t* property) {
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (::MsiGetProductInfoW(wide(productCode), property, value, &size) != ERROR_SUCCESS) return u"<none>";
    return fromWide({value, size});
}

// The product's state in the machine's installations: "5" when installed there.
std::u16string machineProductState(const std::u16string& productCode) {
    wchar_t value[16] = {};
    DWORD size = 16;
    if (::MsiGetProductInfoExW(wide(productCode), nullptr, MSIINSTALLCONTEXT_MACHINE, INSTALLPROPERTY_PRODUCTSTATE,
                               value, &size) != ERROR_SUCCESS) {
        return u"<none>";
    }
    return fromWide({value, size});
}

// A value of the product's entry in Apps & features, or nothing.
std::u16string uninstallValue(const std::u16string& productCode, const wchar_t* name) {
    const std::u16string key = kUninstallKey + productCode;
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, wide(key), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return u"<none>";
    }
    return fromWide(value);
}

bool uninstallEntryExists(const std::u16string& productCode) {
    HKEY raw = nullptr;
    const std::u16string key = kUninstallKey + productCode;
    const bool opened = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(key), 0, KEY_READ, &raw) == ERROR_SUCCESS;
    const platform::UniqueHandle<platform::NullHandleTraits<HKEY, &::RegCloseKey>> owned(opened ? raw : nullptr);
    return opened;
}

constexpr char16_t kClasses[] = u"SOFTWARE\\Classes\\";

// The default value of a key of the machine's file types, or "<none>".
std::u16string classesValue(std::u16string_view key) {
    const std::u16string path = kClasses + std::u16string(key);
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, wide(path), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return u"<none>";
    }
    return fromWide(value);
}

bool classesKeyExists(std::u16string_view key) {
    HKEY raw = nullptr;
    const std::u16string path = kClasses + std::u16string(key);
    const bool opened = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(path), 0, KEY_READ, &raw) == ERROR_SUCCESS;
    const platform::UniqueHandle<platform::NullHandleTraits<HKEY, &::RegCloseKey>> owned(opened ? raw : nullptr);
    return opened;
}

// The file types that the package registers, and the extensions' keys.
constexpr std::u16string_view kTypeKeys[] = {u".gmodel", u".grun", u"Gridmere.RoadModel", u"Gridmere.Run"};

// A path in double quotes, for a command line.
std::u16string quoted(const fs::path& path) {
    std::u16string text;
    text += u'"';
    text += path.u16string();
    text += u'"';
    return text;
}

std::u16string withoutTrailingSeparator(std::u16string path) {
    if (path.size() > 3 && path.back() == u'\\') path.pop_back();
    return path;
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(product.productCode.starts_with(u"<")) << utf8(product.msi.u16string());
        ASSERT_NE(product.productCode, rebuilt.productCode) << "a rebuild has a product code of its own";
        ASSERT_EQ(product.version, rebuilt.version);
        ASSERT_EQ(relatedProducts(product.upgradeCode), std::vector<std::u16string>{})
            << "the prefix is made afresh for every run and every test uninstalls what it installed";
        shortcutsBefore = allShortcuts();
        for (const fs::path& file : shortcutsBefore) ASSERT_NE(file.filename().u16string(), kShortcut);
    }

    // What a test left installed goes, so that the next one starts clean.
    void TearDown() override {
        for (const std::u16string& code : relatedProducts(product.upgradeCode)) msiexec({u"/x", code, u"/qn"});
    }

    // msiexec with these arguments, as they are (the README's quoting), and a
    // log in the scratch directory; its exit code.
    int msiexec(std::vector<std::u16string> arguments) {
        const fs::path log = scratch / ("msiexec-" + std::to_string(++runs) + ".log");
        arguments.insert(arguments.end(), {u"/l*v", quoted(log)});
        ProcessOptions options;
        options.verbatimArguments = true;
        options.timeout = kInstallerEnds;
        const ProcessResult result = runProgram(msiexecProgram(), arguments, options);
        EXPECT_FALSE(result.timedOut);
        lastLog = bytesOf(log);
        return result.exitCode;
    }

    int install(const Package& package, std::vector<std::u16string> more = {}) {
        std::vector<std::u16string> arguments{u"/i", quoted(package.msi), u"/qn"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return msiexec(arguments);
    }

    static std::u16string msiexecProgram() { return systemProgram(u"msiexec.exe"); }

    // `package` is the one product installed, in `folder`: its payload and
    // nothing else, the one shortcut, the registration.
    void expectInstalled(const Package& package, const fs::path& folder) {
        SCOPED_TRACE("installed: " + utf8(package.msi.filename().u16string()));
        ASSERT_TRUE(fs::is_directory(folder)) << utf8(folder.u16string()) << "\n" << lastLog;
        EXPECT_EQ(treeOf(folder), treeOf(package.payload));
        for (const std::string& entry : treeOf(package.payload)) {
            if (entry.ends_with('/')) continue;
            const fs::path relative = fs::path(platform::utf8ToUtf16(entry)).make_preferred();
            EXPECT_TRUE(bytesOf(folder / relative) == bytesOf(package.payload / relative)) << entry << " differs";
        }

        std::vector<fs::path> added;
        for (const fs::path& file : allShortcuts()) {
            if (!shortcutsBefore.contains(file)) added.push_back(file);
        }
        ASSERT_EQ(added.size(), 1u) << "one shortcut and no other";
        EXPECT_EQ(utf8(added[0].filename().u16string()), utf8(kShortcut));
        // The Start menu's Programs: the user's under Wine, which takes no
        // account of a per-machine install here; everyone's on Windows.
        EXPECT_EQ(utf8(added[0].parent_path().filename().u16string()), "Programs") << utf8(added[0].u16string());
        shortcut = readShortcut(added[0]);
        EXPECT_EQ(utf8(shortcut.target), utf8((folder / "zepw.exe").u16string()));
        EXPECT_EQ(utf8(shortcut.arguments), "zep");
        EXPECT_EQ(utf8(withoutTrailingSeparator(shortcut.workingDirectory)), utf8(folder.u16string()));

        EXPECT_EQ(relatedProducts(package.upgradeCode), std::vector<std::u16string>{package.productCode});
        EXPECT_EQ(utf8(productInfo(package.productCode, INSTALLPROPERTY_VERSIONSTRING)), utf8(package.version));
        // Registered for the machine (Wine reports AssignmentType 0 even so).
        EXPECT_EQ(utf8(machineProductState(package.productCode)), "5") << "installed for the machine";
        const std::u16string icon = productInfo(package.productCode, INSTALLPROPERTY_PRODUCTICON);
        EXPECT_TRUE(bytesOf(icon) == bytesOf(package.icon)) << "the product's icon is zep.exe's: " << utf8(icon);
        EXPECT_EQ(utf8(uninstallValue(package.productCode, L"DisplayName")), "Gridmere LaneView");
        EXPECT_EQ(utf8(uninstallValue(package.productCode, L"DisplayVersion")), utf8(package.version));
        EXPECT_EQ(utf8(withoutTrailingSeparator(uninstallValue(package.productCode, L"InstallLocation"))),
                  utf8(folder.u16string()));

        // The file types, with the icon of the launcher where it is now.
        EXPECT_EQ(utf8(classesValue(u".gmodel")), "Gridmere.RoadModel");
        if (expectRunExtension) {
            EXPECT_EQ(utf8(classesValue(u".grun")), "Gridmere.Run");
        }
        for (const std::u16string_view type : {u"Gridmere.RoadModel", u"Gridmere.Run"}) {
            EXPECT_EQ(utf8(classesValue(std::u16string(type) + u"\\DefaultIcon")),
                      utf8((folder / "zepw.exe").u16string()) + ",0")
                << utf8(type);
        }
    }

    // Starts what the shortcut names, as the shell would: its arguments as
    // they are, in its working folder; `javaHome` is the runtime.
    void expectShortcutLaunches(const fs::path& javaHome) {
        const JvmLog log(scratch / "jvm.log");
        log.clear();
        ProcessOptions options;
        options.verbatimArguments = true;
        options.workingDirectory = shortcut.workingDirectory;
        options.environment = {{u"QRVN_ZEP_JAVA_HOME", javaHome.u16string()},
                               {u"JAVA_HOME", std::nullopt},
                               {u"Path", u""},
                               {u"ZEPTEST_JVM_LOG", log.path().u16string()},
                               {u"ZEPTEST_JVM_FAIL", std::nullopt}};
        options.timeout = kLaunchEnds;
        const ProcessResult result = runProgram(shortcut.target, {shortcut.arguments}, options);
        EXPECT_EQ(result.exitCode, 0) << log.text();
        EXPECT_EQ(log.firstLoad(), utf8Path(libraryIn(javaHome)));
        const Lines calls = log.calls();
        EXPECT_NE(std::find(calls.begin(), calls.end(), kLaneViewMain), calls.end()) << log.text();
        EXPECT_EQ(log.lifecycle(), "LULDU") << "the machine made, main called, the machine destroyed";
    }

    // A run file with blanks and a non-ASCII letter in its name, opened as a
    // double click opens it: start.exe hands it to the shell, which starts
    // its type's open verb in start's own folder, one without a zep.jar. The
    // lane view gets the file's name as it is, and the application from
    // `folder`.
    void expectDoubleClickOpens(const fs::path& folder, const fs::path& javaHome) {
        const fs::path data = u"C:\\data";
        fs::create_directories(data);
        const platform::ScopeExit removeData([&] { fs::remove_all(data); });
        const fs::path run = data / u"road 1 \u00fc.grun";
        std::ofstream(run).flush();
        const JvmLog log(scratch / "jvm.log");
        log.clear();
        ProcessOptions options;
        options.verbatimArguments = true;
        options.workingDirectory = scratch.path().u16string();
        options.environment = {{u"QRVN_ZEP_JAVA_HOME", javaHome.u16string()},
                               {u"JAVA_HOME", std::nullopt},
                               {u"ZEPTEST_JVM_LOG", log.path().u16string()},
                               {u"ZEPTEST_JVM_FAIL", std::nullopt}};
        options.timeout = kLaunchEnds;
        const ProcessResult started = runProgram(systemProgram(u"start.exe"), {u"/wait", quoted(run)}, options);
        EXPECT_EQ(started.exitCode, 0) << started.err;
        EXPECT_EQ(log.lifecycle(), "LULDU") << log.text();

        std::vector<std::string> given;
        for (const std::string& line : log.calls()) {
            if (line.starts_with("option[")) given.push_back(line.substr(line.find('=') + 1));
        }
        const std::string installed = escapedAnsi(folder.u16string());
        ASSERT_GE(given.size(), 2u) << log.text();
        EXPECT_EQ(given[given.size() - 2], "-Djava.class.path=" + installed + "\\\\zep.jar");
        EXPECT_EQ(given.back(), "-Djava.library.path=" + installed);
        const Lines calls = log.calls();
        const auto main = std::find(calls.begin(), calls.end(), std::string(kLaneViewMainWithFile));
        ASSERT_NE(main, calls.end()) << log.text();
        ASSERT_NE(main + 1, calls.end());
        EXPECT_EQ(main[1], "arg[0] units=" + hexUnits(run.u16string()));
    }

    // Nothing of `package` is left: no folder, no shortcut, no registration.
    void expectNothingLeft(const Package& package, const fs::path& folder) {
        EXPECT_FALSE(fs::exists(folder)) << utf8(folder.u16string());
        EXPECT_EQ(names(allShortcuts()), names(shortcutsBefore));
        EXPECT_EQ(relatedProducts(package.upgradeCode), std::vector<std::u16string>{});
        EXPECT_EQ(::MsiQueryProductStateW(wide(package.productCode)), INSTALLSTATE_UNKNOWN);
        EXPECT_FALSE(uninstallEntryExists(package.productCode));
        for (const std::u16string_view key : kTypeKeys) {
            if (key != u".grun" || expectRunExtension) {
                EXPECT_FALSE(classesKeyExists(key)) << utf8(key);
            }
        }
    }

    const Package product = package(ZEP_TEST_PACKAGE, ZEP_TEST_PACKAGE_WORK);
    const Package next = package(ZEP_TEST_NEXT_PACKAGE, ZEP_TEST_NEXT_PACKAGE_WORK);
    const Package rebuilt = package(ZEP_TEST_REBUILT_PACKAGE, ZEP_TEST_REBUILT_PACKAGE_WORK);
    const fs::path defaultFolder = knownFolder(FOLDERID_ProgramFiles) / "Gridmere";
    ScratchDirectory scratch;
    std::set<fs::path> shortcutsBefore;
    Shortcut shortcut;
    std::string lastLog;
    int runs = 0;
    // False where another program has .grun: the package leaves it alone.
    bool expectRunExtension = true;
};

TEST_F(Installer, InstallsUpgradesInPlaceRefusesToGoBackAndUninstalls) {
    ASSERT_EQ(install(product), 0) << lastLog;
    expectInstalled(product, defaultFolder);
    expectShortcutLaunches(testHome("valid"));

    ASSERT_EQ(install(next), 0) << lastLog;
    expectInstalled(next, defaultFolder);
    expectShortcutLaunches(defaultFolder / "runtime");

    // The older package, with its user interface: the message box says why,
    // and nothing changes.
    ProcessOptions options;
    options.verbatimArguments = true;
    RunningProgram older = startProgram(msiexecProgram(), {u"/i", quoted(product.msi)}, options);
    const HWND box = waitForActiveDialog(
        [] { return dialogWindows([](DWORD process) { return processIsNamed(process, u"msiexec.exe"); }); },
        kBoxAppears, [&] { return older.running(); });
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(utf8(readMessageBox(box).body), kDowngradeRefused);
    pressButton(box, IDOK);
    EXPECT_EQ(older.finish(kInstallerEnds).exitCode, ERROR_INSTALL_FAILURE);
    expectInstalled(next, defaultFolder);

    ASSERT_EQ(msiexec({u"/x", quoted(next.msi), u"/qn"}), 0) << lastLog;
    expectNothingLeft(next, defaultFolder);
}

TEST_F(Installer, FollowsAnInstallFolderWithBlanksAndNonAsciiLetters) {
    const fs::path folder = u"C:\\Apps\\Grid mere \u00fc";
    ASSERT_EQ(install(product, {u"INSTALLDIR=\"C:\\Apps\\Grid mere \u00fc\""}), 0) << lastLog;
    expectInstalled(product, folder);
    EXPECT_FALSE(fs::exists(defaultFolder));
    expectShortcutLaunches(testHome("valid"));
    expectDoubleClickOpens(folder, testHome("valid"));

    // The same package again changes nothing; a rebuild of the same version
    // replaces it, in its folder, though no folder is given.
    ASSERT_EQ(install(product), 0) << lastLog;
    expectInstalled(product, folder);
    ASSERT_EQ(install(rebuilt), 0) << lastLog;
    expectInstalled(rebuilt, folder);
    EXPECT_FALSE(fs::exists(defaultFolder));

    // The user deleted the folder by hand: the uninstall still completes.
    fs::remove_all(folder);
    ASSERT_EQ(msiexec({u"/x", quoted(rebuilt.msi), u"/qn"}), 0) << lastLog;
    expectNothingLeft(rebuilt, folder);
}

// An extension that another program registered keeps its type through an
// install and an uninstall; the other extension is the package's all the same.
TEST_F(Installer, LeavesAnExtensionOfAnotherProgramAlone) {
    const std::u16string key = kClasses + std::u16string(u".grun");
    const auto otherType = [&] { return utf8(classesValue(u".grun")); };
    ASSERT_EQ(
        ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, wide(key), nullptr, REG_SZ, L"Other.Viewer", sizeof L"Other.Viewer"),
        ERROR_SUCCESS);
    const platform::ScopeExit remove([&] { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, wide(key)); });
    expectRunExtension = false;

    ASSERT_EQ(install(product), 0) << lastLog;
    expectInstalled(product, defaultFolder);
    EXPECT_EQ(otherType(), "Other.Viewer");
    ASSERT_EQ(msiexec({u"/x", quoted(product.msi), u"/qn"}), 0) << lastLog;
    expectNothingLeft(product, defaultFolder);
    EXPECT_EQ(otherType(), "Other.Viewer");
}

// The installer replaces a file by the rules for its version: the programs
// carry theirs (their version resource's) and no hash, which the installer
// keeps for unversioned files.
TEST(InstallerDatabase, ProgramsCarryTheirVersionsAndOnlyOtherFilesAHash) {
    const std::u16string version = platform::utf8ToUtf16(
        std::to_string(ZEP_EXPECTED_VERSION_MAJOR) + "." + std::to_string(ZEP_EXPECTED_VERSION_MINOR) + "." +
        std::to_string(ZEP_EXPECTED_VERSION_PATCH) + "." + std::to_string(ZEP_EXPECTED_VERSION_TWEAK));
    for (const Package& tested : {package(ZEP_TEST_PACKAGE, ZEP_TEST_PACKAGE_WORK),
                                  package(ZEP_TEST_NEXT_PACKAGE, ZEP_TEST_NEXT_PACKAGE_WORK)}) {
        SCOPED_TRACE(utf8(tested.msi.filename().u16string()));
        using Rows = std::vector<std::vector<std::u16string>>;
        const auto versionOf = [&](const std::u16string& file) {
            return packageRows(tested.msi, u"SELECT `Version`, `Language` FROM `File` WHERE `File` = '" + file + u"'");
        };
        const auto hashOf = [&](const std::u16string& file) {
            return packageRows(tested.msi, u"SELECT `File_` FROM `MsiFileHash` WHERE `File_` = '" + file + u"'");
        };
        for (const std::u16string program : {u"zep.exe", u"zepw.exe"}) {
            EXPECT_EQ(versionOf(program), (Rows{{version, u"1033"}})) << utf8(program);
            EXPECT_EQ(hashOf(program), Rows{}) << utf8(program);
        }
        for (const std::u16string file : {u"zep.jar", u"README.md"}) {
            EXPECT_EQ(versionOf(file), (Rows{{u"", u""}})) << utf8(file);
            EXPECT_EQ(hashOf(file), Rows{{file}}) << utf8(file);
        }
    }
}

// The shortcut (through a table that wixl cannot write, added after it) and
// both file types carry one application ID, so that their windows share one
// taskbar button. Wine's shell reads no shortcut property back: the database
// is where it can be seen.
TEST(InstallerDatabase, TheShortcutAndBothFileTypesCarryOneApplicationId) {
    using Rows = std::vector<std::vector<std::u16string>>;
    const fs::path msi = package(ZEP_TEST_PACKAGE, ZEP_TEST_PACKAGE_WORK).msi;
    EXPECT_EQ(packageRows(msi, u"SELECT `Shortcut_`, `PropertyKey`, `PropVariantValue` FROM `MsiShortcutProperty`"),
              (Rows{{u"LaneView", u"{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}, 5", u"Quorvane.Gridmere.LaneView"}}));
    EXPECT_EQ(packageRows(msi, u"SELECT `Key`, `Value` FROM `Registry` WHERE `Name` = 'AppUserModelID' ORDER BY `Key`"),
              (Rows{{u"Software\\Classes\\Gridmere.RoadModel", u"Quorvane.Gridmere.LaneView"},
                    {u"Software\\Classes\\Gridmere.Run", u"Quorvane.Gridmere.LaneView"}}));
}

}  // namespace
}  // namespace zep::test
