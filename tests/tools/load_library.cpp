// Loads one library the plain way, by its path and nothing else, and says
// whether it loaded: the control for tests of how the launcher loads runtimes.

#include <cstdio>

#include "platform/library.h"
#include "platform/text.h"

int main(int argc, char* argv[]) {
    if (argc != 2) return 2;
    const bool loaded = static_cast<bool>(zep::platform::Library::load(zep::platform::utf8ToUtf16(argv[1])));
    std::fputs(loaded ? "loaded" : "not loaded", stdout);
    return 0;
}
