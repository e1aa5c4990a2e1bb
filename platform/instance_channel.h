#pragma once
// The channel through which a later start of the desktop launcher reaches the
// one already running: the first start listens, a later one connects, hands
// over what it was asked to do and goes. Only the same user on the same
// machine (and, on Windows, in the same session) can reach it. This is the
// transport alone; what travels over it is the caller's.

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zep::platform {

using Deadline = std::chrono::steady_clock::time_point;

// One connection between a later start and the running one; closed when it
// goes.
class InstanceConnection {
public:
    struct State;
    explicit InstanceConnection(std::unique_ptr<State> state) noexcept;
    InstanceConnection(InstanceConnection&&) noexcept;
    InstanceConnection& operator=(InstanceConnection&&) noexcept;
    InstanceConnection(const InstanceConnection&) = delete;
    InstanceConnection& operator=(const InstanceConnection&) = delete;
    ~InstanceConnection();

    // Exactly `count` bytes, or nullopt: the other side closed, an error, or
    // `deadline` passed. Memory grows with what arrives, not with `count`.
    std::optional<std::string> read(std::size_t count, Deadline deadline);
    // All of `bytes`, or false (an error, the other side closed, or `deadline`
    // passed; part of them may have gone).
    bool write(std::string_view bytes, Deadline deadline);

private:
    std::unique_ptr<State> state_;
};

// The channel's name for `key`, a short hexadecimal text the caller makes from
// the executable's path and the command word.
// POSIX: the socket's path, "$XDG_RUNTIME_DIR/gridmere-<key>" when that
// variable names an absolute directory of this user's with mode 0700 (not a
// link); otherwise "/tmp/gridmere-<uid>/<key>", that folder made or checked as
// a private folder (platform/cache_files.h).
// Windows: the pipe "\\.\pipe\Gridmere-<session id>-<digest of the user's SID
// and key>", so that two users or two sessions never share one.
// nullopt, with `why` (a few words for a trace line), when there is none, or
// when the path is too long for a socket's address.
std::optional<std::u16string> instanceChannelName(std::u16string_view key, std::string& why);

// Listens on a channel and hands out its connections, one at a time.
class InstanceListener {
public:
    struct State;
    explicit InstanceListener(std::unique_ptr<State> state) noexcept;
    InstanceListener(InstanceListener&&) noexcept;
    // A listener is made once and kept: it is never replaced by another.
    InstanceListener& operator=(InstanceListener&&) = delete;
    InstanceListener(const InstanceListener&) = delete;
    InstanceListener& operator=(const InstanceListener&) = delete;
    // Stops, as stop() does.
    ~InstanceListener();

    // Starts listening on `name`; nullopt with `why` when it cannot, and
    // "another start is listening" when another process listens there.
    // POSIX: a socket left there by a process that ended without removing it
    // (nobody accepts on it) is replaced; any other kind of file is left
    // alone and refused. Windows: the pipe admits this user alone, and no
    // client from another machine.
    static std::optional<InstanceListener> listen(const std::u16string& name, std::string& why);

    // Waits for the next connection. One from another user is closed unread
    // and the wait goes on. A connection may close without a byte: on POSIX a
    // start that finds the channel taken connects to tell a live listener
    // from a stale socket. nullopt once stop() was called (before or during
    // the wait), or on an error that waiting again would not mend.
    std::optional<InstanceConnection> accept();

    // Callable from any thread, also while accept() waits: makes accept()
    // return nullopt promptly, now and later, and stops listening (on POSIX
    // the socket's file is removed if it is still the one made here). Safe
    // to call more than once.
    void stop() noexcept;

private:
    std::unique_ptr<State> state_;
};

// Connects to the listener on `name` within `deadline`: nullopt with `why`
// when there is none, it refuses, or it belongs to another user (so that a
// channel another user made first under that name never receives the data).
std::optional<InstanceConnection> connectToInstance(const std::u16string& name, Deadline deadline, std::string& why);

}  // namespace zep::platform
