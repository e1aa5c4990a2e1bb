#pragma once
// Which file the running program was loaded from.

#include <optional>
#include <string>

namespace zep::platform {

// The absolute name of the main program's own file, as bytes, checked to
// name that very file now. Otherwise `problem` says why there is no such
// name (a file deleted or made in memory, a mapping the kernel does not
// show), and `name` holds what name there is, if any.
struct ProgramFile {
    std::string name;
    std::string problem;  // empty when `name` is the file's
};
ProgramFile mainProgramFile();

}  // namespace zep::platform
