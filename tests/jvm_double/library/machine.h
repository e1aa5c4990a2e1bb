#pragma once
// The one virtual machine that the double pretends to run: whether it is up,
// the thread that created it and those attached since, the objects it has
// handed out and the exception pending on each thread.

#include <jni.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zep::jvm_double {

enum class Kind { Class, String, Array, Throwable };

// Every jobject the double hands out points at one of these.
struct Object {
    Kind kind = Kind::Class;
    std::string name;                      // a class's name as FindClass got it; a throwable's description
    std::u16string units;                  // a string's text
    const Object* elementClass = nullptr;  // an array's
    std::vector<const Object*> elements;   // an array's
};

// Every jmethodID the double hands out points at one of these.
struct Method {
    const Object* owner;
    std::string name;
    std::string signature;
};

class Machine {
public:
    Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    bool alive() const { return alive_; }
    // Brings the machine up on the calling thread; the options are copied,
    // since the caller may free its own as soon as creation returns.
    void start(std::vector<std::string> options);
    // Takes the machine down and forgets every object, so that a handle kept
    // from before is refused afterwards.
    void stop();

    // DestroyJavaVM has begun: no thread attaches any more.
    void beginDestroying() { destroying_ = true; }
    bool takesThreads() const { return alive_ && !destroying_; }
    // The calling thread may use the machine's env until it detaches; `name`
    // is what ExceptionDescribe calls it. The creating thread stays attached.
    void attach(std::string name);
    void detach();

    const std::vector<std::string>& options() const { return options_; }
    JavaVM* javaVm() { return &vm_; }
    JNIEnv* jniEnv() { return &env_; }
    bool isOwnEnv(const JNIEnv* env) const { return alive_ && env == &env_; }
    bool isOwnVm(const JavaVM* vm) const { return alive_ && vm == &vm_; }
    // The thread that created the machine, or one attached to it.
    bool onAttachedThread() const;
    // The calling thread's name in a description of an exception.
    std::string threadName() const;

    Object& make(Kind kind);
    Method& makeMethod(const Object& owner, std::string name, std::string signature);
    // The object behind `handle` when the double issued it and it is of `kind`; otherwise null.
    Object* find(const void* handle, Kind kind) const;
    const Method* findMethod(const void* handle) const;

    // Leaves an exception pending on the calling thread, described as
    // ExceptionDescribe prints it ("java.lang.NoSuchMethodError: main").
    void raise(std::string description);
    // The calling thread's pending exception: each thread has its own.
    const Object* pending() const;
    // Throw: `throwable` pending again.
    void setPending(const Object* throwable);
    void clearPending();

private:
    bool alive_ = false;
    bool destroying_ = false;
    std::thread::id owner_;
    std::unordered_map<std::thread::id, std::string> attached_;  // by thread, its name
    std::vector<std::string> options_;
    std::vector<std::unique_ptr<Object>> objects_;
    std::vector<std::unique_ptr<Method>> methods_;
    std::unordered_set<const void*> objectHandles_;
    std::unordered_set<const void*> methodHandles_;
    std::unordered_map<std::thread::id, const Object*> pending_;
    JavaVM vm_{};
    JNIEnv env_{};
};

Machine& machine();
// Held for the length of every call into the double.
std::mutex& machineLock();

// The two function tables, every slot filled; defined with their functions.
const JNINativeInterface_& nativeInterface();
const JNIInvokeInterface_& invokeInterface();

}  // namespace zep::jvm_double
