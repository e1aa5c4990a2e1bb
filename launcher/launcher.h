#pragma once
// The one application object of a launch: what the command line asked for, the
// loaded runtime and its virtual machine, and the texts of the runtime-missing
// notice; and the order of a launch's steps, each a short call into the
// subsystem that does it.

#include <jni.h>

#include <string>
#include <vector>

#include "jvmhost/jvm_options.h"
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

    // Sorts the arguments after argv[0] into JVM options, the command word and
    // program arguments. Throws std::runtime_error("Invalid command.").
    void parseArguments(int argc, const char16_t* const argv[]);
    // Acts on "-Duser.language=" options; every other option is left alone.
    void applyLanguageOption(const char16_t* option);
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
