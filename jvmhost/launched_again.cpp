#include "jvmhost/launched_again.h"

#include <algorithm>
#include <iterator>

#include "platform/handle.h"

namespace zep::jvmhost {
namespace {

namespace trace = platform::trace;

constexpr const char* kName = "launchedAgain";
constexpr const char* kSignature = "(Ljava/lang/String;[Ljava/lang/String;)V";
// What the program's own thread dumps and exception messages call the thread.
constexpr char kThreadName[] = "zep launched again";

// Clears what a lookup left pending: a missing launchedAgain is no failure,
// and must not reach main's own lookups.
bool clearedPending(JNIEnv* env) {
    if (!env->ExceptionCheck()) return false;
    env->ExceptionClear();
    return true;
}

// Clears what GetStaticMethodID left pending, describing it first unless it
// says no more than that the method is missing. The lookup initialises the
// class, and what its initialiser throws is the program's own failure: the
// class's next use would hide it behind a bare NoClassDefFoundError, so it is
// described now, as it would have been when main was looked up.
void clearLookupFailure(JNIEnv* env) {
    const jthrowable thrown = env->ExceptionOccurred();
    env->ExceptionClear();
    const jclass missing = env->FindClass("java/lang/NoSuchMethodError");
    const bool isMissing = !clearedPending(env) && missing != nullptr && env->IsInstanceOf(thrown, missing);
    if (missing != nullptr) env->DeleteLocalRef(missing);
    if (!isMissing) {
        env->Throw(thrown);
        env->ExceptionDescribe();
        env->ExceptionClear();
    }
    env->DeleteLocalRef(thrown);
}

// A Java string of `text`'s UTF-16 units, unpaired surrogates and NULs
// included; null, with nothing pending, when it cannot be made.
jstring makeString(JNIEnv* env, std::u16string_view text) {
    const jstring made = env->NewString(reinterpret_cast<const jchar*>(text.data()), static_cast<jsize>(text.size()));
    if (clearedPending(env)) return nullptr;
    return made;
}

// The String[] of `args`; null, with nothing pending, when it cannot be made.
jobjectArray makeArray(JNIEnv* env, const std::vector<std::u16string>& args) {
    const jclass stringClass = env->FindClass("java/lang/String");
    if (clearedPending(env) || stringClass == nullptr) return nullptr;
    const jobjectArray array = env->NewObjectArray(static_cast<jsize>(args.size()), stringClass, nullptr);
    env->DeleteLocalRef(stringClass);
    if (clearedPending(env) || array == nullptr) return nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const jstring text = makeString(env, args[i]);
        if (text == nullptr) {
            env->DeleteLocalRef(array);
            return nullptr;
        }
        env->SetObjectArrayElement(array, static_cast<jsize>(i), text);
        env->DeleteLocalRef(text);
        if (clearedPending(env)) {
            env->DeleteLocalRef(array);
            return nullptr;
        }
    }
    return array;
}

}  // namespace

std::optional<LaunchedAgain> findLaunchedAgain(JavaVM* vm, JNIEnv* env, const std::string& mainClass,
                                               platform::Trace& trace) {
    // What is pending already is main's to report, as it was before.
    if (mainClass.empty() || env->ExceptionCheck()) {
        trace.line("launchedAgain not looked up: no main class, or an exception pending");
        return std::nullopt;
    }
    const trace::Stopwatch looking;
    const jclass entryClass = env->FindClass(mainClass.c_str());
    if (clearedPending(env) || entryClass == nullptr) {
        if (entryClass != nullptr) env->DeleteLocalRef(entryClass);
        trace.line([&] { return "launchedAgain not looked up: FindClass " + mainClass + " failed"; });
        return std::nullopt;
    }
    const jmethodID method = env->GetStaticMethodID(entryClass, kName, kSignature);
    const bool pending = env->ExceptionCheck();
    if (pending) clearLookupFailure(env);
    const bool found = !pending && method != nullptr;
    trace.line([&] {
        return std::string("GetStaticMethodID ") + kName + kSignature + ": " +
               (found ? "found in " : "not found after ") + looking.elapsed();
    });
    const jclass global = found ? static_cast<jclass>(env->NewGlobalRef(entryClass)) : nullptr;
    env->DeleteLocalRef(entryClass);
    if (!found) return std::nullopt;
    if (clearedPending(env) || global == nullptr) {
        trace.line("launchedAgain dropped: no global reference to its class");
        return std::nullopt;
    }
    return LaunchedAgain(vm, global, method);
}

bool callLaunchedAgain(const LaunchedAgain& method, std::u16string_view workingDirectory,
                       const std::vector<std::u16string>& args, platform::Trace& trace) {
    char threadName[sizeof kThreadName];
    std::copy(std::begin(kThreadName), std::end(kThreadName), threadName);
    JavaVMAttachArgs attachArgs{JNI_VERSION_1_6, threadName, nullptr};
    JNIEnv* env = nullptr;
    const jint attached = method.vm()->AttachCurrentThreadAsDaemon(reinterpret_cast<void**>(&env), &attachArgs);
    if (attached != JNI_OK || env == nullptr) {
        trace.line([&] {
            return "launchedAgain not called: AttachCurrentThreadAsDaemon returned " + std::to_string(attached);
        });
        return false;
    }
    // Whatever the thread made goes with it: its local references, and any
    // exception it could not clear.
    const platform::ScopeExit detach([&] { method.vm()->DetachCurrentThread(); });
    const jstring directory = makeString(env, workingDirectory);
    const jobjectArray array = directory != nullptr ? makeArray(env, args) : nullptr;
    if (array == nullptr) {
        if (directory != nullptr) env->DeleteLocalRef(directory);
        trace.line("launchedAgain not called: its arguments could not be made");
        return false;
    }
    const trace::Stopwatch running;
    env->CallStaticVoidMethod(method.entryClass(), method.method(), directory, array);
    const bool threw = env->ExceptionCheck();
    trace.line([&] {
        return std::string("launchedAgain ") + (threw ? "threw after " : "returned after ") + running.elapsed();
    });
    if (threw) {
        // The program's own failure, told as the runtime tells an uncaught
        // one; it ends neither the program nor this launch's hand-over.
        env->ExceptionDescribe();
        env->ExceptionClear();
    }
    env->DeleteLocalRef(array);
    env->DeleteLocalRef(directory);
    return true;
}

}  // namespace zep::jvmhost
