#include "platform/instance_channel.h"

#include <aclapi.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/digest.h"
#include "platform/text.h"
#include "platform/windows/current_user.h"
#include "platform/windows/owned.h"
#include "platform/windows/system_error.h"

namespace zep::platform {
namespace {

constexpr DWORD kBufferSize = DWORD{64} * 1024;

// The milliseconds a wait may last before `deadline`, rounded up so that it
// never wakes early and spins; 0 once it has passed.
DWORD millisecondsUntil(Deadline deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<DWORD>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, INFINITE - 1));
}

UniqueFile newEvent() { return UniqueFile(::CreateEventW(nullptr, TRUE, FALSE, nullptr)); }

// A security descriptor owned by this user whose list gives this user every
// access to the pipe and nobody else any. It points into its own bytes and
// into `user`, which must outlive it.
struct UserOnlySecurity {
    SECURITY_DESCRIPTOR descriptor{};
    std::string acl;
    SECURITY_ATTRIBUTES attributes{};

    bool make(UserSid& user) {
        PSID sid = user.get();
        const DWORD size = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + ::GetLengthSid(sid);
        acl.assign(size, '\0');
        auto* list = reinterpret_cast<ACL*>(acl.data());
        if (!::InitializeAcl(list, size, ACL_REVISION) ||
            !::AddAccessAllowedAce(list, ACL_REVISION, GENERIC_ALL, sid) ||
            !::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
            !::SetSecurityDescriptorDacl(&descriptor, TRUE, list, FALSE) ||
            !::SetSecurityDescriptorOwner(&descriptor, sid, FALSE)) {
            return false;
        }
        attributes = {sizeof attributes, &descriptor, FALSE};
        return true;
    }
};

// Runs an overlapped call's wait: until it completes, `deadline` passes or
// `stop` is set; a call that does not complete is cancelled, and the
// cancellation waited for, before this returns, so that nothing writes into
// the caller's memory afterwards. The bytes moved, or nullopt.
std::optional<DWORD> finish(HANDLE handle, OVERLAPPED& overlapped, DWORD timeout, HANDLE stop) {
    const HANDLE events[2] = {overlapped.hEvent, stop};
    const DWORD woke = ::WaitForMultipleObjects(stop != nullptr ? 2 : 1, events, FALSE, timeout);
    if (woke != WAIT_OBJECT_0) ::CancelIoEx(handle, &overlapped);
    DWORD moved = 0;
    if (!::GetOverlappedResult(handle, &overlapped, &moved, TRUE) || woke != WAIT_OBJECT_0) return std::nullopt;
    return moved;
}

UniqueFile newPipe(const std::u16string& name, SECURITY_ATTRIBUTES& attributes, bool first) {
    const DWORD openMode = PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
    return UniqueFile(::CreateNamedPipeW(wide(name), openMode,
                                         PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                         PIPE_UNLIMITED_INSTANCES, kBufferSize, kBufferSize, 0, &attributes));
}

}  // namespace

struct InstanceConnection::State {
    UniqueFile pipe;
    UniqueFile event = newEvent();
};

InstanceConnection::InstanceConnection(std::unique_ptr<State> state) noexcept : state_(std::move(state)) {}
InstanceConnection::InstanceConnection(InstanceConnection&&) noexcept = default;
InstanceConnection& InstanceConnection::operator=(InstanceConnection&&) noexcept = default;
InstanceConnection::~InstanceConnection() = default;

std::optional<std::string> InstanceConnection::read(std::size_t count, Deadline deadline) {
    if (!state_ || !state_->event) return std::nullopt;
    std::string bytes;
    while (bytes.size() < count) {
        // Grown as bytes arrive: a peer that announces much and sends little
        // costs no more memory than it sent.
        const std::size_t had = bytes.size();
        bytes.resize(had + std::min<std::size_t>(count - had, kBufferSize));
        OVERLAPPED overlapped{};
        overlapped.hEvent = state_->event.get();
        DWORD got = 0;
        const auto wanted = static_cast<DWORD>(bytes.size() - had);
        if (!::ReadFile(state_->pipe.get(), bytes.data() + had, wanted, &got, &overlapped)) {
            if (::GetLastError() != ERROR_IO_PENDING) return std::nullopt;
            const std::optional<DWORD> finished =
                finish(state_->pipe.get(), overlapped, millisecondsUntil(deadline), nullptr);
            if (!finished) return std::nullopt;
            got = *finished;
        }
        bytes.resize(had + got);
        if (got == 0 && millisecondsUntil(deadline) == 0) return std::nullopt;
    }
    return bytes;
}

bool InstanceConnection::write(std::string_view bytes, Deadline deadline) {
    if (!state_ || !state_->event) return false;
    while (!bytes.empty()) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = state_->event.get();
        DWORD sent = 0;
        const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kBufferSize));
        if (!::WriteFile(state_->pipe.get(), bytes.data(), size, &sent, &overlapped)) {
            if (::GetLastError() != ERROR_IO_PENDING) return false;
            const std::optional<DWORD> finished =
                finish(state_->pipe.get(), overlapped, millisecondsUntil(deadline), nullptr);
            if (!finished) return false;
            sent = *finished;
        }
        bytes.remove_prefix(sent);
        if (sent == 0 && millisecondsUntil(deadline) == 0) return false;
    }
    return true;
}

std::optional<std::u16string> instanceChannelName(std::u16string_view key, std::string& why) {
    std::optional<UserSid> user = UserSid::ofThisProcess();
    wchar_t* sidText = nullptr;
    if (!user || !::ConvertSidToStringSidW(user->get(), &sidText)) {
        why = "the user's SID cannot be read: " + errorCodeText(::GetLastError());
        return std::nullopt;
    }
    const UniqueLocalMemory ownedSidText(sidText);
    DWORD session = 0;
    if (!::ProcessIdToSessionId(::GetCurrentProcessId(), &session)) {
        why = "the session cannot be read: " + errorCodeText(::GetLastError());
        return std::nullopt;
    }
    Digest digest;
    digest.add(utf16ToUtf8(fromWide(sidText)));
    // A separator no SID holds, so that no SID and key run into another's.
    digest.add(std::string_view("\0", 1));
    digest.add(utf16ToUtf8(key));
    return u"\\\\.\\pipe\\Gridmere-" + decodeLossless(std::to_string(session)) + u"-" + decodeLossless(digest.hex());
}

struct InstanceListener::State {
    std::u16string name;
    std::optional<UserSid> user;
    UserOnlySecurity security;
    // Set by stop(): what wakes a waiting accept().
    UniqueFile stopEvent = newEvent();
    std::mutex mutex;
    // Under `mutex`: the pipe instance the next client connects to, closed by
    // stop() unless accept() waits on it, then by accept() as it returns.
    UniqueFile pipe;
    bool accepting = false;
    std::atomic<bool> stopped = false;
};

InstanceListener::InstanceListener(std::unique_ptr<State> state) noexcept : state_(std::move(state)) {}
InstanceListener::InstanceListener(InstanceListener&&) noexcept = default;
InstanceListener::~InstanceListener() { stop(); }

std::optional<InstanceListener> InstanceListener::listen(const std::u16string& name, std::string& why) {
    auto state = std::make_unique<State>();
    state->name = name;
    state->user = UserSid::ofThisProcess();
    if (!state->user || !state->security.make(*state->user) || !state->stopEvent) {
        why = "no security descriptor for the pipe: " + errorCodeText(::GetLastError());
        return std::nullopt;
    }
    state->pipe = newPipe(name, state->security.attributes, true);
    if (!state->pipe) {
        const DWORD error = ::GetLastError();
        // The first instance of a name that exists already is refused so.
        why = error == ERROR_ACCESS_DENIED || error == ERROR_PIPE_BUSY ? "another start is listening"
                                                                       : errorCodeText(error);
        return std::nullopt;
    }
    // Where the first-instance flag is not honoured (Wine), the instances
    // counted tell the same: ours is the only one, or another listens.
    DWORD instances = 0;
    if (::GetNamedPipeHandleStateW(state->pipe.get(), nullptr, &instances, nullptr, nullptr, nullptr, 0) &&
        instances > 1) {
        why = "another start is listening";
        return std::nullopt;
    }
    return InstanceListener(std::move(state));
}

std::optional<InstanceConnection> InstanceListener::accept() {
    if (!state_) return std::nullopt;
    State& state = *state_;
    HANDLE pipe = nullptr;
    {
        const std::lock_guard lock(state.mutex);
        if (state.stopped || !state.pipe) return std::nullopt;
        state.accepting = true;
        pipe = state.pipe.get();
    }
    const ScopeExit done([&state]() noexcept {
        const std::lock_guard lock(state.mutex);
        state.accepting = false;
        if (state.stopped) state.pipe.reset();
    });
    const UniqueFile event = newEvent();
    if (!event) return std::nullopt;
    for (;;) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = event.get();
        if (::ConnectNamedPipe(pipe, &overlapped)) break;
        const DWORD error = ::GetLastError();
        if (error == ERROR_PIPE_CONNECTED) break;
        if (error == ERROR_IO_PENDING) {
            if (!finish(pipe, overlapped, INFINITE, state.stopEvent.get())) return std::nullopt;
            break;
        }
        // A client that came and went before it was taken: make the instance
        // ready for the next one.
        if (error != ERROR_NO_DATA || !::DisconnectNamedPipe(pipe)) return std::nullopt;
    }
    if (state.stopped) return std::nullopt;
    // The next instance is made while this one still holds the name, so
    // that no other user's pipe can take it in between.
    UniqueFile next = newPipe(state.name, state.security.attributes, false);
    auto connection = std::make_unique<InstanceConnection::State>();
    {
        const std::lock_guard lock(state.mutex);
        connection->pipe = std::exchange(state.pipe, std::move(next));
    }
    return InstanceConnection(std::move(connection));
}

void InstanceListener::stop() noexcept {
    if (!state_) return;
    State& state = *state_;
    const std::lock_guard lock(state.mutex);
    if (state.stopped.exchange(true)) return;
    if (state.stopEvent) ::SetEvent(state.stopEvent.get());
    if (!state.accepting) state.pipe.reset();
}

std::optional<InstanceConnection> connectToInstance(const std::u16string& name, Deadline deadline, std::string& why) {
    UniqueFile pipe;
    for (;;) {
        // Identification only: the listener may learn who connects, but not
        // act as this user.
        pipe.reset(::CreateFileW(wide(name), GENERIC_READ | GENERIC_WRITE | READ_CONTROL, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
        if (pipe) break;
        const DWORD error = ::GetLastError();
        if (error != ERROR_PIPE_BUSY) {
            why = error == ERROR_FILE_NOT_FOUND ? "nobody is listening" : errorCodeText(error);
            return std::nullopt;
        }
        const DWORD timeout = millisecondsUntil(deadline);
        if (timeout == 0) {
            why = "the listener is busy";
            return std::nullopt;
        }
        // It may return at once when the pipe is gone for a moment between
        // two instances: do not spin.
        if (!::WaitNamedPipeW(wide(name), timeout)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min<DWORD>(timeout, 10)));
        }
    }
    std::optional<UserSid> user = UserSid::ofThisProcess();
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = ::GetSecurityInfo(pipe.get(), SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                                          nullptr, nullptr, &descriptor);
    const UniqueLocalMemory ownedDescriptor(descriptor);
    if (error != ERROR_SUCCESS || !user) {
        why = "the listener's owner cannot be read: " + errorCodeText(error);
        return std::nullopt;
    }
    if (owner == nullptr || !::EqualSid(owner, user->get())) {
        why = "the listener is another user's";
        return std::nullopt;
    }
    auto state = std::make_unique<InstanceConnection::State>();
    state->pipe = std::move(pipe);
    if (!state->event) {
        why = errorCodeText(::GetLastError());
        return std::nullopt;
    }
    return InstanceConnection(std::move(state));
}

}  // namespace zep::platform
