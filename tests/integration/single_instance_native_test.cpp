// The desktop launcher's single instance on this machine's real OpenJDK: the
// test archive's animation class declares launchedAgain and writes what it
// receives. The first start stays until the test lets it go.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/text.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/test_homes.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::utf8ToUtf16;

class SingleInstance : public ::testing::Test {
protected:
    // The runtime folder is short, as a socket's address must be.
    void SetUp() override {
        char folder[] = "/tmp/zep-test-XXXXXX";
        ASSERT_NE(::mkdtemp(folder), nullptr);
        runtimeDirectory = folder;
        fs::create_directories(elsewhere);
    }
    void TearDown() override { fs::remove_all(runtimeDirectory); }

    // zepw in the test archive's folder (or `where`), its runtime the JDK's,
    // its channels in this test's own runtime folder, traced.
    ProcessOptions options(const fs::path& where = {}) const {
        ProcessOptions options;
        options.environment = {{u"QRVN_ZEP_JAVA_HOME", utf8ToUtf16(ZEP_TEST_JDK_HOME)},
                               {u"LC_ALL", u"C.UTF-8"},
                               {u"XDG_RUNTIME_DIR", utf8ToUtf16(runtimeDirectory.string())},
                               {u"DISPLAY", std::nullopt},
                               {u"WAYLAND_DISPLAY", std::nullopt},
                               {u"QRVN_ZEP_TRACE", u"1"}};
        options.workingDirectory = where.empty() ? testProgramDirectory() + u"/e2e" : utf8ToUtf16(where.string());
        return options;
    }

    // The first start, once its main has run (and so once it listens).
    RunningProgram startFirst(std::vector<std::u16string> more = {}) {
        std::vector<std::u16string> arguments = {u"-Dzeptest.stopFile=" + utf8ToUtf16(stopFile.string()),
                                                 u"-Dzeptest.readyFile=" + utf8ToUtf16(readyFile.string())};
        arguments.insert(arguments.end(), more.begin(), more.end());
        arguments.push_back(u"animation");
        RunningProgram first = startProgram(zepwExecutable(), arguments, options());
        const auto until = std::chrono::steady_clock::now() + 30s;
        while (!fs::exists(readyFile) && first.running() && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(20ms);
        }
        EXPECT_TRUE(fs::exists(readyFile)) << "the first start never ran main";
        return first;
    }

    ProcessResult letGo(RunningProgram& first) {
        std::ofstream(stopFile).flush();
        return first.finish(30s);
    }

    ScratchDirectory scratch;
    fs::path runtimeDirectory;  // mode 0700, as mkdtemp makes it
    const fs::path elsewhere = scratch / "wo \xC3\xA4nders";
    const fs::path stopFile = scratch / "stop";
    const fs::path readyFile = scratch / "ready";
};

TEST_F(SingleInstance, ALaterStartHandsItsDirectoryAndArgumentsToTheRunningOne) {
    RunningProgram first = startFirst();
    const auto start = std::chrono::steady_clock::now();
    const std::u16string file = u"road 1 \u00fc.grun";
    const ProcessResult later = runProgram(zepwExecutable(), {u"-Xmx1g", u"animation", file, u""}, options(elsewhere));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(later.exitCode, 0) << later.err;
    EXPECT_NE(later.err.find("single instance: handed over to"), std::string::npos) << later.err;
    EXPECT_EQ(later.err.find("JNI_CreateJavaVM"), std::string::npos) << "no machine of its own:\n" << later.err;

    // A console start is its own process, with its own machine.
    const ProcessResult console = runProgram(zepExecutable(), {u"animation"}, options());
    EXPECT_EQ(console.exitCode, 0);
    EXPECT_EQ(console.err.find("single instance"), std::string::npos) << console.err;

    const ProcessResult ended = letGo(first);
    EXPECT_EQ(ended.exitCode, 0) << ended.err;
    EXPECT_EQ(ended.out, "main argc=0\nagain wd=" + hexUnits(utf8ToUtf16(elsewhere.string())) + " argc=2 [" +
                             hexUnits(file) + "] [] thread=zep launched again daemon=true\n")
        << ended.err;
}

// What the running one refuses leaves it as it was: the next later start is
// handed over all the same.
TEST_F(SingleInstance, WhatIsNoLaterStartsMessageIsRefusedAndHarmsNothing) {
    RunningProgram first = startFirst();
    // The socket is the one file in this test's runtime folder.
    std::string socketPath;
    for (const auto& entry : fs::directory_iterator(runtimeDirectory)) socketPath = entry.path().string();
    ASSERT_FALSE(socketPath.empty());
    const auto send = [&](const std::string& bytes) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
        EXPECT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        if (!bytes.empty()) {
            EXPECT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
        }
        char answer = 0;
        // Refused: closed with no answer, at the latest after its time.
        EXPECT_LE(::recv(fd, &answer, 1, 0), 0);
        ::close(fd);
    };
    send(std::string("ZEP1\x00\x00\x20\x00", 8));                                           // 2 MiB announced
    send(std::string("ZEP1\x08\x00\x00\x00\x01\x00\x00\x00", 12));                          // cut short
    send(std::string("ZEP1\x0A\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x00\xD8", 18));  // a lone surrogate
    send("GET / HTTP/1.0\r\n\r\n");
    send("");

    const ProcessResult later = runProgram(zepwExecutable(), {u"animation", u"x"}, options(elsewhere));
    EXPECT_EQ(later.exitCode, 0);
    EXPECT_NE(later.err.find("single instance: handed over to"), std::string::npos) << later.err;
    const ProcessResult ended = letGo(first);
    EXPECT_EQ(ended.exitCode, 0) << ended.err;
    EXPECT_NE(ended.out.find("argc=1 [0078]"), std::string::npos) << ended.out;
    EXPECT_NE(ended.err.find("a later start refused: not a message, or one over 1 MiB"), std::string::npos)
        << ended.err;
    EXPECT_NE(ended.err.find("a later start refused: a malformed message"), std::string::npos) << ended.err;
}

// A launchedAgain that throws is described on the running one's standard
// error, and the later start was handed over; one that takes longer than the
// later start waits lets that start run on its own.
TEST_F(SingleInstance, AThrowingOrSlowLaunchedAgainNeverCostsALaterStartItsLaunch) {
    RunningProgram first = startFirst({u"-Dzeptest.againWaits=0"});
    const ProcessResult thrower = runProgram(zepwExecutable(), {u"animation", u"throw"}, options(elsewhere));
    EXPECT_EQ(thrower.exitCode, 0) << thrower.err;
    const ProcessResult ended = letGo(first);
    EXPECT_NE(ended.err.find("java.lang.IllegalStateException: zeptest: thrown"), std::string::npos) << ended.err;
    EXPECT_EQ(ended.exitCode, 0);

    fs::remove(stopFile);
    fs::remove(readyFile);
    RunningProgram slow = startFirst({u"-Dzeptest.againWaits=4000"});
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult later = runProgram(zepwExecutable(), {u"animation"}, options());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(later.exitCode, 0) << later.err;
    EXPECT_NE(later.err.find("not handed over to"), std::string::npos) << later.err;
    EXPECT_NE(later.err.find("JNI_CreateJavaVM"), std::string::npos) << "a machine of its own:\n" << later.err;
    EXPECT_EQ(letGo(slow).exitCode, 0);
}

// A first start that was killed leaves its socket behind; the next start
// finds nobody there, replaces it and listens itself.
TEST_F(SingleInstance, ASocketLeftByAKilledStartIsReplaced) {
    {
        RunningProgram killed = startFirst();
        ::kill(static_cast<pid_t>(killed.id()), SIGKILL);
        killed.finish(10s);
    }
    ASSERT_FALSE(fs::is_empty(runtimeDirectory)) << "the killed start left no socket";
    fs::remove(readyFile);
    RunningProgram next = startFirst();
    const ProcessResult later = runProgram(zepwExecutable(), {u"animation"}, options(elsewhere));
    EXPECT_NE(later.err.find("single instance: handed over to"), std::string::npos) << later.err;
    const ProcessResult ended = letGo(next);
    EXPECT_NE(ended.err.find("single instance: listening on"), std::string::npos) << ended.err;
    EXPECT_EQ(ended.exitCode, 0);
}

// A later start while the running one ends either reaches it in time or runs
// on its own: never both, never neither.
TEST_F(SingleInstance, ALaterStartWhileTheRunningOneEndsIsHandedOverOrRunsAlone) {
    RunningProgram first = startFirst();
    std::ofstream(stopFile).flush();
    const ProcessResult later = runProgram(zepwExecutable(), {u"animation", u"late"}, options());
    const ProcessResult ended = first.finish(30s);
    EXPECT_EQ(later.exitCode, 0) << later.err;
    EXPECT_EQ(ended.exitCode, 0) << ended.err;
    const bool handedOver = later.err.find("single instance: handed over to") != std::string::npos;
    const bool received = ended.out.find("[006c 0061 0074 0065]") != std::string::npos;
    EXPECT_EQ(handedOver, received) << later.err << "\n---\n" << ended.out << ended.err;
}

}  // namespace
}  // namespace zep::test
