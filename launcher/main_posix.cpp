// The entry point of zep on POSIX systems, whose arguments are bytes: they
// are decoded once, here, so that they can be encoded back exactly (an option
// goes to the JVM as the bytes it came as).

#include <string>
#include <vector>

#include "launcher/launch.h"
#include "platform/text.h"

int main(int argc, char* argv[]) {
    return zep::launch([&] {
        std::vector<std::u16string> arguments;
        arguments.reserve(static_cast<std::size_t>(argc));
        for (int i = 0; i < argc; ++i) arguments.push_back(zep::platform::decodeLossless(argv[i]));
        return arguments;
    });
}
