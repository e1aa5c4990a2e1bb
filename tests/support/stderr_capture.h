#pragma once
// Collects what the code under test writes to standard error while it lives:
// the descriptor (POSIX) or handle (Windows) itself, which the launcher's
// messages and trace are written to, goes to a file of its own meanwhile.

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <io.h>

#include "platform/windows/win32.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zep::test {

class StderrCapture {
public:
    StderrCapture() : file_(std::tmpfile()) {
        std::fflush(stderr);
#ifdef _WIN32
        previous_ = ::GetStdHandle(STD_ERROR_HANDLE);
        ::SetStdHandle(STD_ERROR_HANDLE, reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file_))));
#else
        previous_ = ::dup(STDERR_FILENO);
        ::dup2(::fileno(file_), STDERR_FILENO);
#endif
    }
    ~StderrCapture() {
#ifdef _WIN32
        ::SetStdHandle(STD_ERROR_HANDLE, previous_);
#else
        ::dup2(previous_, STDERR_FILENO);
        ::close(previous_);
#endif
        std::fclose(file_);
    }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Everything written so far; later writes go on after it.
    std::string text() const {
        std::string all;
        std::rewind(file_);
        char buffer[4096];
        for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) all.append(buffer, count);
        return all;
    }

private:
    std::FILE* file_;
#ifdef _WIN32
    HANDLE previous_;
#else
    int previous_;
#endif
};

}  // namespace zep::test
