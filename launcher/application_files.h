#pragma once
// Where a launch finds the application: its archive, zep.jar, on the class
// path, and its native libraries on the library path.

#include <string>

#include "launcher/program.h"
#include "platform/system.h"

namespace zep {

struct ApplicationFiles {
    std::string classPath;    // "-Djava.class.path=...", in the runtime's encoding
    std::string libraryPath;  // "-Djava.library.path=..."
    std::u16string archive;   // zep.jar's full path as the runtime will resolve it; empty when unknown
};

// The console launcher names "zep.jar" and ".", which the runtime resolves
// against the current directory, as it always has. The desktop twin does the
// same where the current directory holds a zep.jar; where it holds none (a
// file opened from the shell, which starts the program in the file's folder
// or its own) it names its own folder's zep.jar and the folder itself, by
// full path, so that relative program arguments keep meaning the caller's
// folder. Tells the trace when it does.
ApplicationFiles findApplicationFiles(const platform::System& system, Program program);

}  // namespace zep
