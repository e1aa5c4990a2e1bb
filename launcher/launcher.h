#pragma once
// The one application object of a launch: what the options files and the
// command line asked for, the loaded runtime and its virtual machine, and the
// texts of the runtime-missing notice; and the order of a launch's steps, each
// a short call into the subsystem that does it.

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "discovery/find_java_runtime.h"
#include "jvmhost/jvm_host.h"
#include "jvmhost/jvm_options.h"
#include "launcher/class_archive.h"
#include "launcher/command_line.h"
#include "launcher/later_starts.h"
#include "launcher/message.h"
#include "launcher/program.h"
#include "launcher/runtime_words.h"
#include "notice/notice_text.h"
#include "platform/library.h"
#include "platform/system.h"

namespace zep {

// The runtime the search chose and its library, released last of all, and
// said so in the trace.
struct LoadedRuntime {
    explicit LoadedRuntime(platform::Trace& told) : trace(told) {}
    LoadedRuntime(const LoadedRuntime&) = delete;
    LoadedRuntime& operator=(const LoadedRuntime&) = delete;
    ~LoadedRuntime();

    platform::Trace& trace;
    std::optional<discovery::FoundRuntime> found;  // its home, its library, the stage that chose it
    platform::RuntimeLibrary library;              // with the C runtime loaded for it
};

class Launcher {
public:
    // The launch reaches the system through `system` (whose trace it tells
    // each step) and tells its warnings and its failure through `told`.
    // `program` is the console launcher or its desktop twin, which lends
    // its single instance as `laterStarts`.
    Launcher(const platform::System& system, Messages& told, Program program = Program::Console,
             LaterStarts* laterStarts = nullptr);
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // Performs one launch over the command line's arguments after the
    // program's name. Every failure the launcher detects is reported here;
    // returns true when the launch completed.
    bool run(std::span<const std::u16string> arguments);

private:
    // Takes what parsing found: writes the warnings, lets -Duser.language=
    // choose the notice's language, keeps the options in the runtime's
    // encoding, the entry class and the program arguments. Throws
    // std::runtime_error("Invalid command.").
    void apply(ParsedLaunch parsed);
    // The desktop twin: true when a running start of the same executable and
    // command word took this one's arguments, so that it is done.
    bool handedOverToRunning();
    void createJvm();
    // The desktop twin, once the machine is made, for an entry class that
    // declares launchedAgain: listens for later starts until the machine is gone.
    void listenForLaterStarts();
    void invokeMain();
    void showJavaMissingNotice();
    // For a launcher whose failure goes to a box: the runtime's hooks, ahead
    // of every other option, reporting to runtimeWords.
    void installRuntimeHooks();
    // For a start whose runtime writes the class-data archive: the runtime's
    // end of the process, which only its exit hook sees, keeps it.
    void watchExit();
    // What the runtime said, for the failure's box: its words, trimmed, and
    // where each option it names came from when an options file gave it.
    std::u16string failureDetails() const;

    // Teardown is this order, reversed: the texts and lists go, the option
    // texts are freed, the machine is destroyed (which waits for the Java
    // program's non-daemon threads and writes the class-data archive), the
    // listener for later starts stops, the archive is kept, and last the
    // runtime's library goes.
    const platform::System& system;
    Messages& messages;
    const Program program;
    LoadedRuntime jvmModule;
    ClassArchive classArchive;                 // kept once the machine is gone
    std::optional<RuntimeWords> runtimeWords;  // while the runtime may call its hooks
    std::optional<ExitWatch> exitWatch;        // the same, when only its exit is watched
    // Stops listening once the machine is gone: the program ends only when
    // DestroyJavaVM has waited for its windows.
    struct ListeningStop {
        LaterStarts* laterStarts;
        ~ListeningStop() {
            if (laterStarts != nullptr) laterStarts->stopListening();
        }
    };
    LaterStarts* const laterStarts;  // the desktop twin's single instance, or none
    const ListeningStop listeningStop{laterStarts};
    jvmhost::Machine machine;                  // the JavaVM and this thread's JNIEnv
    jvmhost::JvmOptions jvmOptions;            // in the encoding the runtime reads, owned here
    std::vector<std::u16string> userOptions;   // the runtime's options from the files and the command line
    std::vector<std::string> userOptionBytes;  // the same, in the encoding the runtime reads
    std::vector<std::u16string> programArgs;
    std::vector<ParsedOption> fileOptions;  // the options that came from a file, with their line
    std::u16string mainException;           // how main's exception describes itself, for the box
    std::u16string commandWord;
    std::string mainClass;      // JNI class name; empty until a command word is taken
    notice::NoticeText notice;  // its language chosen by a -Duser.language= option
};

}  // namespace zep
