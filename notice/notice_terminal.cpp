#include <unistd.h>

#include <cerrno>
#include <initializer_list>
#include <string>

#include "notice/notice_forms.h"

namespace zep::notice {
namespace {

void writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;  // a closed terminal: nobody is left to tell
        done += static_cast<std::size_t>(written);
    }
}

}  // namespace

void writeTerminalNotice(const NoticeTexts& texts) {
    if (::isatty(STDERR_FILENO) != 1) return;
    // An empty piece (no body without a language option) would only be a stray blank line.
    std::string lines;
    for (const std::string* piece : {&texts.title, &texts.body, &texts.helpUrl}) {
        if (!piece->empty()) lines += *piece + '\n';
    }
    writeAll(STDERR_FILENO, lines);
}

}  // namespace zep::notice
