#pragma once
// The entry class's optional
//     public static void launchedAgain(String workingDirectory, String[] args)
// through which a later start of the program hands its working directory and
// arguments to the one already running. It is looked up once, on the thread
// that made the machine, and called from a thread of the launcher's own.

#include <jni.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/trace.h"

namespace zep::jvmhost {

// The entry class's launchedAgain, held for calls from other threads: a
// global reference to the class, and the method. The global reference is
// released with the machine, never before: the machine must outlive every
// call, and deleting the reference from the thread that tears the launch down
// could pull it from under a call still running on another.
class LaunchedAgain {
public:
    JavaVM* vm() const noexcept { return vm_; }
    jclass entryClass() const noexcept { return entryClass_; }
    jmethodID method() const noexcept { return method_; }

private:
    friend std::optional<LaunchedAgain> findLaunchedAgain(JavaVM*, JNIEnv*, const std::string&, platform::Trace&);
    LaunchedAgain(JavaVM* vm, jclass entryClass, jmethodID method) noexcept
        : vm_(vm), entryClass_(entryClass), method_(method) {}

    JavaVM* vm_;
    jclass entryClass_;  // a global reference
    jmethodID method_;
};

// On the thread that made the machine, after it is made: finds `mainClass`
// (JNI name) and its static launchedAgain(String, String[]). Nullopt when the
// class or the method is missing; the exception that the failed lookup left
// pending is then cleared without a word, so that main is found, or fails to
// be, as it would have been without this lookup. Nullopt too when the class's
// initialiser, which the lookup runs, throws: that exception is described on
// the process's standard error, then cleared, since the class's next use
// only says that it could not be initialised. Tells `trace` what it found.
std::optional<LaunchedAgain> findLaunchedAgain(JavaVM* vm, JNIEnv* env, const std::string& mainClass,
                                               platform::Trace& trace);

// On a thread of the caller's own, never the machine's main thread: attaches
// it as a daemon named "zep launched again", so that it never keeps the
// program alive, calls launchedAgain(workingDirectory, args) with the texts'
// UTF-16 units as they are, and detaches again. An exception that the method
// throws is described on the process's standard error and cleared. False
// when the machine takes no thread now (it is going down) or a step failed
// before the call; true when the method was called, whether or not it threw.
// Each outcome is told to `trace` in one line.
bool callLaunchedAgain(const LaunchedAgain& method, std::u16string_view workingDirectory,
                       const std::vector<std::u16string>& args, platform::Trace& trace);

}  // namespace zep::jvmhost
