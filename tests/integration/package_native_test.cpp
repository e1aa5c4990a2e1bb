// The Linux package as a user unpacks it onto a machine without Java: its
// launcher finds the runtime it carries beside its real file and runs the
// demo there exactly as on the installed JDK. And the archive itself, as tar
// lists it: what an unpacking gets for owner, modes and times. And the
// Debian package, installed into a scratch root and removed again.

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text.h"
#include "tests/support/no_runtime_posix.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;
using platform::utf8ToUtf16;

class Package : public ::testing::Test {
protected:
    void SetUp() override {
        // The package the fixture made from this build, alone in its folder.
        std::vector<fs::path> archives;
        for (const auto& entry : fs::directory_iterator(ZEP_TEST_PACKAGE_DIR)) {
            if (entry.path().string().ends_with(".tar.gz")) archives.push_back(entry.path());
        }
        ASSERT_EQ(archives.size(), 1u);
        archive = archives[0];
        const ProcessResult unpacked = runProgram(
            u"/bin/tar", {u"-xzf", utf8ToUtf16(archive.string()), u"-C", utf8ToUtf16(scratch.path().string())});
        ASSERT_EQ(unpacked.exitCode, 0) << unpacked.err;
        const std::string name = archive.filename().string();
        // As the launcher sees its own folder: every link resolved.
        folder = fs::canonical(scratch / name.substr(0, name.size() - std::string(".tar.gz").size()));
    }

    ProcessOptions fromTheFolder(bool trace) const {
        ProcessOptions options;
        clearRuntimeEnvironment(options);
        // Finding nothing would bring up the notice, which must not wait for a person here.
        options.environment[u"DISPLAY"] = std::nullopt;
        options.environment[u"WAYLAND_DISPLAY"] = std::nullopt;
        if (trace) options.environment[u"QRVN_ZEP_TRACE"] = u"1";
        // The class-data archives go here, not into this machine's cache.
        options.environment[u"XDG_CACHE_HOME"] = utf8ToUtf16((scratch / "cache").string());
        options.workingDirectory = utf8ToUtf16(folder.string());
        return options;
    }

    // `launcher` started from the unpacked folder where no Java is installed.
    ProcessResult withoutJava(const fs::path& launcher, const std::vector<std::u16string>& arguments,
                              bool trace = false) const {
        NoRuntimeOptions hidden;
        hidden.launcher = utf8ToUtf16(launcher.string());
        const NoRuntimeCommand command = launcherWithoutRuntimes(arguments, hidden);
        return runProgram(command.program, command.arguments, fromTheFolder(trace));
    }

    // The package's launcher on the JDK of the build.
    ProcessResult onTheJdk(const std::vector<std::u16string>& arguments) const {
        ProcessOptions options = fromTheFolder(false);
        options.environment[u"QRVN_ZEP_JAVA_HOME"] = utf8ToUtf16(ZEP_TEST_JDK_HOME);
        return runProgram(utf8ToUtf16((folder / "zep").string()), arguments, options);
    }

    ScratchDirectory scratch;
    fs::path archive, folder;
};

// One line of `tar -tv --numeric-owner --full-time`.
struct Entry {
    std::string mode, owner, date, time, name;
};

std::vector<Entry> listing(const fs::path& archive) {
    ProcessOptions options;
    options.environment[u"TZ"] = u"UTC";
    options.environment[u"LC_ALL"] = u"C";
    const ProcessResult listed =
        runProgram(u"/bin/tar", {u"--numeric-owner", u"--full-time", u"-tvzf", utf8ToUtf16(archive.string())}, options);
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    std::vector<Entry> entries;
    std::istringstream lines(listed.out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        Entry entry;
        std::string size;
        fields >> entry.mode >> entry.owner >> size >> entry.date >> entry.time;
        std::getline(fields >> std::ws, entry.name);
        if (entry.mode.starts_with('l')) entry.name = entry.name.substr(0, entry.name.find(" -> "));
        entries.push_back(entry);
    }
    return entries;
}

std::string utcDate(std::time_t seconds, const char* format) {
    std::tm fields{};
    gmtime_r(&seconds, &fields);
    char text[32];
    return {text, std::strftime(text, sizeof text, format, &fields)};
}

TEST_F(Package, EveryEntryIsRootsWithFixedModesAndTheSourceDateInNameOrder) {
    const std::vector<Entry> entries = listing(archive);
    ASSERT_GT(entries.size(), 4u);
    const std::string top = folder.filename().string() + "/";
    EXPECT_EQ(entries.front().name, top) << "the top folder has an entry of its own";
    EXPECT_EQ(entries.front().mode, "drwxr-xr-x");
    const std::string date = utcDate(ZEP_TEST_SOURCE_EPOCH, "%Y-%m-%d");
    const std::string time = utcDate(ZEP_TEST_SOURCE_EPOCH, "%H:%M:%S");
    std::vector<std::string> names;
    for (const Entry& entry : entries) {
        SCOPED_TRACE(entry.name);
        names.push_back(entry.name);
        EXPECT_TRUE(entry.name.starts_with(top));
        EXPECT_EQ(entry.owner, "0/0");
        EXPECT_EQ(entry.date, date);
        EXPECT_EQ(entry.time, time);
        if (entry.mode.starts_with('d')) {
            EXPECT_EQ(entry.mode, "drwxr-xr-x");
        } else if (!entry.mode.starts_with('l')) {
            EXPECT_TRUE(entry.mode == "-rwxr-xr-x" || entry.mode == "-rw-r--r--") << entry.mode;
        }
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    const auto modeOf = [&](const std::string& name) {
        const auto found = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.name == name; });
        return found == entries.end() ? "<no entry " + name + ">" : found->mode;
    };
    EXPECT_EQ(modeOf(top + "zep"), "-rwxr-xr-x");
    EXPECT_EQ(modeOf(top + "zepw"), "-rwxr-xr-x");
    EXPECT_EQ(modeOf(top + "README.md"), "-rw-r--r--");
    EXPECT_EQ(modeOf(top + "runtime/"), "drwxr-xr-x");
    EXPECT_EQ(modeOf(top + "runtime/lib/jspawnhelper"), "-rwxr-xr-x");
    EXPECT_EQ(modeOf(top + "runtime/lib/server/classes.jsa"), "-rw-r--r--") << "jlink makes it read-only";

    // The gzip header: no file name (flag 8) and no time.
    std::ifstream in(archive, std::ios::binary);
    std::string header(10, '\0');
    in.read(header.data(), 10);
    EXPECT_EQ(header.substr(0, 3), "\x1f\x8b\x08");
    EXPECT_EQ(header[3] & 0x08, 0) << "the header names a file";
    EXPECT_EQ(header.substr(4, 4), std::string(4, '\0')) << "the header carries a time";
}

TEST_F(Package, RunsTheDemoOnItsOwnRuntimeWhereNoJavaIsInstalled) {
    std::vector<std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder)) contents.push_back(entry.path().filename().string());
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{"README.md", "runtime", "zep", "zep.jar", "zepw"}));
    EXPECT_TRUE(fs::is_regular_file(folder / "runtime/lib/server/classes.jsa")) << "starts twice as slowly";
    EXPECT_FALSE(fs::exists(folder / "runtime/bin")) << "the JDK's commands are shipped";
    // Else every launch from the build tree would take the package's runtime.
    EXPECT_FALSE(fs::exists(fs::path(zepExecutable()).parent_path() / "runtime"));

    const std::vector<std::vector<std::u16string>> demo = {
        {u"createmodel", u"runs/road.gmodel", u"--length", u"60", u"--vehicles", u"12", u"--seed", u"7"},
        {u"cfs", u"runs/road.gmodel", u"runs/road.grun", u"--steps", u"20"},
        {u"ls", u"runs"},
        {u"animation", u"runs/road.grun", u"--frames", u"3", u"--delay", u"0"},
    };
    std::vector<ProcessResult> expected;
    fs::create_directory(folder / "runs");
    for (const auto& arguments : demo) {
        expected.push_back(onTheJdk(arguments));
        ASSERT_EQ(expected.back().exitCode, 0) << expected.back().err;
        ASSERT_NE(expected.back().out, "");
    }
    fs::remove_all(folder / "runs");
    fs::create_directory(folder / "runs");
    for (std::size_t i = 0; i < demo.size(); ++i) {
        const ProcessResult result = withoutJava(folder / "zep", demo[i]);
        EXPECT_EQ(result.out, expected[i].out) << platform::utf16ToUtf8(demo[i][0]);
        EXPECT_EQ(result.err, expected[i].err);
        EXPECT_EQ(result.exitCode, 0);
    }
    // The desktop's twin finds the same runtime.
    const ProcessResult windowless = withoutJava(folder / "zepw", demo[2]);
    EXPECT_EQ(windowless.out, expected[2].out);
    EXPECT_EQ(windowless.err, expected[2].err);
    EXPECT_EQ(windowless.exitCode, 0);

    const std::string chosen = "zep: runtime search chose \"" + folder.string() + "/runtime/lib/server/libjvm.so\"";
    const ProcessResult traced = withoutJava(folder / "zep", {u"ls", u"runs"}, true);
    EXPECT_EQ(traced.out, expected[2].out);
    EXPECT_NE(traced.err.find("zep: runtime beside the executable \"" + folder.string() + "/runtime\": accepted\n"),
              std::string::npos)
        << traced.err;
    EXPECT_NE(traced.err.find(chosen), std::string::npos) << traced.err;

    // A link elsewhere leads to the real file's folder, not the link's.
    fs::create_directory(scratch / "elsewhere");
    fs::create_symlink(folder / "zep", scratch / "elsewhere/zep");
    const ProcessResult linked = withoutJava(scratch / "elsewhere/zep", {u"ls", u"runs"}, true);
    EXPECT_EQ(linked.out, expected[2].out);
    EXPECT_NE(linked.err.find(chosen), std::string::npos) << linked.err;
}

// The archives in the cache, by name.
std::vector<fs::path> classArchives(const fs::path& folder) {
    std::vector<fs::path> found;
    if (!fs::is_directory(folder)) return found;
    for (const auto& entry : fs::directory_iterator(folder)) found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found;
}

// Of the application's classes the runtime names with -Xlog:class+load, the
// share it mapped from the launcher's archive.
double shareFromTheArchive(const std::string& log) {
    std::size_t application = 0;
    std::size_t archived = 0;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.find(" com.quorvane.") == std::string::npos) continue;
        ++application;
        if (line.find("source: shared objects file (top)") != std::string::npos) ++archived;
    }
    return application == 0 ? 0 : static_cast<double>(archived) / static_cast<double>(application);
}

TEST_F(Package, KeepsAClassArchiveOfEachStartInTheUsersCacheAndNeverLetsItChangeTheOutput) {
    const fs::path cache = scratch / "cache/gridmere/cds";
    fs::create_directory(folder / "runs");
    const std::vector<std::u16string> listRuns = {u"ls", u"runs"};
    const ProcessResult first = withoutJava(folder / "zep", listRuns, true);
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_NE(first.err.find("\": made\n"), std::string::npos) << first.err;
    ASSERT_EQ(classArchives(cache).size(), 1u);
    EXPECT_EQ(fs::status(cache).permissions(), fs::perms::owner_all);
    const fs::path made = classArchives(cache)[0];

    const ProcessResult plain = withoutJava(folder / "zep", listRuns);
    const auto sameOutput = [&plain](const ProcessResult& result) {
        EXPECT_EQ(result.out, plain.out);
        EXPECT_EQ(result.err, plain.err);
        EXPECT_EQ(result.exitCode, 0);
    };
    // Cut short, the runtime would crash on it: passed over without a word,
    // and made again.
    fs::resize_file(made, 4096);
    sameOutput(withoutJava(folder / "zep", listRuns));
    ASSERT_EQ(classArchives(cache).size(), 1u);
    EXPECT_NE(classArchives(cache)[0], made);
    EXPECT_GT(fs::file_size(classArchives(cache)[0]), 4096u);
    // Something else in its place is passed over, and left alone.
    fs::remove(classArchives(cache)[0]);
    fs::create_directory(made);
    sameOutput(withoutJava(folder / "zep", listRuns));
    EXPECT_TRUE(fs::is_directory(made));

    // Another application archive gives another class-data archive.
    const std::size_t before = classArchives(cache).size();
    fs::last_write_time(folder / "zep.jar", fs::last_write_time(folder / "zep.jar") + std::chrono::hours(1));
    sameOutput(withoutJava(folder / "zep", listRuns));
    EXPECT_EQ(classArchives(cache).size(), before + 1);

    // The user's own choice of sharing stands alone.
    fs::create_directories(scratch / "config/gridmere");
    std::ofstream(scratch / "config/gridmere/zep.vmoptions") << "-Xshare:off\n";
    ProcessOptions options = fromTheFolder(true);
    options.environment[u"XDG_CONFIG_HOME"] = utf8ToUtf16((scratch / "config").string());
    NoRuntimeOptions hidden;
    hidden.launcher = utf8ToUtf16((folder / "zep").string());
    const NoRuntimeCommand shareOff = launcherWithoutRuntimes(listRuns, hidden);
    fs::remove_all(cache);
    const ProcessResult userChose = runProgram(shareOff.program, shareOff.arguments, options);
    EXPECT_EQ(userChose.out, plain.out);
    EXPECT_NE(userChose.err.find("zep: class-data archive: not offered: the option -Xshare:off decides\n"),
              std::string::npos)
        << userChose.err;
    EXPECT_TRUE(classArchives(cache).empty());

    // Made as the program ends itself (System.exit, with a failure of its
    // own), then mapped: nearly every class of the application comes from it.
    const std::vector<std::u16string> listMissing = {u"-Xlog:class+load", u"ls", u"missing"};
    const ProcessResult exited = withoutJava(folder / "zep", listMissing, true);
    EXPECT_EQ(exited.exitCode, 1);
    EXPECT_NE(exited.err.find("\": made\n"), std::string::npos) << exited.err;
    const ProcessResult mapped = withoutJava(folder / "zep", listMissing, true);
    EXPECT_EQ(mapped.exitCode, 1);
    EXPECT_NE(mapped.err.find("\": used\n"), std::string::npos) << mapped.err;
    EXPECT_GE(shareFromTheArchive(mapped.out), 0.9) << mapped.out;

    // A runtime that cannot finish writing its archive ends the whole start:
    // on a nearly full disk none is asked for.
    NoRuntimeOptions full = hidden;
    full.stage = "mkdir -p '" + (scratch / "cache").string() + "' && mount -t tmpfs -o size=100k tmpfs '" +
                 (scratch / "cache").string() + "'";
    const NoRuntimeCommand onAFullDisk = launcherWithoutRuntimes(listRuns, full);
    sameOutput(runProgram(onAFullDisk.program, onAFullDisk.arguments, fromTheFolder(false)));

    // Two first starts at once: both run as without, and one archive stays.
    fs::remove_all(cache);
    const NoRuntimeCommand listing = launcherWithoutRuntimes(listRuns, hidden);
    RunningProgram one = startProgram(listing.program, listing.arguments, fromTheFolder(false));
    RunningProgram two = startProgram(listing.program, listing.arguments, fromTheFolder(false));
    sameOutput(one.finish(std::chrono::seconds(60)));
    sameOutput(two.finish(std::chrono::seconds(60)));
    sameOutput(withoutJava(folder / "zep", listRuns));
    EXPECT_EQ(classArchives(cache).size(), 1u);
}

#ifdef ZEP_TEST_DEB_FILE
// Every file and link under `folder`, relative to it, in name order.
std::vector<std::string> filesUnder(const fs::path& folder) {
    std::vector<std::string> found;
    if (!fs::exists(folder)) return found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_directory() || entry.is_symlink()) found.push_back(fs::relative(entry.path(), folder).string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The value of `key` in the desktop entry's main group.
std::string desktopValue(const fs::path& entry, const std::string& key) {
    std::ifstream in(entry);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
    }
    return "<no " + key + ">";
}

// The package installed into a root of its own, with a dpkg database there
// and nothing of this machine's: what the desktop and the package tools make
// of it, the launcher it installs on its own runtime, and its removal.
TEST(DebianPackage, InstallsWhatTheDesktopStartsOnItsOwnRuntimeAndRemovesEveryFile) {
    const fs::path deb = ZEP_TEST_DEB_FILE;
    ASSERT_TRUE(fs::is_regular_file(deb)) << deb;
    ScratchDirectory scratch;
    const fs::path root = scratch / "root";
    fs::create_directories(root / "var/lib/dpkg/updates");
    fs::create_directories(root / "var/lib/dpkg/info");
    fs::create_directories(root / "var/log");
    std::ofstream(root / "var/lib/dpkg/status").flush();
    std::ofstream(root / "var/lib/dpkg/available").flush();
    // The scratch database knows none of the libraries the package depends on.
    const std::vector<std::u16string> dpkg = {u"--root=" + utf8ToUtf16(root.string()), u"--force-not-root",
                                              u"--force-depends", u"--log=/dev/null"};
    const auto runDpkg = [&](std::vector<std::u16string> arguments) {
        arguments.insert(arguments.begin(), dpkg.begin(), dpkg.end());
        return runProgram(u"/usr/bin/dpkg", arguments);
    };
    const ProcessResult installed = runDpkg({u"-i", utf8ToUtf16(deb.string())});
    ASSERT_EQ(installed.exitCode, 0) << installed.err;

    ProcessOptions english;
    english.environment[u"LC_ALL"] = u"C.UTF-8";
    std::vector<std::u16string> lintArguments = {utf8ToUtf16(deb.string())};
#ifdef __SANITIZE_ADDRESS__
    // A sanitizer's build keeps its symbols: it is tested, never shipped.
    lintArguments.insert(lintArguments.begin(), {u"--suppress-tags", u"unstripped-binary-or-object"});
#endif
    const ProcessResult lint = runProgram(u"/usr/bin/lintian", lintArguments, english);
    EXPECT_EQ(lint.exitCode, 0) << lint.out << lint.err;
    EXPECT_EQ(lint.out.find("E: "), std::string::npos) << lint.out;
    EXPECT_EQ(lint.out.find("W: "), std::string::npos) << lint.out;

    const fs::path share = root / "usr/share";
    const fs::path entry = share / "applications/com.quorvane.gridmere.LaneView.desktop";
    const ProcessResult desktop = runProgram(u"/usr/bin/desktop-file-validate", {utf8ToUtf16(entry.string())});
    EXPECT_EQ(desktop.exitCode, 0) << desktop.out << desktop.err;
    EXPECT_EQ(desktop.out, "");
    const ProcessResult metainfo =
        runProgram(u"/usr/bin/appstreamcli",
                   {u"validate", u"--no-net",
                    utf8ToUtf16((share / "metainfo/com.quorvane.gridmere.LaneView.metainfo.xml").string())},
                   english);
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out << metainfo.err;

    // The entry starts zepw in the folder that holds zep.jar and the runtime.
    const std::string folder = desktopValue(entry, "Path");
    EXPECT_EQ(desktopValue(entry, "Exec"), folder + "/zepw zep %f");
    EXPECT_TRUE(fs::is_regular_file(root.string() + folder + "/zep.jar")) << folder;
    EXPECT_TRUE(fs::is_regular_file(root.string() + folder + "/runtime/lib/server/libjvm.so")) << folder;
    EXPECT_TRUE(fs::is_regular_file(share / "icons/hicolor/48x48/apps/com.quorvane.gridmere.LaneView.png"));

    // The installed launcher, with no other Java to be found, on the runtime
    // installed beside it, run where its desktop entry runs it.
    const fs::path installedFolder = fs::canonical(root.string() + folder);
    const fs::path runs = scratch / "runs";
    fs::create_directory(runs);
    ProcessOptions options;
    clearRuntimeEnvironment(options);
    options.environment[u"DISPLAY"] = std::nullopt;
    options.environment[u"WAYLAND_DISPLAY"] = std::nullopt;
    options.environment[u"XDG_CACHE_HOME"] = utf8ToUtf16((scratch / "cache").string());
    options.workingDirectory = utf8ToUtf16(installedFolder.string());
    NoRuntimeOptions hidden;
    hidden.launcher = utf8ToUtf16((installedFolder / "zep").string());
    const auto withoutJava = [&](const std::vector<std::u16string>& arguments) {
        const NoRuntimeCommand command = launcherWithoutRuntimes(arguments, hidden);
        return runProgram(command.program, command.arguments, options);
    };
    const std::u16string model = utf8ToUtf16((runs / "road.gmodel").string());
    const std::u16string run = utf8ToUtf16((runs / "road.grun").string());
    ASSERT_EQ(withoutJava({u"createmodel", model, u"--length", u"40", u"--seed", u"3"}).exitCode, 0);
    ASSERT_EQ(withoutJava({u"cfs", model, run, u"--steps", u"10"}).exitCode, 0);
    options.environment[u"QRVN_ZEP_TRACE"] = u"1";
    const ProcessResult listed = withoutJava({u"ls", utf8ToUtf16(runs.string())});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("road.grun"), std::string::npos) << listed.out;
    EXPECT_NE(
        listed.err.find("zep: runtime search chose \"" + (installedFolder / "runtime/lib/server/libjvm.so").string()),
        std::string::npos)
        << listed.err;

    // What the entry runs for a file, %f being its name, shows the lane view
    // (as text, with no display) of that file. Run elsewhere than in the
    // entry's folder, with the file's name relative to there, it still finds
    // the application beside itself, and the file where it was named. The
    // desktop's locale is UTF-8.
    const std::string exec = desktopValue(entry, "Exec");
    ASSERT_TRUE(exec.ends_with(" zep %f")) << exec;
    hidden.launcher = utf8ToUtf16(root.string() + exec.substr(0, exec.size() - 7));
    fs::copy_file(runs / "road.grun", runs / "road 1 \u00fc.grun");
    options.environment[u"LC_ALL"] = u"C.UTF-8";
    options.workingDirectory = utf8ToUtf16(runs.string());
    const ProcessResult viewed = withoutJava({u"zep", u"road 1 \u00fc.grun"});
    EXPECT_EQ(viewed.exitCode, 0) << viewed.err;
    EXPECT_TRUE(viewed.out.starts_with("Lane view of road 1 \u00fc.grun: ")) << viewed.out << viewed.err;

    // The desktop tells the two kinds apart by their extension, and by their
    // first line where the name says nothing.
    const ProcessResult mime = runProgram(u"/usr/bin/update-mime-database", {utf8ToUtf16((share / "mime").string())});
    ASSERT_EQ(mime.exitCode, 0) << mime.err;
    fs::copy_file(runs / "road.grun", runs / "a-run");
    fs::copy_file(runs / "road.gmodel", runs / "a-model");
    std::ofstream(runs / "empty.grun").flush();
    ProcessOptions desktopData;
    desktopData.environment[u"XDG_DATA_DIRS"] = utf8ToUtf16(share.string());
    desktopData.environment[u"XDG_DATA_HOME"] = utf8ToUtf16((scratch / "no-data").string());
    desktopData.environment[u"XDG_CURRENT_DESKTOP"] = std::nullopt;
    const auto fileType = [&](const std::string& name) {
        const ProcessResult query =
            runProgram(u"/usr/bin/xdg-mime", {u"query", u"filetype", utf8ToUtf16((runs / name).string())}, desktopData);
        EXPECT_EQ(query.exitCode, 0) << query.err;
        return query.out;
    };
    EXPECT_EQ(fileType("road.gmodel"), "application/x-gridmere-road-model\n");
    EXPECT_EQ(fileType("road.grun"), "application/x-gridmere-run\n");
    EXPECT_EQ(fileType("empty.grun"), "application/x-gridmere-run\n");
    EXPECT_EQ(fileType("a-model"), "application/x-gridmere-road-model\n");
    EXPECT_EQ(fileType("a-run"), "application/x-gridmere-run\n");

    // Removed, it leaves nothing; the MIME cache is this test's own.
    for (const auto& made : fs::directory_iterator(share / "mime")) {
        if (made.path().filename() != "packages") fs::remove_all(made.path());
    }
    const ProcessResult removed = runDpkg({u"-r", u"zep"});
    EXPECT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_EQ(filesUnder(root / "usr"), std::vector<std::string>{});
}
#endif

}  // namespace
}  // namespace zep::test
