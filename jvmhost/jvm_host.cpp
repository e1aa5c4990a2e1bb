#include <stdexcept>
#include <string>

#include "discovery/find_java_runtime.h"
#include "launcher/launcher.h"
#include "platform/trace.h"

namespace zep {
namespace {

using CreateJavaVm = jint(JNICALL*)(JavaVM**, void**, void*);
namespace trace = platform::trace;

constexpr const char* kMainName = "main";
constexpr const char* kMainSignature = "([Ljava/lang/String;)V";
constexpr const char* kArgumentsFailed = "Failed to create command line arguments.";

std::string found(bool made) { return made ? "found in " : "not found after "; }

}  // namespace

void Launcher::createJvm() {
    const trace::Stopwatch searching;
    const std::u16string path = findJavaRuntime();
    trace::line(path.empty() ? "no Java runtime found, after " + searching.elapsed()
                             : "runtime search chose " + trace::quoted(path) + " in " + searching.elapsed());
    if (path.empty()) showJavaMissingNotice();
    checkStep(!path.empty(), "Failed to find java install path");

    const trace::Stopwatch loading;
    jvmModule = platform::RuntimeLibrary::load(path);
    trace::line(jvmModule ? "JVM library loaded in " + loading.elapsed()
                          : "JVM library does not load now: " + jvmModule.failure());
    if (!jvmModule) showJavaMissingNotice();
    checkStep(static_cast<bool>(jvmModule), "Failed to load jvm.dll");

    const auto createJavaVm = reinterpret_cast<CreateJavaVm>(jvmModule.symbol("JNI_CreateJavaVM"));
    if (createJavaVm == nullptr) trace::line("JVM library has no JNI_CreateJavaVM");
    checkStep(createJavaVm != nullptr, "Cannot find JNI_CreateJavaVM entry point.");

    JavaVMInitArgs initArgs{};
    initArgs.version = JNI_VERSION_1_6;
    initArgs.nOptions = static_cast<jint>(jvmOptions.size());
    initArgs.options = jvmOptions.data();
    initArgs.ignoreUnrecognized = JNI_FALSE;
    trace::line("JNI_CreateJavaVM, JNI 1.6, " + std::to_string(jvmOptions.size()) +
                " options as the runtime reads them:");
    for (const JavaVMOption& option : jvmOptions) trace::line(std::string("  ") + option.optionString);
    // The machine becomes ours only when it was made: a failed creation must
    // leave nothing for the teardown to destroy, whatever it wrote.
    JavaVM* createdVm = nullptr;
    JNIEnv* createdEnv = nullptr;
    const trace::Stopwatch creating;
    const jint created = createJavaVm(&createdVm, reinterpret_cast<void**>(&createdEnv), &initArgs);
    trace::line("JNI_CreateJavaVM returned " + std::to_string(created) + " after " + creating.elapsed());
    if (created < 0) throw std::runtime_error("Create JVM failed.");
    // A machine that came without an environment cannot be used; what exists
    // of it is still destroyed in teardown.
    javaVm = createdVm;
    if (createdVm == nullptr || createdEnv == nullptr) {
        trace::line("JNI_CreateJavaVM gave no machine or no environment");
        throw std::runtime_error("Create JVM failed.");
    }
    jniEnv = createdEnv;
    checkJavaException("Exception occurred during JVM creation.");
}

void Launcher::invokeMain() {
    checkStep(!mainClass.empty(), "Main class invalid.");
    const trace::Stopwatch finding;
    const jclass entryClass = jniEnv->FindClass(mainClass.c_str());
    trace::line("FindClass " + mainClass + ": " + found(entryClass != nullptr) + finding.elapsed());
    checkStep(entryClass != nullptr, "Failed to load main class.");

    // JNI allows nothing but a few calls while an exception is pending, so
    // every call that builds the array is checked before the next is made.
    const trace::Stopwatch building;
    const jstring emptyString = jniEnv->NewStringUTF("");
    checkMade(emptyString != nullptr, kArgumentsFailed);
    const jclass stringClass = jniEnv->FindClass("java/lang/String");
    checkMade(stringClass != nullptr, kArgumentsFailed);
    const auto count = static_cast<jsize>(programArgs.size());
    const jobjectArray arguments = jniEnv->NewObjectArray(count, stringClass, emptyString);
    if (arguments == nullptr) throw std::runtime_error(kArgumentsFailed);
    checkJavaException(kArgumentsFailed);
    for (jsize i = 0; i < count; ++i) {
        // UTF-16 code units go over as they are: no code page stands between
        // the command line and the Java program.
        const std::u16string& argument = programArgs[static_cast<std::size_t>(i)];
        const jstring text =
            jniEnv->NewString(reinterpret_cast<const jchar*>(argument.data()), static_cast<jsize>(argument.size()));
        checkMade(text != nullptr, kArgumentsFailed);
        jniEnv->SetObjectArrayElement(arguments, i, text);
        checkJavaException(kArgumentsFailed);
    }
    trace::line("String[" + std::to_string(count) + "] of the program arguments made in " + building.elapsed());

    const trace::Stopwatch looking;
    const jmethodID mainMethod = jniEnv->GetStaticMethodID(entryClass, kMainName, kMainSignature);
    trace::line(std::string("GetStaticMethodID ") + kMainName + kMainSignature + ": " + found(mainMethod != nullptr) +
                looking.elapsed());
    checkStep(mainMethod != nullptr, "Failed to find main method.");
    const trace::Stopwatch running;
    trace::line("calling main");
    jniEnv->CallStaticVoidMethod(entryClass, mainMethod, arguments);
    trace::line("main returned after " + running.elapsed());
    checkJavaException("Exception occurred when calling main method.");
}

void Launcher::checkStep(bool condition, const char* message) {
    if (!condition) throw std::runtime_error(message);
    checkJavaException(message);
}

void Launcher::checkJavaException(const char* message) {
    if (jniEnv != nullptr && jniEnv->ExceptionOccurred() != nullptr) {
        trace::line("a Java exception is pending");
        jniEnv->ExceptionDescribe();
        throw std::runtime_error(message);
    }
}

void Launcher::checkMade(bool made, const char* message) {
    checkJavaException(message);
    if (!made) throw std::runtime_error(message);
}

}  // namespace zep
