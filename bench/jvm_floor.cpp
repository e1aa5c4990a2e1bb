// The least that any launcher of this kind must do to run a Java main in its
// own process, and nothing else: the discovery's load probe (load and release
// the JVM library once), the real load, JNI_CreateJavaVM with the launcher's
// options, the main call and DestroyJavaVM. The launcher's start-up is
// measured against this.
//
//   jvm_floor [--no-probe] <libjvm.so> <JNI class name>

#include <dlfcn.h>
#include <jni.h>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    const bool probe = !(argc > 1 && std::strcmp(argv[1], "--no-probe") == 0);
    const int first = probe ? 1 : 2;
    if (argc - first != 2) return 2;
    const char* library = argv[first];
    const char* mainClass = argv[first + 1];

    if (probe) {
        void* probed = dlopen(library, RTLD_NOW | RTLD_GLOBAL);
        if (probed == nullptr) return 3;
        dlclose(probed);
    }
    void* jvm = dlopen(library, RTLD_NOW | RTLD_GLOBAL);
    if (jvm == nullptr) return 3;
    using Create = jint(JNICALL*)(JavaVM**, void**, void*);
    const auto create = reinterpret_cast<Create>(dlsym(jvm, "JNI_CreateJavaVM"));
    if (create == nullptr) return 4;

    char classPath[] = "-Djava.class.path=zep.jar";
    char libraryPath[] = "-Djava.library.path=.";
    JavaVMOption options[] = {{classPath, nullptr}, {libraryPath, nullptr}};
    JavaVMInitArgs initArgs{JNI_VERSION_1_6, 2, options, JNI_FALSE};
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    if (create(&vm, reinterpret_cast<void**>(&env), &initArgs) < 0) return 5;

    jclass entry = env->FindClass(mainClass);
    jclass string = env->FindClass("java/lang/String");
    jobjectArray arguments = env->NewObjectArray(0, string, env->NewStringUTF(""));
    jmethodID method = entry != nullptr ? env->GetStaticMethodID(entry, "main", "([Ljava/lang/String;)V") : nullptr;
    if (method == nullptr) return 6;
    env->CallStaticVoidMethod(entry, method, arguments);
    const int failed = env->ExceptionOccurred() != nullptr;
    vm->DestroyJavaVM();
    dlclose(jvm);
    return failed ? 7 : 0;
}
