#include <stdexcept>

#include "launcher/launcher.h"

namespace zep {

void Launcher::createJvm() {
    // Runtime discovery is not built yet, so no runtime is ever found.
    showJavaMissingNotice();
    checkStep(false, "Failed to find java install path");
}

void Launcher::invokeMain() { checkStep(!mainClass.empty(), "Main class invalid."); }

void Launcher::checkStep(bool condition, const char* message) {
    if (!condition) throw std::runtime_error(message);
    checkJavaException(message);
}

void Launcher::checkJavaException(const char* message) {
    if (jniEnv != nullptr && jniEnv->ExceptionOccurred() != nullptr) {
        jniEnv->ExceptionDescribe();
        throw std::runtime_error(message);
    }
}

}  // namespace zep
