// The Windows search as zep.exe runs it under Wine: the real registry of the
// test prefix, real files, a loadable test jvm.dll and one that does not load,
// and a Path and QRVN_ZEP_JAVA_HOME of the test's choosing.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/system_access.h"
#include "platform/text.h"
#include "platform/windows/win32.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/test_homes.h"
#include "tests/support/trace_text.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;

// The trees of HKLM the tests write runtimes into: removed before and after
// each test, so that no test sees another's keys.
constexpr const wchar_t* kTestTrees[] = {L"JavaSoft", L"Eclipse Adoptium"};  // below SOFTWARE, in both views

class RuntimeKeys {
public:
    RuntimeKeys() { clear(); }
    ~RuntimeKeys() { clear(); }
    RuntimeKeys(const RuntimeKeys&) = delete;
    RuntimeKeys& operator=(const RuntimeKeys&) = delete;

    // A JavaSoft family's version subkey with its JavaHome.
    void add(const std::wstring& family, const std::wstring& version, DWORD type, const std::wstring& home) {
        set(L"SOFTWARE\\JavaSoft\\" + family + L"\\" + version, L"JavaHome", type, home);
    }

    // A value of type `type` (REG_DWORD: the number 17) in HKLM\<path>, of
    // the 64-bit view, or of the 32-bit view with KEY_WOW64_32KEY.
    void set(const std::wstring& path, const wchar_t* name, DWORD type, const std::wstring& text, REGSAM view = 0) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key,
                                    nullptr),
                  ERROR_SUCCESS);
        if (type == REG_DWORD) {
            const DWORD number = 17;
            ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
        } else {
            ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        }
        ::RegCloseKey(key);
    }

private:
    static void clear() {
        for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            HKEY software = nullptr;
            if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_ALL_ACCESS | view, &software) !=
                ERROR_SUCCESS) {
                continue;
            }
            for (const wchar_t* tree : kTestTrees) ::RegDeleteTreeW(software, tree);
            ::RegCloseKey(software);
        }
    }
};

std::wstring wideOf(const fs::path& path) { return path.wstring(); }
std::u16string textOf(const fs::path& path) { return platform::fromWide(path.wstring()); }
// A directory of the prefix's C: drive that a test fills, gone before and after.
struct PlantedTree {
    explicit PlantedTree(fs::path where) : path(std::move(where)) { fs::remove_all(path); }
    ~PlantedTree() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    PlantedTree(const PlantedTree&) = delete;
    PlantedTree& operator=(const PlantedTree&) = delete;
    const fs::path path;
};

class WindowsDiscovery : public ::testing::Test {
protected:
    static fs::path home(const char* name) { return testHome(name); }

    ProcessResult run(const std::u16string& program,
                      std::map<std::u16string, std::optional<std::u16string>> environment = {},
                      const std::vector<std::u16string>& arguments = {}, const std::u16string& directory = u"") {
        environment.emplace(u"QRVN_ZEP_JAVA_HOME", std::nullopt);
        environment.emplace(u"JAVA_HOME", std::nullopt);
        environment.emplace(u"Path", std::nullopt);
        environment[u"ZEPTEST_JVM_LOG"] = textOf(log.path());
        ProcessOptions options;
        options.environment = environment;
        options.workingDirectory = directory;
        return runProgram(program, arguments, options);
    }
    ProcessResult find(std::map<std::u16string, std::optional<std::u16string>> environment = {}) {
        return run(testProgramDirectory() + u"\\find_runtime.exe", std::move(environment));
    }
    std::string jvmLog() const { return log.text(); }

    ScratchDirectory scratch;
    const JvmLog log{scratch / "jvm.log"};
    RuntimeKeys keys;
};

TEST_F(WindowsDiscovery, JreFamilyKeyFindsItsHomeAndTheLauncherLoadsIt) {
    keys.add(L"JRE", L"9", REG_SZ, wideOf(home("valid")));
    const std::string expected = utf8Path(home("valid")) + "\\bin\\server\\jvm.dll";
    EXPECT_EQ(find().out, expected);
    const ProcessResult launched = run(zepExecutable());
    EXPECT_EQ(launched.err, "Main class invalid.") << "the machine was made, then no class was named";
    EXPECT_EQ(launched.exitCode, 1);
    EXPECT_NE(jvmLog().find("JNI_CreateJavaVM"), std::string::npos) << jvmLog();
}

TEST_F(WindowsDiscovery, OnlyAnOldVersionMeansNoRuntime) {
    keys.add(L"JRE", L"1.6.0_45", REG_SZ, wideOf(home("valid")));
    EXPECT_EQ(find().out, "");
    const ProcessResult launched = run(zepExecutable());
    EXPECT_EQ(launched.err, "Failed to find java install path");
    EXPECT_EQ(launched.out, "");
    EXPECT_EQ(launched.exitCode, 1);
}

TEST_F(WindowsDiscovery, FamiliesInOrderAndUnusableSubkeysPassedOver) {
    keys.add(L"JDK", L"17", REG_SZ, wideOf(home("valid")));
    keys.add(L"Java Development Kit", L"1.8", REG_SZ, wideOf(home("jre-only")));
    keys.add(L"Java Runtime Environment", L"1.8", REG_DWORD, L"");
    keys.add(L"Java Runtime Environment", L"9", REG_SZ, wideOf(home("unloadable")));
    keys.add(L"JRE", L"11", REG_SZ, wideOf(scratch / "nothing"));
    EXPECT_EQ(find().out, utf8Path(home("valid")) + "\\bin\\server\\jvm.dll");
}

TEST_F(WindowsDiscovery, VariableComesFirstAndItsJreIsTried) {
    keys.add(L"JRE", L"9", REG_SZ, wideOf(home("valid")));
    EXPECT_EQ(find({{u"QRVN_ZEP_JAVA_HOME", textOf(home("jre-only"))}}).out,
              utf8Path(home("jre-only")) + "\\jre\\bin\\server\\jvm.dll");
}

TEST_F(WindowsDiscovery, VariableNamingAnUnloadableHomeFallsThrough) {
    keys.add(L"JRE", L"9", REG_SZ, wideOf(home("valid")));
    EXPECT_EQ(find({{u"QRVN_ZEP_JAVA_HOME", textOf(home("unloadable"))}}).out,
              utf8Path(home("valid")) + "\\bin\\server\\jvm.dll");
}

TEST_F(WindowsDiscovery, HomeWithATrailingBackslashKeepsBoth) {
    EXPECT_EQ(find({{u"QRVN_ZEP_JAVA_HOME", textOf(home("valid")) + u"\\"}}).out,
              utf8Path(home("valid")) + "\\\\bin\\server\\jvm.dll");
}

TEST_F(WindowsDiscovery, PathEntriesAreTriedAsHomes) {
    const std::u16string list = u"C:\\nowhere;;" + textOf(home("valid") / "bin") + u";" + textOf(home("valid")) + u";";
    EXPECT_EQ(find({{u"Path", list}}).out, utf8Path(home("valid")) + "\\bin\\server\\jvm.dll");
    EXPECT_EQ(find({{u"Path", u";;"}}).out, "");
}

TEST_F(WindowsDiscovery, PathAsLongAsWindowsAllowsIsReadWhole) {
    // 32,766 units, the most one variable holds, far beyond the 4095 units
    // that Wine reads into a very large buffer; the home is its last entry.
    std::u16string last = textOf(home("valid"));
    last.insert(last.begin(), u';');
    std::u16string list;
    while (list.size() + 20 + last.size() <= 32766) list += u"C:\\no\\such\\dir\\here;";
    list.append(32766 - list.size() - last.size(), u'x');
    list += last;
    ASSERT_EQ(list.size(), 32766u);
    EXPECT_EQ(find({{u"Path", list}}).out, utf8Path(home("valid")) + "\\bin\\server\\jvm.dll");
}

TEST_F(WindowsDiscovery, VariableTooLongForAnyPathFallsThrough) {
    keys.add(L"JRE", L"9", REG_SZ, wideOf(home("valid")));
    const std::u16string longHome = u"C:\\" + std::u16string(5000, u'j');
    EXPECT_EQ(find({{u"QRVN_ZEP_JAVA_HOME", longHome}}).out, utf8Path(home("valid")) + "\\bin\\server\\jvm.dll");
    const ProcessResult launched = run(zepExecutable(), {{u"QRVN_ZEP_JAVA_HOME", longHome}});
    EXPECT_EQ(launched.err, "Main class invalid.");
}

TEST_F(WindowsDiscovery, JavaHomeValuesOfEveryOtherTypeArePassedOver) {
    for (const DWORD type : {DWORD{REG_DWORD}, DWORD{REG_BINARY}, DWORD{REG_MULTI_SZ}, DWORD{REG_NONE}}) {
        keys.add(L"JRE", L"9." + std::to_wstring(type), type, wideOf(home("valid")));
    }
    EXPECT_EQ(find().out, "");
    keys.add(L"JRE", L"99", REG_EXPAND_SZ, wideOf(home("valid")));
    EXPECT_EQ(find().out, utf8Path(home("valid")) + "\\bin\\server\\jvm.dll");
}

// --- the launch trace ---------------------------------------------------------------

TEST_F(WindowsDiscovery, TraceTellsWhyEachCandidateWasPassedOverAndNamesThe32BitOnes) {
    // A subkey's name is the registry's, not the launcher's: the trace shows
    // it as a value, and it can neither reorder the line nor forge an escape.
    keys.add(L"JRE", L"1.6.0_45\u202E<U+0041>\"", REG_SZ, wideOf(home("valid")));
    keys.add(L"JRE", L"11", REG_SZ, wideOf(home("no-java")));
    keys.set(L"SOFTWARE\\JavaSoft\\JRE\\1.8", L"JavaHome", REG_SZ, wideOf(home("x86")), KEY_WOW64_32KEY);
    keys.set(L"SOFTWARE\\Eclipse Adoptium\\JDK\\24\\hotspot\\MSI", L"Path", REG_DWORD, L"");
    keys.set(L"SOFTWARE\\Eclipse Adoptium\\JDK\\26\\hotspot", L"Other", REG_SZ, L"");
    std::u16string path = u";";  // an empty entry, then an unloadable home
    path += textOf(home("unloadable"));
    const ProcessResult launched =
        run(zepExecutable(), {{u"QRVN_ZEP_JAVA_HOME", textOf(home("x86"))}, {u"Path", path}, {u"QRVN_ZEP_TRACE", u"1"}},
            {u"zep"});
    const std::string cannot = "a 32-bit runtime, which this 64-bit launcher cannot use";
    EXPECT_EQ(withoutTimes(launched.err),
              noOptionsFilesTraced() +
                  expand(R"(zep: command word "zep": class com/quorvane/gridmere/traffic/classic/ui/x/LaneViewX
zep: program arguments: 0
zep: QRVN_ZEP_JAVA_HOME "<x86>": does not load: <cannot>
zep: QRVN_ZEP_JAVA_HOME "<x86>\jre": no bin\java.exe
zep: runtime beside the executable "<zep>\runtime": no bin\server\jvm.dll
zep: HKLM\SOFTWARE\JavaSoft\Java Runtime Environment: no such key
zep: HKLM\SOFTWARE\JavaSoft\JRE\1.6.0_45<U+202E><U+003C>U+0041><U+0022>: version below 1.7
zep: HKLM\SOFTWARE\JavaSoft\JRE\11 JavaHome "<no-java>": no bin\java.exe
zep: HKLM\SOFTWARE\JavaSoft\JRE\11 JavaHome "<no-java>\jre": no bin\java.exe
zep: HKLM\SOFTWARE\JavaSoft\JDK: no such key
zep: HKLM\SOFTWARE\JavaSoft\Java Development Kit: no such key
zep: Path entry "": not absolute
zep: Path entry "<unloadable>": does not load: jvm.dll, error 193: Bad EXE format for %1.
zep: Path entry "<unloadable>\jre": no bin\java.exe
zep: JAVA_HOME: not set
zep: HKLM\SOFTWARE\Eclipse Adoptium\JDK\24\hotspot\MSI: Path is not a string
zep: HKLM\SOFTWARE\Eclipse Adoptium\JDK\26\hotspot\MSI: no such key
zep: HKLM\SOFTWARE\WOW6432Node\JavaSoft\JRE\1.8 JavaHome "<x86>": recorded in the 32-bit view: <cannot>
zep: no Java runtime found, after N ms
zep: runtime-missing notice closed after N ms
Failed to find java install path
zep: exit code 1
)",
                         {{"x86", traced(utf8Path(home("x86")))},
                          {"no-java", traced(utf8Path(home("no-java")))},
                          {"unloadable", traced(utf8Path(home("unloadable")))},
                          {"cannot", cannot},
                          {"zep", traced(utf8Path(fs::path(zepExecutable()).lexically_normal().parent_path()))}}));
    EXPECT_EQ(launched.exitCode, 1);
}

// --- today's installers ------------------------------------------------------------

TEST_F(WindowsDiscovery, DefaultInstallOfTodaysJdkIsFoundByItsBinOnPathOrItsInstallerKey) {
    // What the shared MSI installer leaves by default: <home>\bin on Path and
    // its own key, no JavaSoft keys, no variable.
    const PlantedTree vendor(L"C:\\Program Files\\Eclipse Adoptium");
    const fs::path jdk21 = vendor.path / "jdk-21.0.5.11-hotspot", jdk17 = vendor.path / "jdk-17.0.13.11-hotspot";
    for (const fs::path& jdk : {jdk21, jdk17}) {
        fs::create_directories(jdk);
        fs::copy(home("valid"), jdk, fs::copy_options::recursive);
    }
    const std::string library21 = utf8Path(jdk21) + "\\bin\\server\\jvm.dll";

    ProcessResult launched = run(zepExecutable(), {{u"Path", textOf(jdk21 / "bin")}}, {u"zep"});
    EXPECT_EQ(launched.err, "");
    EXPECT_EQ(launched.exitCode, 0);
    EXPECT_TRUE(jvmLog().starts_with("load " + library21 + "\n")) << jvmLog();

    keys.set(L"SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.13.11\\hotspot\\MSI", L"Path", REG_SZ, jdk17.wstring() + L"\\");
    keys.set(L"SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.5.11\\hotspot\\MSI", L"Path", REG_SZ, jdk21.wstring() + L"\\");
    EXPECT_EQ(find({{u"Path", u""}}).out, utf8Path(jdk21) + "\\\\bin\\server\\jvm.dll") << "the newer of the two";
    log.clear();
    launched = run(zepExecutable(), {{u"Path", u""}}, {u"zep"});
    EXPECT_EQ(launched.err, "");
    EXPECT_EQ(launched.exitCode, 0);
    EXPECT_NE(jvmLog().find("CallStaticVoidMethod"), std::string::npos) << jvmLog();

    keys.add(L"JRE", L"1.8", REG_SZ, wideOf(home("jre-only")));
    EXPECT_EQ(find({{u"Path", textOf(jdk21 / "bin")}}).out, utf8Path(home("jre-only")) + "\\jre\\bin\\server\\jvm.dll")
        << "a JavaSoft key decides as before";
}

// --- the application's own runtime, beside the executable ------------------------

TEST_F(WindowsDiscovery, RuntimeBesideTheExecutableComesBeforeTheKeysUnlessItDoesNotLoad) {
    keys.add(L"JRE", L"9", REG_SZ, wideOf(home("valid")));
    const fs::path app = scratch / "app";
    const fs::path library = app / "runtime" / "bin" / "server" / "jvm.dll";
    fs::create_directories(library.parent_path());
    fs::copy_file(fs::path(zepExecutable()), app / "zep.exe");
    const std::string fromKey = "load " + utf8Path(libraryIn(home("valid"))) + "\n";
    // The double, a 32-bit jvm.dll, and one whose C runtime is not beside it.
    for (const auto& [runtime, first] :
         {std::pair{libraryIn(home("valid")), "load " + utf8Path(library) + "\n"},
          std::pair{libraryIn(home("x86")), fromKey}, std::pair{libraryIn(home("crt-msvcr100")), fromKey}}) {
        SCOPED_TRACE(runtime.string());
        fs::remove(library);
        fs::copy_file(runtime, library);
        log.clear();
        const ProcessResult launched = run(textOf(app / "zep.exe"), {}, {u"zep"});
        EXPECT_EQ(launched.err, "");
        EXPECT_EQ(launched.exitCode, 0);
        EXPECT_TRUE(jvmLog().starts_with(first)) << jvmLog();
    }
}

// --- what a runtime ships in its bin ------------------------------------------------
// Wine's built-in C runtime libraries are off for these tests (WINEDLLOVERRIDES,
// where they are registered): the only copies are those in the homes' bin.

TEST_F(WindowsDiscovery, RuntimeFindsTheCRuntimeItShipsInItsBinOfEveryAge) {
    for (const char* name : {"crt-msvcr100", "crt-msvcr120", "crt-vcruntime140"}) {
        SCOPED_TRACE(name);
        const std::map<std::u16string, std::optional<std::u16string>> environment = {
            {u"QRVN_ZEP_JAVA_HOME", textOf(home(name))}};
        const fs::path library = home(name) / "bin" / "server" / "jvm.dll";
        EXPECT_EQ(run(testProgramDirectory() + u"\\load_library.exe", environment, {textOf(library)}).out, "not loaded")
            << "the control: a plain load cannot find the runtime's C runtime";
        EXPECT_EQ(find(environment).out, utf8Path(library));
        EXPECT_EQ(run(zepExecutable(), environment).err, "Main class invalid.") << "the real load worked too";
    }
}

TEST_F(WindowsDiscovery, LibraryTheJvmLoadsLaterStillFindsTheCRuntimeOfItsBin) {
    // zeptest_late.dll imports msvcp140.dll, which jvm.dll does not import.
    const fs::path late = home("crt-vcruntime140") / "bin" / "zeptest_late.dll";
    EXPECT_EQ(run(testProgramDirectory() + u"\\load_library.exe", {}, {textOf(late)}).out, "not loaded");
    const ProcessResult launched =
        run(zepExecutable(),
            {{u"QRVN_ZEP_JAVA_HOME", textOf(home("crt-vcruntime140"))}, {u"ZEPTEST_JVM_FAIL", u"late-load"}}, {u"zep"});
    EXPECT_EQ(launched.err, "");
    EXPECT_EQ(launched.exitCode, 0);
    EXPECT_NE(jvmLog().find("late-load loaded\n"), std::string::npos) << jvmLog();
}

// --- Path entries that are not absolute ------------------------------------------------
// T: is a drive of the test prefix's own (cmake/wine-run.sh), so that homes can
// lie at the root of the current drive without touching the host's root.

class DriveT {
public:
    DriveT() { clear(); }
    ~DriveT() { clear(); }
    DriveT(const DriveT&) = delete;
    DriveT& operator=(const DriveT&) = delete;

    static fs::path at(const char* relative) { return fs::path(L"T:\\") / relative; }

private:
    static void clear() {
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(L"T:\\", ignored)) fs::remove_all(entry.path(), ignored);
    }
};

TEST_F(WindowsDiscovery, PathEntriesThatAreNotAbsoluteLoadNothing) {
    const DriveT drive;
    // A home wherever such an entry could lead from the current directory T:\work.
    for (const char* where : {"", "work", "work/other", "x"}) {
        fs::create_directories(DriveT::at(where));
        fs::copy(home("valid"), DriveT::at(where), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
    for (const std::u16string path : {u";", u"T:\\none;", u".", u"other", u"\\x"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(path.begin(), path.end())));
        log.clear();
        const ProcessResult launched = run(zepExecutable(), {{u"Path", path}}, {u"zep"}, u"T:\\work");
        EXPECT_EQ(launched.err, "Failed to find java install path");
        EXPECT_EQ(jvmLog(), "") << "nothing was loaded";
    }
    EXPECT_EQ(find({{u"Path", u";T:\\work"}}).out, "T:\\work\\bin\\server\\jvm.dll");
}

// --- homes in every form Windows accepts ----------------------------------------------

TEST_F(WindowsDiscovery, HomeAfterTheLongPathPrefixWithATrailingSeparatorIsFound) {
    // After "\\?\" Windows reads a doubled separator as an empty name.
    const std::u16string prefixed = u"\\\\?\\" + textOf(home("valid")) + u"\\";
    const std::string library = "\\\\?\\" + utf8Path(home("valid")) + "\\bin\\server\\jvm.dll";
    EXPECT_EQ(find({{u"QRVN_ZEP_JAVA_HOME", prefixed}}).out, library);
    EXPECT_EQ(find({{u"JAVA_HOME", prefixed}}).out, library);
    keys.set(L"SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.5.11\\hotspot\\MSI", L"Path", REG_SZ,
             std::wstring(prefixed.begin(), prefixed.end()));
    EXPECT_EQ(find().out, library) << "an installer's Path, which ends in a separator by design";
    EXPECT_EQ(run(zepExecutable(), {{u"QRVN_ZEP_JAVA_HOME", prefixed}}).err, "Main class invalid.") << "and it loads";
}

TEST_F(WindowsDiscovery, JavaHomeInQuotesAndTheBinOfJavaOnPathInAnySpellingAreFound) {
    const std::u16string valid = textOf(home("valid"));
    const std::string library = utf8Path(home("valid")) + "\\bin\\server\\jvm.dll";
    EXPECT_EQ(find({{u"JAVA_HOME", u"\"" + valid + u"\""}}).out, library);
    // Windows drops a trailing dot or blank of a component and reads "." and "..".
    for (const std::u16string& bin : {valid + u"\\bin\\.", valid + u"\\bin\\\\", valid + u"\\bin ",
                                      valid + u"\\x\\..\\bin", u"\"" + valid + u"\\BIN.\""}) {
        SCOPED_TRACE(platform::utf16ToUtf8(bin));
        EXPECT_EQ(find({{u"Path", bin}}).out, library);
    }
}

TEST_F(WindowsDiscovery, HomeOnANetworkShareLoads) {
    // \\zepserver\share is the directory of drive T: (cmake/wine-run.sh).
    const DriveT drive;
    fs::copy(home("valid"), DriveT::at("shared"), fs::copy_options::recursive);
    const std::u16string share = u"\\\\zepserver\\share\\shared";
    EXPECT_EQ(find({{u"QRVN_ZEP_JAVA_HOME", share}}).out, "\\\\zepserver\\share\\shared\\bin\\server\\jvm.dll");
    const ProcessResult launched = run(zepExecutable(), {{u"QRVN_ZEP_JAVA_HOME", share}}, {u"zep"});
    EXPECT_EQ(launched.err, "");
    EXPECT_EQ(launched.exitCode, 0);
}

TEST_F(WindowsDiscovery, StartedFromAShareTheFolderIsTheSharesNeverOneOfTheCurrentDirectory) {
    // Wine names a program started as \\zepserver\share\app2\zep.exe
    // "UNC\zepserver\share\app2\zep.exe": taken as it is, that is a folder of
    // the current directory, T:\work, where these files are planted.
    const DriveT drive;
    for (const char* folder : {"app2", "work/UNC/zepserver/share/app2"}) {
        const fs::path library = DriveT::at(folder) / "runtime" / "bin" / "server" / "jvm.dll";
        fs::create_directories(library.parent_path());
        fs::copy_file(libraryIn(home("valid")), library);
        std::ofstream(DriveT::at(folder) / "zep.vmoptions") << "-Dzep.from=" << folder << "\n";
    }
    fs::copy_file(fs::path(zepExecutable()), DriveT::at("app2/zep.exe"));
    const ProcessResult launched = run(u"\\\\zepserver\\share\\app2\\zep.exe", {}, {u"zep"}, u"T:\\work");
    EXPECT_EQ(launched.err, "");
    EXPECT_EQ(launched.exitCode, 0);
    // Wine resolves the share to the drive that holds the same directory.
    EXPECT_TRUE(jvmLog().starts_with("load T:\\app2\\runtime\\bin\\server\\jvm.dll\n")) << jvmLog();
    EXPECT_NE(jvmLog().find("-Dzep.from=app2\n"), std::string::npos) << jvmLog();
    EXPECT_EQ(jvmLog().find("UNC"), std::string::npos) << jvmLog();
}

TEST(QuietErrorBoxes, HoldsCriticalErrorBoxesOffWhileItLivesOnly) {
    const DWORD before = ::GetThreadErrorMode();
    {
        const platform::QuietErrorBoxes quiet;
        EXPECT_NE(::GetThreadErrorMode() & SEM_FAILCRITICALERRORS, 0u);
    }
    EXPECT_EQ(::GetThreadErrorMode(), before);
}

}  // namespace
}  // namespace zep::test
