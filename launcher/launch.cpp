#include "launcher/launch.h"

#include <exception>
#include <new>

#include "launcher/launcher.h"
#include "launcher/message.h"

namespace zep {

int launch(const std::function<std::vector<std::u16string>()>& readArguments) noexcept {
    try {
        try {
            const std::vector<std::u16string> arguments = readArguments();
            std::vector<const char16_t*> argv;
            argv.reserve(arguments.size() + 1);
            for (const std::u16string& argument : arguments) argv.push_back(argument.c_str());
            argv.push_back(nullptr);
            Launcher launcher;
            return launcher.run(static_cast<int>(arguments.size()), argv.data()) ? 0 : 1;
        } catch (const std::bad_alloc&) {
            writeMessage("Out of memory.");
        } catch (...) {
            writeMessage("Unexpected failure.");
        }
    } catch (...) {
        // Not even the message could be written; the exit code still tells.
    }
    return 1;
}

}  // namespace zep
