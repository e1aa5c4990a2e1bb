#pragma once
// The one virtual machine that the double pretends to run: whether it is up,
// the thread that created it, the objects it has handed out and the exception
// that is pending.

#include <jni.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
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

    const std::vector<std::string>& options() const { return options_; }
    JavaVM* javaVm() { return &vm_; }
    JNIEnv* jniEnv() { return &env_; }
    bool isOwnEnv(const JNIEnv* env) const { return alive_ && env == &env_; }
    bool isOwnVm(const JavaVM* vm) const { return alive_ && vm == &vm_; }
    bool onOwnerThread() const { return std::this_thread::get_id() == owner_; }

    Object& make(Kind kind);
    Method& makeMethod(const Object& owner, std::string name, std::string signature);
    // The object behind `handle` when the double issued it and it is of `kind`; otherwise null.
    Object* find(const void* handle, Kind kind) const;
    const Method* findMethod(const void* handle) const;

    // Leaves an exception pending, described as ExceptionDescribe prints it
    // ("java.lang.NoSuchMethodError: main").
    void raise(std::string description);
    const Object* pending() const { return pending_; }
    // Throw: `throwable` pending again.
    void setPending(const Object* throwable) { pending_ = throwable; }
    void clearPending() { pending_ = nullptr; }

private:
    bool alive_ = false;
    std::thread::id owner_;
    std::vector<std::string> options_;
    std::vector<std::unique_ptr<Object>> objects_;
    std::vector<std::unique_ptr<Method>> methods_;
    std::unordered_set<const void*> objectHandles_;
    std::unordered_set<const void*> methodHandles_;
    const Object* pending_ = nullptr;
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
