#pragma once
// The standard streams as what a started program inherits (POSIX).

#include <array>

#include "platform/posix/unique_fd.h"

namespace zep::platform {

// Points standard input, output and error at the null device for as long as
// it lives, and back at what they were when it goes; a stream that was closed
// stays closed. A program started meanwhile inherits the null device.
class NullStandardStreams {
public:
    NullStandardStreams();
    ~NullStandardStreams();
    NullStandardStreams(const NullStandardStreams&) = delete;
    NullStandardStreams& operator=(const NullStandardStreams&) = delete;

private:
    std::array<UniqueFd, 3> saved_;  // copies of the streams as they were, by number
};

}  // namespace zep::platform
