// The library's one export, JNI_CreateJavaVM, and the invocation table that
// the machine it creates carries.

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "call.h"
#include "record.h"
#include "text.h"
#include "traps.h"

namespace zep::jvm_double {
namespace {

// The versions a current JVM accepts; any other makes creation fail.
bool isSupportedVersion(jint version) {
    switch (version) {
    case 0x00010002:  // 1.2
    case 0x00010004:  // 1.4
    case 0x00010006:  // 1.6
    case 0x00010008:  // 1.8
    case 0x00090000:
    case 0x000a0000:
    case 0x00130000:
    case 0x00140000:
    case 0x00150000:
        return true;
    default:
        return false;
    }
}

void recordCreation(const JavaVMInitArgs& init, const std::vector<std::string>& options) {
    char head[128];
    std::snprintf(head, sizeof head, "JNI_CreateJavaVM version=0x%08x nOptions=%d ignoreUnrecognized=%u",
                  static_cast<unsigned>(init.version), static_cast<int>(init.nOptions),
                  static_cast<unsigned>(init.ignoreUnrecognized));
    record(head);
    for (std::size_t i = 0; i < options.size(); ++i) {
        const std::string index = std::to_string(i);
        record("option[" + index + "]=" + escape(options[i]));
        if (init.options[i].extraInfo != nullptr) record("option[" + index + "].extraInfo=set");
    }
}

using PrintHook = jint(JNICALL*)(FILE*, const char*, va_list);
using ExitHook = void(JNICALL*)(jint);
using AbortHook = void(JNICALL*)();

// The hook the caller gave as option `name`, if any.
void* hookOf(const JavaVMInitArgs& init, const char* name) {
    for (jint i = 0; i < init.nOptions; ++i) {
        if (std::strcmp(init.options[i].optionString, name) == 0) return init.options[i].extraInfo;
    }
    return nullptr;
}

// Prints as a runtime prints: through the hook when there is one, else to
// its own standard error.
void print(const JavaVMInitArgs& init, const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (void* hook = hookOf(init, "vfprintf")) {
        reinterpret_cast<PrintHook>(hook)(stderr, format, args);
    } else {
        std::vfprintf(stderr, format, args);
    }
    va_end(args);
}

// The hooks as the switches ask: a runtime that explains a refusal, ends the
// process during its start, or aborts.
void callHooks(const JavaVMInitArgs& init, const Switches& switches) {
    if (switches.printOptions) {
        for (jint i = 0; i < init.nOptions; ++i) {
            const char* option = init.options[i].optionString;
            if (std::strncmp(option, "-X", 2) == 0) print(init, "Unrecognized option: %s\n", option);
        }
    }
    if (switches.exitInCreate) {
        record("exit " + std::to_string(*switches.exitInCreate));
        if (void* hook = hookOf(init, "exit")) reinterpret_cast<ExitHook>(hook)(*switches.exitInCreate);
        std::exit(*switches.exitInCreate);
    }
    if (switches.abortInCreate) {
        print(init,
              "Error occurred during initialization of VM\nCould not reserve enough space for %d KB object heap\n",
              1048576);
        record("abort");
        if (void* hook = hookOf(init, "abort")) reinterpret_cast<AbortHook>(hook)();
        std::abort();
    }
}

jint JNICALL destroyJavaVm(JavaVM* javaVm) {
    std::unique_lock<std::mutex> lock(machineLock());
    const Switches switches = currentSwitches();
    Machine& vm = machine();
    if (!vm.isOwnVm(javaVm)) Call::badHandle("DestroyJavaVM");
    Call::checkThread(vm, "DestroyJavaVM");
    record("DestroyJavaVM");
    if (switches.destroyWaitMs) {
        // As a JVM waiting for the program's last non-daemon thread, which
        // still takes threads meanwhile.
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(*switches.destroyWaitMs));
        record("DestroyJavaVM waited " + std::to_string(*switches.destroyWaitMs));
        lock.lock();
    }
    vm.beginDestroying();
    // As a runtime writes the class-data archive it was asked for as its
    // machine goes.
    constexpr std::string_view kArchive = "-XX:ArchiveClassesAtExit=";
    for (const std::string& option : vm.options()) {
        if (!option.starts_with(kArchive)) continue;
        const std::string file = option.substr(kArchive.size());
        if (std::FILE* archive = std::fopen(file.c_str(), "wb")) {
            std::fputs("jvm double class-data archive\n", archive);
            std::fclose(archive);
            record("archive written " + escape(file));
        }
    }
    // A pending exception goes with the machine, unreported, as in a JVM.
    vm.stop();
    return JNI_OK;
}

// Both kinds of attachment record the same line under their own name; the
// double runs no Java thread that a daemon one could fail to keep alive.
jint attach(JavaVM* javaVm, void** env, void* arguments, const char* function) {
    std::unique_lock<std::mutex> lock(machineLock());
    currentSwitches();  // a misspelt switch ends the process here too
    Machine& vm = machine();
    // After DestroyJavaVM the pointer is still the machine's: a late thread
    // is refused, as by a JVM going down, rather than taken for a stranger.
    if (javaVm != vm.javaVm() || env == nullptr) Call::badHandle(function);
    const auto* attachArgs = static_cast<const JavaVMAttachArgs*>(arguments);
    std::string line = function;
    std::string name;
    if (attachArgs == nullptr) {
        line += " args=null";
    } else {
        char version[32];
        std::snprintf(version, sizeof version, " version=0x%08x", static_cast<unsigned>(attachArgs->version));
        if (attachArgs->name != nullptr) name = attachArgs->name;
        line += version + (attachArgs->name != nullptr ? " name=" + escape(name) : std::string(" no-name")) +
                " group=" + (attachArgs->group != nullptr ? "set" : "null");
    }
    record(line);
    if (!vm.takesThreads()) {
        record("attach refused");
        return JNI_ERR;
    }
    vm.attach(name.empty() ? "Thread-0" : name);
    *env = vm.jniEnv();
    return JNI_OK;
}

jint JNICALL attachCurrentThread(JavaVM* javaVm, void** env, void* arguments) {
    return attach(javaVm, env, arguments, "AttachCurrentThread");
}

jint JNICALL attachCurrentThreadAsDaemon(JavaVM* javaVm, void** env, void* arguments) {
    return attach(javaVm, env, arguments, "AttachCurrentThreadAsDaemon");
}

jint JNICALL detachCurrentThread(JavaVM* javaVm) {
    std::unique_lock<std::mutex> lock(machineLock());
    currentSwitches();
    Machine& vm = machine();
    if (javaVm != vm.javaVm()) Call::badHandle("DetachCurrentThread");
    record("DetachCurrentThread");
    if (!vm.alive()) return JNI_ERR;
    // What the thread left pending goes with it, unreported.
    vm.detach();
    return JNI_OK;
}

}  // namespace

const JNIInvokeInterface_& invokeInterface() {
    static const JNIInvokeInterface_ table = [] {
        auto functions = trappingTable<JNIInvokeInterface_, TableKind::Invoke>();
        functions.DestroyJavaVM = &destroyJavaVm;
        functions.AttachCurrentThread = &attachCurrentThread;
        functions.AttachCurrentThreadAsDaemon = &attachCurrentThreadAsDaemon;
        functions.DetachCurrentThread = &detachCurrentThread;
        return functions;
    }();
    return table;
}

}  // namespace zep::jvm_double

extern "C" JNIEXPORT jint JNICALL JNI_CreateJavaVM(JavaVM** javaVm, void** env, void* arguments) {
    using namespace zep::jvm_double;
    std::unique_lock<std::mutex> lock(machineLock());
    const Switches switches = currentSwitches();
    const auto* init = static_cast<const JavaVMInitArgs*>(arguments);
    if (javaVm == nullptr || env == nullptr || init == nullptr || init->nOptions < 0 ||
        (init->nOptions > 0 && init->options == nullptr)) {
        Call::badHandle("JNI_CreateJavaVM");
    }
    std::vector<std::string> options;
    for (jint i = 0; i < init->nOptions; ++i) {
        if (init->options[i].optionString == nullptr) Call::badHandle("JNI_CreateJavaVM");
        options.emplace_back(init->options[i].optionString);
    }
    recordCreation(*init, options);
    callHooks(*init, switches);

    if (switches.createResult) return *switches.createResult;
    if (!isSupportedVersion(init->version)) return JNI_EVERSION;
    Machine& vm = machine();
    if (vm.alive()) return JNI_EEXIST;
    vm.start(std::move(options));
    *javaVm = vm.javaVm();
    *env = switches.createNoEnv ? nullptr : vm.jniEnv();
    if (switches.createException) vm.raise("zeptest.DoubleException: create-exception");
    return JNI_OK;
}
