#include "notice/default_handler.h"

#include <fcntl.h>
#include <unistd.h>

namespace zep::notice {
namespace {

// Points standard input, output and error at /dev/null for as long as it
// lives. A browser would otherwise inherit the launcher's: its chatter would
// join the launcher's message, and a caller reading the launcher's output to
// its end would wait for the browser to be closed.
class StreamsToNull {
public:
    StreamsToNull() {
        const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        if (null < 0) return;
        for (int fd = 0; fd < 3; ++fd) {
            saved_[fd] = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
            if (saved_[fd] >= 0) ::dup2(null, fd);
        }
        ::close(null);
    }
    ~StreamsToNull() {
        for (int fd = 0; fd < 3; ++fd) {
            if (saved_[fd] < 0) continue;
            ::dup2(saved_[fd], fd);
            ::close(saved_[fd]);
        }
    }
    StreamsToNull(const StreamsToNull&) = delete;
    StreamsToNull& operator=(const StreamsToNull&) = delete;

private:
    int saved_[3] = {-1, -1, -1};
};

}  // namespace

void openWithDefaultHandler(const GtkRuntime& gtk, const std::string& address) {
    // GIO starts the program before it returns, so the streams are back for the launcher's message.
    const StreamsToNull detached;
    gtk.launchDefaultForUri(address.c_str(), nullptr, nullptr);
}

}  // namespace zep::notice
