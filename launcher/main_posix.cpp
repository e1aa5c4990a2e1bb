// The entry point of zep on POSIX systems, whose arguments are bytes: they
// are decoded once, here, so that they can be encoded back exactly (an option
// goes to the JVM as the bytes it came as). The system the launch reaches is
// made here, once, and lent to it.

#include <string>
#include <vector>

#include "launcher/launcher_main.h"
#include "platform/posix/system_access.h"
#include "platform/text.h"

int main(int argc, char* argv[]) {
    zep::platform::Trace trace;
    zep::platform::PosixAccess machine(trace);
    return zep::launcherMain({machine, trace}, [&] {
        std::vector<std::u16string> arguments;
        arguments.reserve(static_cast<std::size_t>(argc));
        for (int i = 0; i < argc; ++i) arguments.push_back(zep::platform::decodeLossless(argv[i]));
        return arguments;
    });
}
