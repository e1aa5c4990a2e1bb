#pragma once
// The one application object of a launch: what the options files and the
// command line asked for, the loaded runtime and its virtual machine, and the
// texts of the runtime-missing notice; and the order of a launch's steps, each
// a short call into the subsystem that does it.

#include <string>
#include <vector>

#include "jvmhost/jvm_host.h"
#include "jvmhost/jvm_options.h"
#include "launcher/command_line.h"
#include "launcher/message.h"
#include "platform/library.h"

namespace zep {

// The runtime's library, released last of all, and said so in the trace.
struct LoadedRuntime {
    LoadedRuntime() = default;
    LoadedRuntime(const LoadedRuntime&) = delete;
    LoadedRuntime& operator=(const LoadedRuntime&) = delete;
    ~LoadedRuntime();

    platform::RuntimeLibrary library;  // with the C runtime loaded for it
};

class Launcher {
public:
    // The launch tells its warnings and its failure through `messages`.
    explicit Launcher(Messages& told);
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // Performs one launch. Every failure the launcher detects is reported
    // here; returns true when the launch completed.
    bool run(int argc, const char16_t* const argv[]);

private:
    // Takes what parsing found: writes the warnings, lets -Duser.language=
    // choose the notice's language, keeps the options in the runtime's
    // encoding, the entry class and the program arguments. Throws
    // std::runtime_error("Invalid command.").
    void apply(ParsedLaunch parsed);
    void createJvm();
    void invokeMain();
    void showJavaMissingNotice();

    // Teardown is this order, reversed: the texts and lists go, the option
    // texts are freed, the machine is destroyed (which waits for the Java
    // program's non-daemon threads), and last the runtime's library goes.
    Messages& messages;
    LoadedRuntime jvmModule;
    jvmhost::Machine machine;        // the JavaVM and this thread's JNIEnv
    jvmhost::JvmOptions jvmOptions;  // in the encoding the runtime reads, owned here
    std::vector<std::u16string> programArgs;
    std::string mainClass;  // JNI class name; empty until a command word is taken
    std::u16string helpUrl;
    std::u16string noticeText;
};

}  // namespace zep
