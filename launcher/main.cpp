// The process entry point: Windows hands over UTF-16 arguments as they are,
// POSIX hands over bytes, which are decoded once, here, so that they can be
// encoded back exactly (an option goes to the JVM as the bytes it came as).

#include <string>
#include <vector>

#include "launcher/launch.h"

#ifdef _WIN32

#ifdef ZEP_WINDOWLESS
#include "launcher/message.h"
#include "platform/windows/standard_error_given.h"
#endif

int wmain(int argc, wchar_t* argv[]) {
#ifdef ZEP_WINDOWLESS
    // zepw.exe: the messages go where the caller sent standard error, if it
    // did; otherwise they wait for a failure and its box.
    if (!zep::platform::standardErrorGivenByCaller()) zep::collectMessages();
#endif
    return zep::launch([&] {
        std::vector<std::u16string> arguments;
        arguments.reserve(static_cast<std::size_t>(argc));
        for (int i = 0; i < argc; ++i) {
            const std::wstring_view argument(argv[i]);
            arguments.emplace_back(argument.begin(), argument.end());
        }
        return arguments;
    });
}

#else

#include "platform/utf.h"

int main(int argc, char* argv[]) {
    return zep::launch([&] {
        std::vector<std::u16string> arguments;
        arguments.reserve(static_cast<std::size_t>(argc));
        for (int i = 0; i < argc; ++i) arguments.push_back(zep::platform::decodeLossless(argv[i]));
        return arguments;
    });
}

#endif
