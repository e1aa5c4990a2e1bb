#include "tests/support/virtual_display.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace zep::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDisplayFd = 3;

// Waits for the child to end until `deadline`; true when it did.
bool reap(pid_t pid, Clock::time_point deadline) {
    for (;;) {
        const pid_t done = waitpid(pid, nullptr, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    if (!reap(pid, Clock::now() + std::chrono::seconds(5))) {
        kill(pid, SIGKILL);
        reap(pid, Clock::now() + std::chrono::seconds(5));
    }
}

}  // namespace

VirtualDisplay::VirtualDisplay() {
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
        // The server goes with the test program, even when that is killed.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(ready[1], kDisplayFd);  // the copy is not close-on-exec
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, STDIN_FILENO);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        // -displayfd: the server picks a free number and writes it there once it listens.
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-noreset", "-screen", "0", "1024x768x24",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);

    std::string number;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (number.empty() || number.back() != '\n') {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd entry{ready[0], POLLIN, 0};
        const int polled = left > 0 ? poll(&entry, 1, static_cast<int>(left)) : 0;
        if (polled < 0 && errno == EINTR) continue;
        char buffer[16];
        const ssize_t count = polled > 0 ? read(ready[0], buffer, sizeof buffer) : 0;
        if (count <= 0) break;  // timed out, or the server ended before it listened
        number.append(buffer, static_cast<std::size_t>(count));
    }
    close(ready[0]);
    if (number.empty() || number.back() != '\n') {
        stop(pid_);
        throw std::runtime_error("Xvfb did not come up");
    }
    number.pop_back();
    name_ = ":" + number;
}

VirtualDisplay::~VirtualDisplay() { stop(pid_); }

}  // namespace zep::test
