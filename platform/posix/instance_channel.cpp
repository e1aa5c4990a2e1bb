#include "platform/instance_channel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/cache_files.h"
#include "platform/posix/unique_fd.h"
#include "platform/text.h"

namespace zep::platform {
namespace {

constexpr char kOwnName[] = "gridmere";
constexpr int kBacklog = 8;
constexpr std::size_t kChunk = std::size_t{64} * 1024;

// The milliseconds poll() may wait before `deadline`, rounded up so that it
// never wakes early and spins; 0 once it has passed.
int millisecondsUntil(Deadline deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, INT_MAX));
}

// Waits until `fd` is ready for `events`; false on the deadline or an error.
bool waitFor(int fd, short events, Deadline deadline) {
    for (;;) {
        const int timeout = millisecondsUntil(deadline);
        if (timeout == 0) return false;
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, timeout);
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return false;
    }
}

std::optional<sockaddr_un> addressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return std::nullopt;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

UniqueFd newSocket() { return UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)); }

bool peerIsThisUser(int fd) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 && size == sizeof credentials &&
           credentials.uid == ::geteuid();
}

// Holds the lock on the folder of the channels while a start decides whether
// the socket there is stale and replaces it, so that two starts doing so at
// once cannot both end up listening.
UniqueFd lockFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) {
        while (::flock(fd.get(), LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    return fd;
}

}  // namespace

struct InstanceConnection::State {
    UniqueFd fd;
};

InstanceConnection::InstanceConnection(std::unique_ptr<State> state) noexcept : state_(std::move(state)) {}
InstanceConnection::InstanceConnection(InstanceConnection&&) noexcept = default;
InstanceConnection& InstanceConnection::operator=(InstanceConnection&&) noexcept = default;
InstanceConnection::~InstanceConnection() = default;

std::optional<std::string> InstanceConnection::read(std::size_t count, Deadline deadline) {
    if (!state_) return std::nullopt;
    std::string bytes;
    while (bytes.size() < count) {
        // Grown as bytes arrive: a peer that announces much and sends little
        // costs no more memory than it sent.
        const std::size_t had = bytes.size();
        bytes.resize(had + std::min(count - had, kChunk));
        const ssize_t got = ::recv(state_->fd.get(), bytes.data() + had, bytes.size() - had, 0);
        if (got > 0) {
            bytes.resize(had + static_cast<std::size_t>(got));
            continue;
        }
        bytes.resize(had);
        if (got == 0) return std::nullopt;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return std::nullopt;
        if (!waitFor(state_->fd.get(), POLLIN, deadline)) return std::nullopt;
    }
    return bytes;
}

bool InstanceConnection::write(std::string_view bytes, Deadline deadline) {
    if (!state_) return false;
    while (!bytes.empty()) {
        const ssize_t sent = ::send(state_->fd.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (!waitFor(state_->fd.get(), POLLOUT, deadline)) return false;
    }
    return true;
}

std::optional<std::u16string> instanceChannelName(std::u16string_view key, std::string& why) {
    std::string path;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime != nullptr && runtime[0] == '/' && ::lstat(runtime, &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::geteuid() && (info.st_mode & 07777) == 0700) {
        path = std::string(runtime) + "/" + kOwnName + "-" + encodeLossless(key);
    }
    // A runtime folder too deep for a socket's address is as good as none.
    if (path.empty() || !addressOf(path)) {
        const std::string folder = std::string("/tmp/") + kOwnName + "-" + std::to_string(::geteuid());
        if (const std::string problem = makePrivateFolder(decodeLossless(folder)); !problem.empty()) {
            why = folder + ": " + problem;
            return std::nullopt;
        }
        path = folder + "/" + encodeLossless(key);
    }
    if (!addressOf(path)) {
        why = "the channel's path is too long for a socket";
        return std::nullopt;
    }
    return decodeLossless(path);
}

struct InstanceListener::State {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    // Written to by stop(): what wakes a waiting accept().
    UniqueFd wakeRead;
    UniqueFd wakeWrite;
    std::mutex mutex;
    // Under `mutex`: the listening socket, closed by stop() unless accept()
    // uses it, then by accept() as it returns.
    UniqueFd socket;
    bool accepting = false;
    std::atomic<bool> stopped = false;

    void stopListening() noexcept {
        socket.reset();
        // Only the file made here: another start may have replaced it since.
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && info.st_dev == device && info.st_ino == inode) {
            ::unlink(path.c_str());
        }
    }
};

InstanceListener::InstanceListener(std::unique_ptr<State> state) noexcept : state_(std::move(state)) {}
InstanceListener::InstanceListener(InstanceListener&&) noexcept = default;
InstanceListener::~InstanceListener() { stop(); }

std::optional<InstanceListener> InstanceListener::listen(const std::u16string& name, std::string& why) {
    auto state = std::make_unique<State>();
    state->path = encodeLossless(name);
    const std::optional<sockaddr_un> address = addressOf(state->path);
    if (!address) {
        why = "the channel's path is too long for a socket";
        return std::nullopt;
    }
    int wake[2] = {-1, -1};
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    state->wakeRead.reset(wake[0]);
    state->wakeWrite.reset(wake[1]);
    state->socket = newSocket();
    if (!state->socket) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    const UniqueFd lock = lockFolderOf(state->path);
    const auto* generic = reinterpret_cast<const sockaddr*>(&*address);
    if (::bind(state->socket.get(), generic, sizeof *address) != 0) {
        if (errno != EADDRINUSE) {
            why = std::strerror(errno);
            return std::nullopt;
        }
        struct stat info {};
        if (::lstat(state->path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) {
            why = "something that is not a socket is in the channel's place";
            return std::nullopt;
        }
        // A socket nobody accepts on was left by a start that ended without
        // removing it; one that takes the connection (or whose queue is full)
        // is another start's.
        const UniqueFd probe = newSocket();
        if (!probe || ::connect(probe.get(), generic, sizeof *address) == 0 || errno != ECONNREFUSED) {
            why = "another start is listening";
            return std::nullopt;
        }
        if (::unlink(state->path.c_str()) != 0 || ::bind(state->socket.get(), generic, sizeof *address) != 0) {
            why = std::strerror(errno);
            return std::nullopt;
        }
    }
    struct stat info {};
    if (::lstat(state->path.c_str(), &info) != 0) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    if (::listen(state->socket.get(), kBacklog) != 0) {
        why = std::strerror(errno);
        ::unlink(state->path.c_str());
        return std::nullopt;
    }
    state->device = info.st_dev;
    state->inode = info.st_ino;
    return InstanceListener(std::move(state));
}

std::optional<InstanceConnection> InstanceListener::accept() {
    if (!state_) return std::nullopt;
    State& state = *state_;
    int listening = -1;
    {
        const std::lock_guard lock(state.mutex);
        if (state.stopped || !state.socket) return std::nullopt;
        state.accepting = true;
        listening = state.socket.get();
    }
    // Whatever ends the wait: if stop() came meanwhile, it left the socket to
    // be closed here.
    const ScopeExit done([&state]() noexcept {
        const std::lock_guard lock(state.mutex);
        state.accepting = false;
        if (state.stopped) state.stopListening();
    });
    for (;;) {
        pollfd entries[2] = {{listening, POLLIN, 0}, {state.wakeRead.get(), POLLIN, 0}};
        const int ready = ::poll(entries, 2, -1);
        if (state.stopped) return std::nullopt;
        if (ready < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (entries[0].revents == 0) continue;
        UniqueFd peer(::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!peer) {
            // Gone before it was taken, or a signal: wait for the next one.
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == ECONNABORTED || errno == EINTR) continue;
            return std::nullopt;
        }
        if (!peerIsThisUser(peer.get())) continue;
        auto connection = std::make_unique<InstanceConnection::State>();
        connection->fd = std::move(peer);
        return InstanceConnection(std::move(connection));
    }
}

void InstanceListener::stop() noexcept {
    if (!state_) return;
    State& state = *state_;
    const std::lock_guard lock(state.mutex);
    if (state.stopped.exchange(true)) return;
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = ::write(state.wakeWrite.get(), &wake, 1);
    if (!state.accepting) state.stopListening();
}

std::optional<InstanceConnection> connectToInstance(const std::u16string& name, Deadline deadline, std::string& why) {
    const std::optional<sockaddr_un> address = addressOf(encodeLossless(name));
    if (!address) {
        why = "the channel's path is too long for a socket";
        return std::nullopt;
    }
    UniqueFd fd = newSocket();
    if (!fd) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    const auto* generic = reinterpret_cast<const sockaddr*>(&*address);
    // A full queue refuses at once (EAGAIN) rather than later: ask again
    // until the deadline.
    while (::connect(fd.get(), generic, sizeof *address) != 0) {
        if (errno == EINTR) continue;
        if (errno == EINPROGRESS) {
            int error = 0;
            socklen_t size = sizeof error;
            if (!waitFor(fd.get(), POLLOUT, deadline) ||
                ::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
                why = "no connection before the deadline";
                return std::nullopt;
            }
            break;
        }
        if (errno != EAGAIN) {
            why = errno == ENOENT || errno == ECONNREFUSED ? "nobody is listening" : std::strerror(errno);
            return std::nullopt;
        }
        if (millisecondsUntil(deadline) == 0) {
            why = "the listener is busy";
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!peerIsThisUser(fd.get())) {
        why = "the listener is another user's";
        return std::nullopt;
    }
    auto state = std::make_unique<InstanceConnection::State>();
    state->fd = std::move(fd);
    return InstanceConnection(std::move(state));
}

}  // namespace zep::platform
