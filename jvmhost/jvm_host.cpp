#include "jvmhost/jvm_host.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "platform/trace.h"

namespace zep::jvmhost {
namespace {

using CreateJavaVm = jint(JNICALL*)(JavaVM**, void**, void*);
namespace trace = platform::trace;

constexpr const char* kMainName = "main";
constexpr const char* kMainSignature = "([Ljava/lang/String;)V";
constexpr const char* kArgumentsFailed = "Failed to create command line arguments.";

std::string found(bool made) { return made ? "found in " : "not found after "; }

// A pending Java exception is described by the runtime, then the step fails.
void checkJavaException(platform::Trace& trace, JNIEnv* env, const char* message) {
    if (env != nullptr && env->ExceptionOccurred() != nullptr) {
        trace.line("a Java exception is pending");
        env->ExceptionDescribe();
        throw std::runtime_error(message);
    }
}

// A failed condition fails the step at once, leaving any exception pending.
void checkStep(platform::Trace& trace, JNIEnv* env, bool condition, const char* message) {
    if (!condition) throw std::runtime_error(message);
    checkJavaException(trace, env, message);
}

// A call that makes something: a pending exception is described and the step
// fails, and so does a null result. JNI allows nothing but a few calls while
// an exception is pending, so each is checked before the next is made.
void checkMade(platform::Trace& trace, JNIEnv* env, bool made, const char* message) {
    checkJavaException(trace, env, message);
    if (!made) throw std::runtime_error(message);
}

jobjectArray makeArguments(platform::Trace& trace, JNIEnv* env, const std::vector<std::u16string>& arguments) {
    const jstring emptyString = env->NewStringUTF("");
    checkMade(trace, env, emptyString != nullptr, kArgumentsFailed);
    const jclass stringClass = env->FindClass("java/lang/String");
    checkMade(trace, env, stringClass != nullptr, kArgumentsFailed);
    const auto count = static_cast<jsize>(arguments.size());
    const jobjectArray array = env->NewObjectArray(count, stringClass, emptyString);
    if (array == nullptr) throw std::runtime_error(kArgumentsFailed);
    checkJavaException(trace, env, kArgumentsFailed);
    for (jsize i = 0; i < count; ++i) {
        // UTF-16 code units go over as they are: no code page stands between
        // the command line and the Java program.
        const std::u16string& argument = arguments[static_cast<std::size_t>(i)];
        const jstring text =
            env->NewString(reinterpret_cast<const jchar*>(argument.data()), static_cast<jsize>(argument.size()));
        checkMade(trace, env, text != nullptr, kArgumentsFailed);
        env->SetObjectArrayElement(array, i, text);
        checkJavaException(trace, env, kArgumentsFailed);
    }
    return array;
}

// The text of a Java string; nullopt for a null one or when it cannot be read.
std::optional<std::u16string> stringText(JNIEnv* env, jstring text) {
    if (text == nullptr) return std::nullopt;
    const jsize length = env->GetStringLength(text);
    const jchar* units = env->GetStringChars(text, nullptr);
    if (units == nullptr || env->ExceptionCheck()) return std::nullopt;
    std::u16string result(reinterpret_cast<const char16_t*>(units), static_cast<std::size_t>(length));
    env->ReleaseStringChars(text, units);
    env->DeleteLocalRef(text);
    return result;
}

// `object.toString()`, through Object's method; nullopt when that throws or
// gives nothing.
std::optional<std::u16string> toText(JNIEnv* env, jmethodID toString, jobject object) {
    const auto text = static_cast<jstring>(env->CallObjectMethod(object, toString));
    if (env->ExceptionCheck()) return std::nullopt;
    return stringText(env, text);
}

// The exception as the runtime would describe it: its own toString, then
// "\tat " and each of its first frames, kMaxExceptionLines lines in all.
// Empty when any step fails: the failure's box then holds the launcher's
// message alone. The exception is pending again when this returns, as it
// was before, whatever happened in between.
std::u16string describeException(JNIEnv* env) {
    constexpr jsize kMaxExceptionLines = 20;
    const jthrowable thrown = env->ExceptionOccurred();
    if (thrown == nullptr) return {};
    env->ExceptionClear();
    std::u16string description;
    const jclass object = env->FindClass("java/lang/Object");
    const jclass throwable = object != nullptr ? env->FindClass("java/lang/Throwable") : nullptr;
    const jmethodID toString =
        throwable != nullptr ? env->GetMethodID(object, "toString", "()Ljava/lang/String;") : nullptr;
    const jmethodID getStackTrace =
        toString != nullptr ? env->GetMethodID(throwable, "getStackTrace", "()[Ljava/lang/StackTraceElement;")
                            : nullptr;
    if (getStackTrace != nullptr && !env->ExceptionCheck()) {
        if (const auto text = toText(env, toString, thrown)) {
            description = *text;
            const auto frames = static_cast<jobjectArray>(env->CallObjectMethod(thrown, getStackTrace));
            const jsize count = frames != nullptr && !env->ExceptionCheck() ? env->GetArrayLength(frames) : 0;
            for (jsize i = 0; i < std::min(count, kMaxExceptionLines - 1); ++i) {
                const jobject frame = env->GetObjectArrayElement(frames, i);
                const auto line =
                    frame != nullptr && !env->ExceptionCheck() ? toText(env, toString, frame) : std::nullopt;
                if (!line) break;
                description += u"\n\tat " + *line;
                env->DeleteLocalRef(frame);
            }
        }
    }
    // What failed on the way is no part of the program's failure.
    env->ExceptionClear();
    env->Throw(thrown);
    return description;
}

}  // namespace

Machine createMachine(const platform::RuntimeLibrary& library, JvmOptions& options, platform::Trace& trace) {
    const auto createJavaVm = library.function<CreateJavaVm>("JNI_CreateJavaVM");
    if (createJavaVm == nullptr) {
        trace.line("JVM library has no JNI_CreateJavaVM");
        throw std::runtime_error("Cannot find JNI_CreateJavaVM entry point.");
    }
    JavaVMInitArgs initArgs{};
    initArgs.version = JNI_VERSION_1_6;
    initArgs.nOptions = static_cast<jint>(options.size());
    initArgs.options = options.data();
    initArgs.ignoreUnrecognized = JNI_FALSE;
    trace.line([&] {
        return "JNI_CreateJavaVM, JNI 1.6, " + std::to_string(options.size()) + " options as the runtime reads them:";
    });
    for (const JavaVMOption& option : options.records())
        trace.line([&] { return "  " + trace::runtimeText(option.optionString); });
    // The machine is owned only when it was made: a failed creation must
    // leave nothing to destroy, whatever it wrote.
    JavaVM* createdVm = nullptr;
    JNIEnv* createdEnv = nullptr;
    const trace::Stopwatch creating;
    const jint created = createJavaVm(&createdVm, reinterpret_cast<void**>(&createdEnv), &initArgs);
    trace.line([&] { return "JNI_CreateJavaVM returned " + std::to_string(created) + " after " + creating.elapsed(); });
    if (created < 0) throw std::runtime_error("Create JVM failed.");
    Machine machine{UniqueJavaVm(createdVm, JavaVmTraits{&trace}), createdEnv};
    if (!machine.vm || machine.env == nullptr) {
        trace.line("JNI_CreateJavaVM gave no machine or no environment");
        throw std::runtime_error("Create JVM failed.");
    }
    checkJavaException(trace, machine.env, "Exception occurred during JVM creation.");
    return machine;
}

void callMain(JNIEnv* env, const std::string& mainClass, const std::vector<std::u16string>& arguments,
              platform::Trace& trace, std::u16string* exceptionText) {
    checkStep(trace, env, !mainClass.empty(), "Main class invalid.");
    const trace::Stopwatch finding;
    const jclass entryClass = env->FindClass(mainClass.c_str());
    trace.line([&] { return "FindClass " + mainClass + ": " + found(entryClass != nullptr) + finding.elapsed(); });
    checkStep(trace, env, entryClass != nullptr, "Failed to load main class.");

    const trace::Stopwatch building;
    const jobjectArray array = makeArguments(trace, env, arguments);
    trace.line([&] {
        return "String[" + std::to_string(arguments.size()) + "] of the program arguments made in " +
               building.elapsed();
    });

    const trace::Stopwatch looking;
    const jmethodID mainMethod = env->GetStaticMethodID(entryClass, kMainName, kMainSignature);
    trace.line([&] {
        return std::string("GetStaticMethodID ") + kMainName + kMainSignature + ": " + found(mainMethod != nullptr) +
               looking.elapsed();
    });
    checkStep(trace, env, mainMethod != nullptr, "Failed to find main method.");
    const trace::Stopwatch running;
    trace.line("calling main");
    env->CallStaticVoidMethod(entryClass, mainMethod, array);
    trace.line([&] { return "main returned after " + running.elapsed(); });
    if (exceptionText != nullptr && env->ExceptionCheck()) *exceptionText = describeException(env);
    checkJavaException(trace, env, "Exception occurred when calling main method.");
}

void JavaVmTraits::close(pointer vm) const noexcept {
    const trace::Stopwatch destroying;
    vm->DestroyJavaVM();
    if (trace != nullptr) trace->line([&] { return "DestroyJavaVM returned after " + destroying.elapsed(); });
}

}  // namespace zep::jvmhost
