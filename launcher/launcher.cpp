#include "launcher/launcher.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include "launcher/message.h"
#include "platform/trace.h"
#include "resources/help_address.h"

namespace zep {
namespace {

// Both relative: the machine resolves them against the current directory,
// which the launcher never changes.
constexpr const char* kFixedOptions[] = {"-Djava.class.path=zep.jar", "-Djava.library.path=."};

char* duplicate(const char* text) {
    const std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(std::malloc(size));
    if (copy == nullptr) throw std::bad_alloc();
    std::memcpy(copy, text, size);
    return copy;
}

}  // namespace

Launcher::Launcher() : helpUrl(kDefaultHelpUrl) {}

Launcher::~Launcher() {
    for (JavaVMOption& option : jvmOptions) std::free(option.optionString);
    jvmOptions.clear();
    if (javaVm != nullptr) {
        const platform::trace::Stopwatch destroying;
        javaVm->DestroyJavaVM();  // waits for the program's non-daemon threads
        javaVm = nullptr;
        platform::trace::line("DestroyJavaVM returned after " + destroying.elapsed());
    }
    if (jvmModule) {
        jvmModule.reset();
        platform::trace::line("JVM library released");
    }
}

bool Launcher::run(int argc, const char16_t* const argv[]) {
    try {
        parseArguments(argc, argv);
        for (const char* option : kFixedOptions) appendOption(duplicate(option));
        createJvm();
        invokeMain();
        return true;
    } catch (const std::runtime_error& error) {
        reportFailure(error.what());
        return false;
    }
}

void Launcher::appendOption(char* text) {
    try {
        jvmOptions.push_back(JavaVMOption{text, nullptr});
    } catch (...) {
        std::free(text);
        throw;
    }
}

}  // namespace zep
