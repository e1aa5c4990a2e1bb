#include "platform/standard_error.h"

#include <fcntl.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace zep::platform {

bool standardErrorIsOpen() { return ::fcntl(STDERR_FILENO, F_GETFD) != -1; }

bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

namespace {

bool writeDirectly(int descriptor, std::string_view bytes) {
    // Blocked rather than ignored for the write: an ignored SIGPIPE would be
    // inherited by every program the JVM starts.
    sigset_t pipe{}, previous{}, pending{};
    ::sigemptyset(&pipe);
    ::sigaddset(&pipe, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipe, &previous);
    ::sigpending(&pending);
    const bool pendingBefore = ::sigismember(&pending, SIGPIPE) == 1;
    bool written = true;
    while (!bytes.empty()) {
        const ssize_t count = ::write(descriptor, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            written = false;
            break;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    if (!written && !pendingBefore) {
        const timespec now{};
        while (::sigtimedwait(&pipe, nullptr, &now) == -1 && errno == EINTR) {
        }
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return written;
}

}  // namespace

bool writeStandardErrorDirectly(std::string_view bytes) { return writeDirectly(STDERR_FILENO, bytes); }

bool writeStandardOutputDirectly(std::string_view bytes) { return writeDirectly(STDOUT_FILENO, bytes); }

}  // namespace zep::platform
