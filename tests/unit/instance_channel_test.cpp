// The channel between a later start and the running one, on the real system:
// a listener and its clients in one process.

#include "platform/instance_channel.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "platform/cache_files.h"
#include "platform/handle.h"

#ifdef _WIN32
#include "platform/windows/owned.h"
#else
#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "platform/text.h"
#endif

namespace zep::platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

Deadline in(Clock::duration wait) { return Clock::now() + wait; }

// A channel of this test's own, which no other test or run shares.
std::u16string freshChannel() {
    std::string why;
    const std::optional<std::u16string> name = instanceChannelName(u"test-" + uniqueSuffix(), why);
    EXPECT_TRUE(name) << why;
    return name.value_or(u"");
}

InstanceListener listenOn(const std::u16string& name) {
    std::string why;
    std::optional<InstanceListener> listener = InstanceListener::listen(name, why);
    if (!listener) throw std::runtime_error("cannot listen: " + why);
    return std::move(*listener);
}

TEST(InstanceChannel, BytesGoBothWaysWhole) {
    const std::u16string name = freshChannel();
    InstanceListener listener = listenOn(name);
    // More than one buffer's worth, so that reads and writes come in parts.
    std::string message(std::size_t{300} * 1024, '\0');
    for (std::size_t i = 0; i < message.size(); ++i) message[i] = static_cast<char>(i * 7 % 251);
    auto served = std::async(std::launch::async, [&] {
        std::optional<InstanceConnection> connection = listener.accept();
        if (!connection) return std::optional<std::string>();
        std::optional<std::string> got = connection->read(message.size(), in(10s));
        if (!connection->write("ack", in(10s))) return std::optional<std::string>();
        return got;
    });
    // Whatever fails below, the wait above ends before `served` is waited for.
    const ScopeExit stopAtEnd([&] { listener.stop(); });
    std::string why;
    std::optional<InstanceConnection> client = connectToInstance(name, in(10s), why);
    ASSERT_TRUE(client) << why;
    EXPECT_TRUE(client->write(message, in(10s)));
    EXPECT_EQ(client->read(3, in(10s)), "ack");
    EXPECT_EQ(served.get(), message);
}

TEST(InstanceChannel, OneListenerANameUntilItGoes) {
    const std::u16string name = freshChannel();
    std::string why;
    {
        InstanceListener first = listenOn(name);
        EXPECT_FALSE(InstanceListener::listen(name, why));
        EXPECT_EQ(why, "another start is listening");
    }
    EXPECT_TRUE(InstanceListener::listen(name, why)) << why;
}

TEST(InstanceChannel, StopWakesAWaitingAcceptAndEndsListening) {
    const std::u16string name = freshChannel();
    InstanceListener listener = listenOn(name);
    auto accepted = std::async(std::launch::async, [&] { return listener.accept().has_value(); });
    std::this_thread::sleep_for(100ms);
    const auto stopped = Clock::now();
    listener.stop();
    ASSERT_EQ(accepted.wait_for(1s), std::future_status::ready);
    EXPECT_LT(Clock::now() - stopped, 1s);
    EXPECT_FALSE(accepted.get());
    EXPECT_FALSE(listener.accept());
    std::string why;
    EXPECT_FALSE(connectToInstance(name, in(500ms), why));
}

TEST(InstanceChannel, NeitherSideWaitsPastItsDeadline) {
    const std::u16string name = freshChannel();
    std::string why;
    auto start = Clock::now();
    EXPECT_FALSE(connectToInstance(name, in(5s), why));
    EXPECT_LT(Clock::now() - start, 1s) << "with nobody listening";

    InstanceListener listener = listenOn(name);
    std::optional<InstanceConnection> client = connectToInstance(name, in(5s), why);
    ASSERT_TRUE(client) << why;
    std::optional<InstanceConnection> served = listener.accept();
    ASSERT_TRUE(served);
    ASSERT_TRUE(client->write("ab", in(5s)));
    start = Clock::now();
    EXPECT_EQ(served->read(5, in(300ms)), std::nullopt) << "two bytes of five, then silence";
    EXPECT_LT(Clock::now() - start, 2s);
}

#ifdef _WIN32
TEST(InstanceChannel, APipeAnotherUserMadeFirstIsNotConnectedTo) {
    const std::u16string name = freshChannel();
    // Made first under the name, owned by the system's account, open to all.
    BYTE owner[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof owner;
    ASSERT_TRUE(::CreateWellKnownSid(WinLocalSystemSid, nullptr, owner, &size));
    SECURITY_DESCRIPTOR descriptor{};
    ASSERT_TRUE(::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(::SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE));
    ASSERT_TRUE(::SetSecurityDescriptorOwner(&descriptor, owner, FALSE));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    const UniqueFile squatter(
        ::CreateNamedPipeW(wide(name), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, &attributes));
    if (!squatter && ::GetLastError() == ERROR_INVALID_OWNER) GTEST_SKIP() << "an owner of another user is refused";
    ASSERT_TRUE(squatter) << ::GetLastError();
    std::string why;
    EXPECT_FALSE(connectToInstance(name, in(2s), why));
    EXPECT_EQ(why, "the listener is another user's");
}
#else
TEST(InstanceChannel, AStaleSocketIsReplacedAndAnythingElseLeftAlone) {
    const std::u16string name = freshChannel();
    const std::string path = encodeLossless(name);
    {
        // What a start that crashed leaves: bound, never removed.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << std::strerror(errno);
        ::close(fd);
    }
    std::string why;
    EXPECT_TRUE(InstanceListener::listen(name, why)) << why;
    struct stat info {};
    EXPECT_NE(::lstat(path.c_str(), &info), 0) << "the listener removes its socket as it goes";

    ::close(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    EXPECT_FALSE(InstanceListener::listen(name, why));
    EXPECT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    ::unlink(path.c_str());
}

TEST(InstanceChannel, AnotherUsersConnectionIsNeverHandedOut) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root, to connect as another user";
    // A folder the other user may reach, and a socket it may connect to.
    char folder[] = "/tmp/zep-channel-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    ::chmod(folder, 0711);
    const std::string path = std::string(folder) + "/s";
    std::optional<InstanceListener> listener = listenOn(decodeLossless(path));
    ::chmod(path.c_str(), 0666);

    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool sent = ::setgroups(0, nullptr) == 0 && ::setresgid(kNobody, kNobody, kNobody) == 0 &&
                          ::setresuid(kNobody, kNobody, kNobody) == 0 &&
                          ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                          ::write(fd, "xx", 2) == 2;
        ::_exit(sent ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other user could not connect";

    std::string why;
    std::optional<InstanceConnection> client = connectToInstance(decodeLossless(path), in(5s), why);
    ASSERT_TRUE(client) << why;
    ASSERT_TRUE(client->write("me", in(5s)));
    std::optional<InstanceConnection> served = listener->accept();
    ASSERT_TRUE(served);
    EXPECT_EQ(served->read(2, in(5s)), "me");
    listener.reset();
    ::rmdir(folder);
}
#endif

}  // namespace
}  // namespace zep::platform
