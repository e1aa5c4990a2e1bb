#pragma once
// The Java virtual machine inside the launcher's process: created from a
// loaded runtime through the JNI invocation interface, its entry class's main
// called on this thread, destroyed at the end. Every failed step throws
// std::runtime_error with that step's one message; a Java exception pending
// at a step is described by the runtime first.

#include <jni.h>

#include <string>
#include <vector>

#include "jvmhost/jvm_options.h"
#include "platform/handle.h"
#include "platform/library.h"
#include "platform/trace.h"

namespace zep::jvmhost {

// The machine, destroyed when its owner goes: DestroyJavaVM waits for the
// Java program's non-daemon threads.
struct JavaVmTraits {
    using pointer = JavaVM*;
    static constexpr pointer invalid() noexcept { return nullptr; }
    static constexpr bool isValid(pointer vm) noexcept { return vm != nullptr; }
    void close(pointer vm) const noexcept;
    platform::Trace* trace = nullptr;  // told how long the destruction took
};
using UniqueJavaVm = platform::UniqueHandle<JavaVmTraits>;

// A machine and the environment of the thread that made it, which belongs to
// the machine.
struct Machine {
    UniqueJavaVm vm;
    JNIEnv* env = nullptr;
};

// Creates the machine from `library`, JNI 1.6, unrecognised options an error.
// A machine made but unusable (no environment, an exception pending) is
// destroyed again before the step fails. Each step, and the machine's
// destruction, is told to `trace`.
Machine createMachine(const platform::RuntimeLibrary& library, JvmOptions& options, platform::Trace& trace);

// Finds the class `mainClass` (JNI name; empty means none was given), makes a
// String[] of `arguments` and calls its static main with it, returning when
// main returns. When main ends with an exception and `exceptionText` is
// given, it receives the exception as the runtime would describe it (empty
// when that cannot be had), before the runtime describes it on its own
// standard error.
void callMain(JNIEnv* env, const std::string& mainClass, const std::vector<std::u16string>& arguments,
              platform::Trace& trace, std::u16string* exceptionText = nullptr);

}  // namespace zep::jvmhost
