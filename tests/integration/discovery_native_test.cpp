// The Linux search on this machine's real OpenJDK. Each run gets a private
// mount namespace whose /usr/lib/jvm is an empty directory the test fills, so
// that the runtimes the distribution installed can be hidden or staged.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/text.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/trace_text.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;
using platform::utf16ToUtf8;
using platform::utf8ToUtf16;

class NativeDiscovery : public ::testing::Test {
protected:
    // Runs `program` with the real JDK mounted at <scratch>/jdk, read-only so
    // that no stage can touch it, and an empty /usr/lib/jvm, after the shell
    // commands in `stage` have run in there.
    ProcessResult run(const std::u16string& program, const std::string& stage,
                      std::map<std::u16string, std::optional<std::u16string>> environment = {}, int seconds = 60) {
        const std::string script =
            "mount --bind \"$JDK\" \"$S/jdk\" && mount -o remount,bind,ro \"$S/jdk\" && mount -t tmpfs tmpfs "
            "/usr/lib/jvm && cd \"$S\" && " +
            stage + " && PATH=\"$TEST_PATH\" exec \"$0\"";
        environment[u"JDK"] = utf8ToUtf16(ZEP_TEST_JDK_HOME);
        environment[u"S"] = utf8ToUtf16(scratch.path().string());
        // The staging shell needs its tools; the program gets the PATH of the test.
        environment[u"TEST_PATH"] = environment.count(u"PATH") ? *environment[u"PATH"] : u"";
        environment[u"PATH"] = u"/usr/sbin:/usr/bin:/sbin:/bin";
        environment.emplace(u"QRVN_ZEP_JAVA_HOME", std::nullopt);
        environment.emplace(u"JAVA_HOME", std::nullopt);
        environment.emplace(u"LC_ALL", u"C.UTF-8");
        // Finding nothing brings up the notice, which must not wait for a person here.
        environment.emplace(u"DISPLAY", std::nullopt);
        environment.emplace(u"WAYLAND_DISPLAY", std::nullopt);
        ProcessOptions options;
        options.environment = environment;
        options.timeout = std::chrono::seconds(seconds);
        return runProgram(u"/usr/bin/unshare", {u"-rm", u"/bin/sh", u"-c", utf8ToUtf16(script), program}, options);
    }

    std::string jdk() const { return (scratch / "jdk").string(); }

    void SetUp() override { fs::create_directory(scratch / "jdk"); }

    ScratchDirectory scratch;
    const std::u16string probe = testProgramDirectory() + u"/find_runtime";
};

TEST_F(NativeDiscovery, VariableNamesTheRuntime) {
    const auto result = run(probe, "true", {{u"QRVN_ZEP_JAVA_HOME", utf8ToUtf16(jdk())}});
    EXPECT_EQ(result.out, jdk() + "/lib/server/libjvm.so");
    EXPECT_EQ(result.err, "");
}

TEST_F(NativeDiscovery, VariableNamesAHomeWhoseJreIsTheRuntime) {
    const auto result = run(probe, "mkdir outer && ln -s \"$S/jdk\" outer/jre",
                            {{u"QRVN_ZEP_JAVA_HOME", utf8ToUtf16((scratch / "outer").string())}});
    EXPECT_EQ(result.out, (scratch / "outer").string() + "/jre/lib/server/libjvm.so");
}

TEST_F(NativeDiscovery, RuntimeDirectoryIsSearchedInNameOrderPassingOverBrokenHomes) {
    const auto result = run(probe,
                            "cd /usr/lib/jvm && mkdir -p a-nolib/bin b-unloadable/bin b-unloadable/lib/server && "
                            "touch a-nolib/bin/java b-unloadable/bin/java && "
                            "echo 'not a library' > b-unloadable/lib/server/libjvm.so && "
                            "ln -s \"$S/jdk\" d-jdk && ln -s \"$S/jdk\" c-jdk && touch e-file",
                            {{u"QRVN_ZEP_JAVA_HOME", utf8ToUtf16((scratch / "missing").string())}});
    EXPECT_EQ(result.out, "/usr/lib/jvm/c-jdk/lib/server/libjvm.so");
}

TEST_F(NativeDiscovery, JavaOnPathIsFollowedToItsHome) {
    const auto result = run(probe, "mkdir links && ln -s \"$S/jdk/bin/java\" links/java",
                            {{u"PATH", utf8ToUtf16("/nonexistent:" + (scratch / "links").string())}});
    EXPECT_EQ(result.out, jdk() + "/lib/server/libjvm.so");
}

TEST_F(NativeDiscovery, VeryLongPathIsSearchedToItsEnd) {
    std::string list;
    while (list.size() < 120000) list += "/no/such/directory/anywhere:";
    list += (scratch / "links").string();
    const auto result =
        run(probe, "mkdir links && ln -s \"$S/jdk/bin/java\" links/java", {{u"PATH", utf8ToUtf16(list)}});
    EXPECT_EQ(result.out, jdk() + "/lib/server/libjvm.so");
}

TEST_F(NativeDiscovery, VariableTooLongForAnyPathFallsThrough) {
    const std::string longHome = "/" + std::string(5000, 'j');
    const auto result =
        run(probe, "ln -s \"$S/jdk\" /usr/lib/jvm/jdk", {{u"QRVN_ZEP_JAVA_HOME", utf8ToUtf16(longHome)}});
    EXPECT_EQ(result.out, "/usr/lib/jvm/jdk/lib/server/libjvm.so");
}

TEST_F(NativeDiscovery, PathEntryWithANonExecutableJavaIsSkipped) {
    const auto result =
        run(probe, "mkdir plain && touch plain/java && mkdir links && ln -s \"$S/jdk/bin/java\" links/java",
            {{u"PATH", utf8ToUtf16((scratch / "plain").string() + ":" + (scratch / "links").string())}});
    EXPECT_EQ(result.out, jdk() + "/lib/server/libjvm.so");
}

TEST_F(NativeDiscovery, PathEntriesThatAreNotAbsoluteFindNothingEvenInARuntimesBin) {
    // Each entry would reach the runtime's bin/java from where the program starts.
    const std::pair<std::string, std::u16string> cases[] = {
        {"jdk/bin", u":"}, {"jdk/bin", u"."}, {"jdk", u"bin"}, {"jdk", u"./bin"}};
    for (const auto& [directory, path] : cases) {
        EXPECT_EQ(run(probe, "cd " + directory, {{u"PATH", path}}).out, "") << directory;
    }
    const auto launched = run(zepExecutable(), "cd jdk/bin", {{u"PATH", u"."}});
    EXPECT_EQ(launched.err, "Failed to find java install path");
}

TEST_F(NativeDiscovery, HomeWhoseNameIsNoUtf8IsFoundByItsBytes) {
    const std::string latin1 = scratch.path().string() + "/caf\xE9";
    const auto variable = run(probe, "ln -sfn \"$S/jdk\" \"$(printf 'caf\\351')\"",
                              {{u"QRVN_ZEP_JAVA_HOME", platform::decodeLossless(latin1)}});
    EXPECT_EQ(variable.out, latin1 + "/lib/server/libjvm.so");
    const auto onPath =
        run(probe, "mkdir \"$(printf 'b\\351n')\" && ln -s \"$S/jdk/bin/java\" \"$(printf 'b\\351n')/java\"",
            {{u"PATH", platform::decodeLossless(scratch.path().string() + "/b\xE9n")}});
    EXPECT_EQ(onPath.out, jdk() + "/lib/server/libjvm.so");
    const auto launched = run(zepExecutable(), "ln -sfn \"$S/jdk\" \"$(printf 'caf\\351')\"",
                              {{u"QRVN_ZEP_JAVA_HOME", platform::decodeLossless(latin1)}});
    EXPECT_EQ(launched.err, "Main class invalid.") << "the machine was made from that home";
}

TEST_F(NativeDiscovery, LibraryThatIsAFifoIsPassedOverAtOnce) {
    const auto result = run(probe,
                            "mkdir -p fifo/bin fifo/lib/server && touch fifo/bin/java && "
                            "mkfifo fifo/lib/server/libjvm.so && ln -s \"$S/jdk\" /usr/lib/jvm/jdk",
                            {{u"QRVN_ZEP_JAVA_HOME", utf8ToUtf16((scratch / "fifo").string())}}, 20);
    EXPECT_FALSE(result.timedOut) << "the load waited for a writer";
    EXPECT_EQ(result.out, "/usr/lib/jvm/jdk/lib/server/libjvm.so");
}

TEST_F(NativeDiscovery, JavaHomeIsTheLastResort) {
    const auto found = run(probe, "true", {{u"JAVA_HOME", utf8ToUtf16(jdk())}});
    EXPECT_EQ(found.out, jdk() + "/lib/server/libjvm.so");
    const auto launched = run(zepExecutable(), "true", {{u"JAVA_HOME", utf8ToUtf16(jdk())}});
    EXPECT_EQ(launched.err, "Main class invalid.") << "the machine was made from that home";
    EXPECT_EQ(run(probe, "ln -s \"$S/jdk\" /usr/lib/jvm/distribution", {{u"JAVA_HOME", utf8ToUtf16(jdk())}}).out,
              "/usr/lib/jvm/distribution/lib/server/libjvm.so");
}

TEST_F(NativeDiscovery, TraceTellsWhyEachCandidateWasPassedOver) {
    const auto result =
        run(probe,
            "cd /usr/lib/jvm && mkdir -p a-nolib/bin b-nojava/lib/server c-unloadable/bin "
            "c-unloadable/lib/server && touch a-nolib/bin/java c-unloadable/bin/java "
            "b-nojava/lib/server/libjvm.so && printf %0200d 0 > c-unloadable/lib/server/libjvm.so && "
            "cd \"$S\" && mkdir links && ln -s \"$S/jdk/bin/java\" links/java",
            {{u"PATH", utf8ToUtf16(".:/nonexistent:" + (scratch / "links").string())}, {u"QRVN_ZEP_TRACE", u"1"}});
    EXPECT_EQ(result.out, jdk() + "/lib/server/libjvm.so");
    EXPECT_EQ(result.err, expand(R"(zep: QRVN_ZEP_JAVA_HOME: not set
zep: runtime beside the executable "<tests>/runtime": no lib/server/libjvm.so
zep: /usr/lib/jvm entry "/usr/lib/jvm/a-nolib": no lib/server/libjvm.so
zep: /usr/lib/jvm entry "/usr/lib/jvm/a-nolib/jre": no bin/java
zep: /usr/lib/jvm entry "/usr/lib/jvm/b-nojava": no bin/java
zep: /usr/lib/jvm entry "/usr/lib/jvm/b-nojava/jre": no bin/java
zep: /usr/lib/jvm entry "/usr/lib/jvm/c-unloadable": does not load: /usr/lib/jvm/c-unloadable/lib/server/libjvm.so: invalid ELF header
zep: /usr/lib/jvm entry "/usr/lib/jvm/c-unloadable/jre": no bin/java
zep: PATH entry ".": not absolute
zep: PATH entry "/nonexistent": no executable java
zep: PATH entry "<S>/links": java is "<S>/jdk/bin/java"
zep: home of the java on PATH "<S>/jdk": accepted
)",
                                 {{"S", scratch.path().string()}, {"tests", utf16ToUtf8(testProgramDirectory())}}));
}

TEST_F(NativeDiscovery, NoRuntimeAnywhere) {
    EXPECT_EQ(run(probe, "true").out, "");
    const auto launched = run(zepExecutable(), "true");
    EXPECT_EQ(launched.err, "Failed to find java install path");
    EXPECT_EQ(launched.out, "");
    EXPECT_EQ(launched.exitCode, 1);
}

TEST(NativeDiscoveryOnThisMachine, FindsTheDistributionsRuntimeByItself) {
    ProcessOptions options;
    options.environment = {
        {u"QRVN_ZEP_JAVA_HOME", std::nullopt}, {u"JAVA_HOME", std::nullopt}, {u"PATH", u""}, {u"LC_ALL", u"C.UTF-8"}};
    const auto found = runProgram(testProgramDirectory() + u"/find_runtime", {}, options);
    EXPECT_TRUE(found.out.starts_with("/usr/lib/jvm/")) << found.out;
    EXPECT_TRUE(found.out.ends_with("/lib/server/libjvm.so")) << found.out;
    // With no command word the machine is made, and only then the main class is missed.
    const auto launched = runProgram(zepExecutable(), {}, options);
    EXPECT_EQ(launched.err, "Main class invalid.");
    EXPECT_EQ(launched.exitCode, 1);
}

}  // namespace
}  // namespace zep::test
