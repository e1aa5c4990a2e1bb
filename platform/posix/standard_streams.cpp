#include "platform/posix/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

namespace zep::platform {

NullStandardStreams::NullStandardStreams() {
    UniqueFd null(::open("/dev/null", O_RDWR | O_CLOEXEC));
    // The lowest free number is taken, which is a closed stream's: moved out
    // of their way, the descriptor cannot become one of them when it goes.
    if (null && null.get() <= STDERR_FILENO) null.reset(::fcntl(null.get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
    if (!null) return;
    for (std::size_t stream = 0; stream < saved_.size(); ++stream) {
        const int fd = static_cast<int>(stream);
        saved_[stream].reset(::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
        if (saved_[stream]) ::dup2(null.get(), fd);
    }
}

NullStandardStreams::~NullStandardStreams() {
    for (std::size_t stream = 0; stream < saved_.size(); ++stream) {
        if (saved_[stream]) ::dup2(saved_[stream].get(), static_cast<int>(stream));
    }
}

}  // namespace zep::platform
