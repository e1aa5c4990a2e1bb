#pragma once
// The one application object of a launch: what the options files and the
// command line asked for, the loaded runtime and its virtual machine, and the
// texts of the runtime-missing notice; and the order of a launch's steps, each
// a short call into the subsystem that does it.

#include <jni.h>

#include <string>
#include <vector>

#include "jvmhost/jvm_options.h"
#include "launcher/command_line.h"
#include "platform/library.h"

namespace zep {

class Launcher {
public:
    Launcher();
    ~Launcher();
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

    // Teardown depends on this order: the destructor frees the option texts,
    // destroys the machine and releases the library, and the members that remain
    // then go in reverse order, from noticeText back to the option list.
    platform::RuntimeLibrary jvmModule;  // with the C runtime loaded for it
    JavaVM* javaVm = nullptr;
    JNIEnv* jniEnv = nullptr;
    jvmhost::JvmOptions jvmOptions;  // in the encoding the runtime reads, owned here
    std::vector<std::u16string> programArgs;
    std::string mainClass;  // JNI class name; empty until a command word is taken
    std::u16string helpUrl;
    std::u16string noticeText;
};

}  // namespace zep
