#include "launcher/launcher_main.h"

#include <algorithm>
#include <exception>
#include <new>
#include <span>
#include <string>

#include "launcher/launcher.h"

namespace zep {
namespace {

int exitWith(platform::Trace& trace, int code) noexcept {
    trace.line([&] { return "exit code " + std::to_string(code); });
    return code;
}

}  // namespace

int launcherMain(const platform::System& system, const std::function<std::vector<std::u16string>()>& readArguments,
                 MessageMode mode, Program program, LaterStarts* laterStarts) noexcept {
    Messages messages(system.trace, mode);
    try {
        system.trace.start(system.machine.environmentVariable(u"QRVN_ZEP_TRACE"));
        const std::vector<std::u16string> arguments = readArguments();
        const std::span<const std::u16string> afterProgram =
            std::span(arguments).subspan(std::min<std::size_t>(arguments.size(), 1));
        bool completed = false;
        {
            Launcher launcher(system, messages, program, laterStarts);
            completed = launcher.run(afterProgram);
        }
        return exitWith(system.trace, completed ? 0 : 1);
    } catch (const std::bad_alloc&) {
        messages.fail("Out of memory.");
    } catch (...) {
        messages.fail("Unexpected failure.");
    }
    return exitWith(system.trace, 1);
}

}  // namespace zep
