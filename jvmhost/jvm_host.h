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
#include "platform/library.h"

namespace zep::jvmhost {

// Creates the machine from `library`, JNI 1.6, unrecognised options an error.
// Sets `vm` and `env` once the machine exists; `vm` alone when it came without
// an environment, which fails the step but leaves the machine to destroy.
void createMachine(const platform::RuntimeLibrary& library, JvmOptions& options, JavaVM*& vm, JNIEnv*& env);

// Finds the class `mainClass` (JNI name; empty means none was given), makes a
// String[] of `arguments` and calls its static main with it, returning when
// main returns.
void callMain(JNIEnv* env, const std::string& mainClass, const std::vector<std::u16string>& arguments);

// Destroys the machine, which waits for the Java program's non-daemon threads.
void destroyMachine(JavaVM* vm);

}  // namespace zep::jvmhost
