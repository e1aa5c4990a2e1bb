#include "launcher/launch.h"

#include <exception>
#include <new>
#include <string>

#include "launcher/launcher.h"
#include "platform/trace.h"

namespace zep {
namespace {

int exitWith(int code) noexcept {
    platform::trace::line([&] { return "exit code " + std::to_string(code); });
    return code;
}

}  // namespace

int launch(const std::function<std::vector<std::u16string>()>& readArguments, MessageMode mode) noexcept {
    Messages messages(mode);
    try {
        platform::trace::start();
        const std::vector<std::u16string> arguments = readArguments();
        std::vector<const char16_t*> argv;
        argv.reserve(arguments.size() + 1);
        for (const std::u16string& argument : arguments) argv.push_back(argument.c_str());
        argv.push_back(nullptr);
        bool completed = false;
        {
            Launcher launcher(messages);
            completed = launcher.run(static_cast<int>(arguments.size()), argv.data());
        }
        return exitWith(completed ? 0 : 1);
    } catch (const std::bad_alloc&) {
        messages.fail("Out of memory.");
    } catch (...) {
        messages.fail("Unexpected failure.");
    }
    return exitWith(1);
}

}  // namespace zep
