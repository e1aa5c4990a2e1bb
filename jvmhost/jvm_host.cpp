#include <stdexcept>

#include "discovery/find_java_runtime.h"
#include "launcher/launcher.h"

namespace zep {
namespace {

using CreateJavaVm = jint(JNICALL*)(JavaVM**, void**, void*);

constexpr const char* kMainName = "main";
constexpr const char* kMainSignature = "([Ljava/lang/String;)V";
constexpr const char* kArgumentsFailed = "Failed to create command line arguments.";

}  // namespace

void Launcher::createJvm() {
    const std::u16string path = findJavaRuntime();
    if (path.empty()) showJavaMissingNotice();
    checkStep(!path.empty(), "Failed to find java install path");

    jvmModule = platform::RuntimeLibrary::load(path);
    if (!jvmModule) showJavaMissingNotice();
    checkStep(static_cast<bool>(jvmModule), "Failed to load jvm.dll");

    const auto createJavaVm = reinterpret_cast<CreateJavaVm>(jvmModule.symbol("JNI_CreateJavaVM"));
    checkStep(createJavaVm != nullptr, "Cannot find JNI_CreateJavaVM entry point.");

    JavaVMInitArgs initArgs{};
    initArgs.version = JNI_VERSION_1_6;
    initArgs.nOptions = static_cast<jint>(jvmOptions.size());
    initArgs.options = jvmOptions.data();
    initArgs.ignoreUnrecognized = JNI_FALSE;
    // The machine becomes ours only when it was made: a failed creation must
    // leave nothing for the teardown to destroy, whatever it wrote.
    JavaVM* createdVm = nullptr;
    JNIEnv* createdEnv = nullptr;
    if (createJavaVm(&createdVm, reinterpret_cast<void**>(&createdEnv), &initArgs) < 0) {
        throw std::runtime_error("Create JVM failed.");
    }
    // A machine that came without an environment cannot be used; what exists
    // of it is still destroyed in teardown.
    javaVm = createdVm;
    if (createdVm == nullptr || createdEnv == nullptr) throw std::runtime_error("Create JVM failed.");
    jniEnv = createdEnv;
    checkJavaException("Exception occurred during JVM creation.");
}

void Launcher::invokeMain() {
    checkStep(!mainClass.empty(), "Main class invalid.");
    const jclass entryClass = jniEnv->FindClass(mainClass.c_str());
    checkStep(entryClass != nullptr, "Failed to load main class.");

    // JNI allows nothing but a few calls while an exception is pending, so
    // every call that builds the array is checked before the next is made.
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

    const jmethodID mainMethod = jniEnv->GetStaticMethodID(entryClass, kMainName, kMainSignature);
    checkStep(mainMethod != nullptr, "Failed to find main method.");
    jniEnv->CallStaticVoidMethod(entryClass, mainMethod, arguments);
    checkJavaException("Exception occurred when calling main method.");
}

void Launcher::checkStep(bool condition, const char* message) {
    if (!condition) throw std::runtime_error(message);
    checkJavaException(message);
}

void Launcher::checkJavaException(const char* message) {
    if (jniEnv != nullptr && jniEnv->ExceptionOccurred() != nullptr) {
        jniEnv->ExceptionDescribe();
        throw std::runtime_error(message);
    }
}

void Launcher::checkMade(bool made, const char* message) {
    checkJavaException(message);
    if (!made) throw std::runtime_error(message);
}

}  // namespace zep
