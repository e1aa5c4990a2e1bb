#pragma once
// The checks that open every JNIEnv function of the double.

#include <jni.h>

#include <mutex>
#include <string>

#include "machine.h"
#include "switches.h"

namespace zep::jvm_double {

class Call {
    // First, so that it is held before anything else is read.
    std::unique_lock<std::mutex> lock_;

public:
    // Only the functions that JNI allows while an exception is pending say so;
    // any other called then gets an "exception-pending <function>" line first.
    enum class WhilePending { Forbidden, Allowed };

    // Holds the machine for the call. Ends the process (bad-handle) at an env
    // the double did not issue or whose machine is gone; records
    // "wrong-thread <function>", and says so on standard error, for a call from
    // a thread that neither created the machine nor attached to it.
    Call(JNIEnv* env, const char* function, WhilePending whilePending = WhilePending::Forbidden);

    // Ends the process: records "bad-handle <function>".
    [[noreturn]] void badHandle() const;
    [[noreturn]] static void badHandle(const std::string& function);
    // Records "wrong-thread <function>", and says so on standard error, when
    // the caller is on a thread that neither created the machine nor attached.
    static void checkThread(const Machine& vm, const std::string& function);

    // The object behind a handle that must be one the double issued, of that kind.
    Object& require(const void* handle, Kind kind) const;
    // The same, where null is allowed too.
    Object* requireOrNull(const void* handle, Kind kind) const;
    const Method& requireMethod(const void* handle) const;

    // Lets go of the machine before the call blocks or ends the process.
    void release() { lock_.unlock(); }
    // Holds it again after a wait; the machine may have gone meanwhile.
    void reacquire() { lock_.lock(); }

    Machine& vm;
    const Switches switches;

private:
    std::string function_;
};

}  // namespace zep::jvm_double
