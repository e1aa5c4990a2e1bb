// Java homes as real machines hold them: names with blanks, quotes and
// non-ASCII letters, and a library that is a directory; and the runtime an
// application ships beside its executable, in a folder of any name.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/posix/unique_fd.h"
#endif

#include "platform/text.h"
#include "tests/support/file_text.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/test_homes.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;
using platform::utf8ToUtf16;

#ifdef _WIN32
constexpr char16_t kExe[] = u".exe";
#else
constexpr char16_t kExe[] = u"";
#endif

#ifndef _WIN32
// The dynamic loader that started this program, as its PT_INTERP names it.
std::u16string dynamicLoader() {
    std::u16string loader;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* found) {
            for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
                if (info->dlpi_phdr[i].p_type == PT_INTERP) {
                    *static_cast<std::u16string*>(found) =
                        utf8ToUtf16(reinterpret_cast<const char*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr));
                }
            }
            return 1;  // the first object is the program itself
        },
        &loader);
    return loader;
}
#endif

class UnusualHomes : public ::testing::Test {
protected:
    ProcessResult launch(const fs::path& javaHome, const std::u16string& program = zepExecutable(),
                         const std::vector<std::u16string>& arguments = {u"zep"},
                         std::map<std::u16string, std::optional<std::u16string>> environment = {}) {
        ProcessOptions options;
        options.environment = std::move(environment);
        options.environment.insert(
            {{u"JAVA_HOME", std::nullopt}, {u"ZEPTEST_JVM_LOG", log.path().u16string()}, {u"ZEPTEST_JVM_FAIL", u""}});
        options.environment[u"QRVN_ZEP_JAVA_HOME"] =
            javaHome.empty() ? std::nullopt : std::optional<std::u16string>(pathText(javaHome));
        options.workingDirectory = scratch.path().u16string();
        options.timeout = std::chrono::seconds(20);
        return runProgram(program, arguments, options);
    }

    std::string firstLoad() const { return log.firstLoad(); }
    static fs::path validHome() { return testHome("valid"); }

    ScratchDirectory scratch;
    const JvmLog log{scratch / "jvm.log"};
};

TEST_F(UnusualHomes, BlanksQuotesAndNonAsciiLettersInTheHomesPath) {
    // A double quote cannot be part of a Windows file name; the apostrophe can, everywhere.
    const fs::path home =
        scratch / fs::path(u8"Java 17 'q' \u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u0430 \u65E5\u672C\u8A9E");
    fs::copy(validHome(), home, fs::copy_options::recursive);
    const ProcessResult result = launch(home);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(firstLoad(), utf8Path(libraryIn(home)));
}

TEST_F(UnusualHomes, LibraryThatIsADirectoryIsPassedOverForTheJre) {
    const fs::path home = scratch / "home";
    fs::create_directories(home / ZEP_TEST_HOME_LIBRARY);  // a directory by the library's name
    fs::create_directories((home / ZEP_TEST_HOME_JAVA).parent_path());
    std::ofstream(home / ZEP_TEST_HOME_JAVA).put('\0');
    fs::copy(validHome(), home / "jre", fs::copy_options::recursive);
    const ProcessResult result = launch(home);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(firstLoad(), utf8Path(libraryIn(home / "jre")));
}

TEST_F(UnusualHomes, RuntimeBesideTheExecutableInAFolderOfAnyName) {
    // Beyond every ANSI code page on Windows; not UTF-8 at all on POSIX.
#ifdef _WIN32
    const fs::path app = scratch / fs::path(u8"app \u00fc \u0436 \u4e2d");
#else
    const fs::path app = scratch / "app \xE9\xFF";
#endif
    const fs::path runtime = app / "runtime";
    const fs::path library = runtime / ZEP_TEST_HOME_LIBRARY;
    fs::create_directories(library.parent_path());
    fs::copy_file(libraryIn(validHome()), library);  // and no java: jlink may strip it
    const fs::path find = fs::path(testProgramDirectory()) / (u"find_runtime" + std::u16string(kExe));
    for (const fs::path& program : {fs::path(zepExecutable()), find}) fs::copy_file(program, app / program.filename());
    fs::path zep = app / fs::path(zepExecutable()).filename();
#ifndef _WIN32
    // The folder of the real file counts, not that of a link to it.
    fs::create_directories(scratch / "elsewhere");
    fs::create_symlink(zep, scratch / "elsewhere" / "zep");
    zep = scratch / "elsewhere" / "zep";
#endif
    ProcessResult result = launch({}, pathText(zep));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(firstLoad(), utf8Path(library.lexically_normal()));

#ifndef _WIN32
    // Started through the dynamic loader, the kernel's file is the loader's:
    // the folder is still the program's own.
    log.clear();
    // (The loader started as a program keeps a list of its own that the leak
    // checker cannot see it holding.)
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    result = launch(
        {}, dynamicLoader(), {pathText(zep), u"zep"},
        {{u"ASAN_OPTIONS", utf8ToUtf16(sanitizerOptions == nullptr ? "" : sanitizerOptions) + u":detect_leaks=0"}});
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(firstLoad(), utf8Path(library.lexically_normal())) << "through the loader";

    // A program made in memory has no folder: nothing is looked for in "/".
    const platform::UniqueFd memory(memfd_create("zep", 0));
    const std::string program = fileText(zep).value_or("");
    ASSERT_FALSE(program.empty());
    ASSERT_EQ(write(memory.get(), program.data(), program.size()), static_cast<ssize_t>(program.size()));
    result = launch(validHome(), u"/proc/self/fd/" + utf8ToUtf16(std::to_string(memory.get())), {u"zep"},
                    {{u"QRVN_ZEP_TRACE", u"1"}});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.err.find("zep: options file beside the executable: no folder for it\n"), std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find("\"/zep.vmoptions\""), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("\"/runtime\""), std::string::npos) << result.err;
#endif

    log.clear();
    result = launch(testHome("jre-only"), pathText(zep));
    EXPECT_EQ(firstLoad(), utf8Path(libraryIn(testHome("jre-only") / "jre"))) << "the variable stays the override";

    // What cannot be the runtime is passed over at once, and nothing is loaded on its behalf.
    ProcessOptions unset;
    unset.environment[u"QRVN_ZEP_JAVA_HOME"] = std::nullopt;
    unset.timeout = std::chrono::seconds(20);
    const auto searched = [&] { return runProgram(pathText(app / find.filename()), {}, unset); };
    EXPECT_EQ(searched().out, utf8Path(library.lexically_normal()));
    fs::remove(library);
    fs::create_directory(library);
    EXPECT_NE(searched().out, utf8Path(library.lexically_normal())) << "a directory";
    fs::remove(library);
    fs::copy_file(libraryIn(testHome("unloadable")), library);
    EXPECT_NE(searched().out, utf8Path(library.lexically_normal())) << "no library";
    fs::remove_all(runtime);
    std::ofstream(runtime).put('\0');
    EXPECT_NE(searched().out, utf8Path(library.lexically_normal())) << "runtime is a file";
}

// The options of the machine's creation that concern class-data sharing, as
// the double logged them.
std::vector<std::string> sharingOptions(const Lines& lines) {
    std::vector<std::string> options;
    for (const std::string& line : lines) {
        const std::size_t equals = line.find("]=");
        if (!line.starts_with("option[") || equals == std::string::npos) continue;
        std::string option;
        for (std::size_t i = equals + 2; i < line.size(); ++i) {
            if (line[i] == '\\') ++i;  // the double's escaped backslash
            if (i < line.size()) option += line[i];
        }
        if (option.starts_with("-Xshare") || option.starts_with("-Xlog:cds") || option.starts_with("-XX:")) {
            options.push_back(option);
        }
    }
    return options;
}

TEST_F(UnusualHomes, TheApplicationsOwnRuntimeAloneIsAskedForAClassArchiveCheckedBeforeEachUse) {
    const fs::path runtime = scratch / "app" / "runtime";
    fs::create_directories((runtime / ZEP_TEST_HOME_LIBRARY).parent_path());
    fs::copy_file(libraryIn(validHome()), runtime / ZEP_TEST_HOME_LIBRARY);
    std::ofstream(runtime / "release") << "IMPLEMENTOR=\"Q\"\nJAVA_VERSION=\"17.0.15\"\n";
    const fs::path zep = scratch / "app" / fs::path(zepExecutable()).filename();
    fs::copy_file(zepExecutable(), zep);
    std::ofstream(scratch / "zep.jar") << "the classes";  // in the current directory, as the class path names it
    // Windows has its own folder for it, the prefix's.
    const std::map<std::u16string, std::optional<std::u16string>> cache = {
        {u"XDG_CACHE_HOME", (scratch / "cache").u16string()}};
    const auto start = [&](const fs::path& javaHome) {
        log.clear();
        const ProcessResult result = launch(javaHome, pathText(zep), {u"zep"}, cache);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.exitCode, 0);
        return sharingOptions(log.lines());
    };
    constexpr std::string_view kMake = "-XX:ArchiveClassesAtExit=";
    constexpr std::string_view kUse = "-XX:SharedArchiveFile=";

    std::vector<std::string> options = start({});
    ASSERT_EQ(options.size(), 3u);
    EXPECT_EQ(options[0], "-Xshare:auto");
    EXPECT_EQ(options[1], "-Xlog:cds*=off");
    ASSERT_TRUE(options[2].starts_with(kMake)) << options[2];
    const fs::path folder = fs::path(options[2].substr(kMake.size())).parent_path();
#ifndef _WIN32
    EXPECT_EQ(folder, scratch / "cache/gridmere/cds");
#endif

    options = start({});
    ASSERT_EQ(options.size(), 3u);
    ASSERT_TRUE(options[2].starts_with(kUse)) << options[2];
    const fs::path archive = options[2].substr(kUse.size());
    EXPECT_EQ(archive.parent_path(), folder);
#ifndef _WIN32
    EXPECT_FALSE(fs::exists(archive)) << "the runtime did not map it: it refused it";
#endif
    // Another file of that name is not offered but made again.
    fs::remove(archive);
    std::ofstream(archive) << "jvm double class-data archivE\n";
    options = start({});
    ASSERT_EQ(options.size(), 3u);
    EXPECT_TRUE(options[2].starts_with(kMake)) << options[2];
    EXPECT_EQ(fileText(archive), "jvm double class-data archive\n") << "made again";

    // A runtime named by the override, of the same release, is none of the
    // application's.
    fs::copy(validHome(), scratch / "home", fs::copy_options::recursive);
    fs::copy_file(runtime / "release", scratch / "home" / "release");
    EXPECT_EQ(start(scratch / "home"), std::vector<std::string>());
}

}  // namespace
}  // namespace zep::test
