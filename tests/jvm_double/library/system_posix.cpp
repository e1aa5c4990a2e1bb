#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "system.h"

namespace zep::jvm_double {
namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::optional<std::string> environmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool appendToLog(std::string_view bytes) {
    const char* path = std::getenv("ZEPTEST_JVM_LOG");
    if (path == nullptr || *path == '\0') return true;
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = writeAll(fd, bytes);
    return ::close(fd) == 0 && written;
}

void writeStandardError(std::string_view text) { writeAll(STDERR_FILENO, text); }

void endProcessNow(int code) { ::_exit(code); }

std::string loadLateLibrary() { return "late-load not on this system"; }

}  // namespace zep::jvm_double
