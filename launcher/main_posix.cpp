// The entry point of zep on POSIX systems, and of zepw (ZEP_WINDOWLESS), the
// same launcher for a desktop entry. Arguments are bytes: they are decoded
// once, here, so that they can be encoded back exactly (an option goes to the
// JVM as the bytes it came as). The system the launch reaches is made here,
// once, and lent to it.

#include <string>
#include <vector>

#include "launcher/launcher_main.h"
#include "platform/posix/system_access.h"
#include "platform/text.h"

#ifdef ZEP_WINDOWLESS
#include "launcher/single_instance.h"
#include "platform/dialog.h"
#include "platform/standard_error.h"
#endif

int main(int argc, char* argv[]) {
#ifdef ZEP_WINDOWLESS
    // Started from a desktop, standard error goes to a log nobody reads: the
    // messages still go there, for the journal, and the failure is shown in a
    // box too. From a terminal, or with no display to show a box on, zepw
    // tells them as zep does.
    const bool desktop = !zep::platform::standardErrorIsTerminal() && zep::platform::displayNamed();
    const zep::MessageMode mode = desktop ? zep::MessageMode::WriteAndShow : zep::MessageMode::Write;
    constexpr zep::Program program = zep::Program::Desktop;
    zep::SingleInstance singleInstance;
    zep::LaterStarts* const laterStarts = &singleInstance;
#else
    const zep::MessageMode mode = zep::MessageMode::Write;
    constexpr zep::Program program = zep::Program::Console;
    zep::LaterStarts* const laterStarts = nullptr;
#endif
    zep::platform::Trace trace;
    zep::platform::PosixAccess machine(trace);
    return zep::launcherMain(
        {machine, trace},
        [&] {
            std::vector<std::u16string> arguments;
            arguments.reserve(static_cast<std::size_t>(argc));
            for (int i = 0; i < argc; ++i) arguments.push_back(zep::platform::decodeLossless(argv[i]));
            return arguments;
        },
        mode, program, laterStarts);
}
