#include "launcher/launch.h"

#include <exception>
#include <new>
#include <string>

#include "launcher/launcher.h"
#include "launcher/message.h"
#include "platform/trace.h"

namespace zep {
namespace {

int exitWith(int code) {
    platform::trace::line([&] { return "exit code " + std::to_string(code); });
    return code;
}

}  // namespace

int launch(const std::function<std::vector<std::u16string>()>& readArguments) noexcept {
    try {
        try {
            platform::trace::start();
            const std::vector<std::u16string> arguments = readArguments();
            std::vector<const char16_t*> argv;
            argv.reserve(arguments.size() + 1);
            for (const std::u16string& argument : arguments) argv.push_back(argument.c_str());
            argv.push_back(nullptr);
            bool completed = false;
            {
                Launcher launcher;
                completed = launcher.run(static_cast<int>(arguments.size()), argv.data());
            }
            return exitWith(completed ? 0 : 1);
        } catch (const std::bad_alloc&) {
            reportFailure("Out of memory.");
        } catch (...) {
            reportFailure("Unexpected failure.");
        }
    } catch (...) {
        // Not even the message could be written; the exit code still tells.
    }
    return exitWith(1);
}

}  // namespace zep
