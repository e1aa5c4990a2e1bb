// The entry point of zep.exe, and of zepw.exe (ZEP_WINDOWLESS), the same
// launcher without a console window. Windows hands over the command line as
// UTF-16, which the launcher keeps as it is. The system the launch reaches is
// made here, once, and lent to it.

#include <string>
#include <vector>

#include "launcher/launcher_main.h"
#include "platform/windows/system_access.h"

#ifdef ZEP_WINDOWLESS
#include "launcher/single_instance.h"
#include "platform/windows/standard_error_given.h"
#endif

int wmain(int argc, wchar_t* argv[]) {
#ifdef ZEP_WINDOWLESS
    // The messages go where the caller sent standard error, if it did and it
    // can be written to; otherwise they wait for a failure and its box.
    const zep::MessageMode mode = zep::platform::standardErrorGivenByCaller() ? zep::MessageMode::CollectOnceUnwritten
                                                                              : zep::MessageMode::Collect;
    constexpr zep::Program program = zep::Program::Desktop;
    zep::SingleInstance singleInstance;
    zep::LaterStarts* const laterStarts = &singleInstance;
#else
    const zep::MessageMode mode = zep::MessageMode::Write;
    constexpr zep::Program program = zep::Program::Console;
    zep::LaterStarts* const laterStarts = nullptr;
#endif
    zep::platform::Trace trace;
    zep::platform::Win32Access machine(trace);
    zep::platform::Win32Registry registry;
    return zep::launcherMain(
        {machine, registry, trace},
        [&] {
            std::vector<std::u16string> arguments;
            arguments.reserve(static_cast<std::size_t>(argc));
            for (int i = 0; i < argc; ++i) {
                const std::wstring_view argument(argv[i]);
                arguments.emplace_back(argument.begin(), argument.end());
            }
            return arguments;
        },
        mode, program, laterStarts);
}
