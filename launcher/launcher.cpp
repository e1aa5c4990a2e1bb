#include "launcher/launcher.h"

#include <stdexcept>

#include "discovery/find_java_runtime.h"
#include "jvmhost/jvm_host.h"
#include "launcher/message.h"
#include "notice/notice_text.h"
#include "notice/show_notice.h"
#include "platform/trace.h"
#include "resources/help_address.h"

namespace zep {
namespace {

namespace trace = platform::trace;

// Both relative: the machine resolves them against the current directory,
// which the launcher never changes.
constexpr const char* kFixedOptions[] = {"-Djava.class.path=zep.jar", "-Djava.library.path=."};

}  // namespace

Launcher::Launcher() : helpUrl(kDefaultHelpUrl) {}

Launcher::~Launcher() {
    jvmOptions.clear();
    if (javaVm != nullptr) {
        jvmhost::destroyMachine(javaVm);
        javaVm = nullptr;
    }
    if (jvmModule) {
        jvmModule.reset();
        trace::line("JVM library released");
    }
}

bool Launcher::run(int argc, const char16_t* const argv[]) {
    try {
        parseArguments(argc, argv);
        for (const char* option : kFixedOptions) jvmOptions.append(option);
        createJvm();
        invokeMain();
        return true;
    } catch (const std::runtime_error& error) {
        reportFailure(error.what());
        return false;
    }
}

void Launcher::applyLanguageOption(const char16_t* option) { notice::applyLanguageOption(option, noticeText, helpUrl); }

void Launcher::createJvm() {
    const trace::Stopwatch searching;
    const std::u16string path = findJavaRuntime();
    trace::line([&] {
        return path.empty() ? "no Java runtime found, after " + searching.elapsed()
                            : "runtime search chose " + trace::quoted(path) + " in " + searching.elapsed();
    });
    if (path.empty()) {
        showJavaMissingNotice();
        throw std::runtime_error("Failed to find java install path");
    }
    const trace::Stopwatch loading;
    jvmModule = platform::RuntimeLibrary::load(path);
    trace::line([&] {
        return jvmModule ? "JVM library loaded in " + loading.elapsed()
                         : "JVM library does not load now: " + jvmModule.failure();
    });
    if (!jvmModule) {
        showJavaMissingNotice();
        throw std::runtime_error("Failed to load jvm.dll");
    }
    jvmhost::createMachine(jvmModule, jvmOptions, javaVm, jniEnv);
}

void Launcher::invokeMain() { jvmhost::callMain(jniEnv, mainClass, programArgs); }

void Launcher::showJavaMissingNotice() {
    const trace::Stopwatch shown;
    notice::showRuntimeMissingNotice(noticeText, helpUrl);
    noticeShown();
    trace::line([&] { return "runtime-missing notice closed after " + shown.elapsed(); });
}

}  // namespace zep
