#include "call.h"

#include "record.h"
#include "system.h"

namespace zep::jvm_double {

Call::Call(JNIEnv* env, const char* function, WhilePending whilePending)
    : lock_(machineLock()), vm(machine()), switches(currentSwitches()), function_(function) {
    if (!vm.isOwnEnv(env)) badHandle();
    checkThread(vm, function_);
    if (whilePending == WhilePending::Forbidden && vm.pending() != nullptr) record("exception-pending " + function_);
}

void Call::badHandle() const { badHandle(function_); }

void Call::badHandle(const std::string& function) {
    die(kExitBadHandle, "bad-handle " + function, "jvm double: bad handle given to " + function);
}

void Call::checkThread(const Machine& vm, const std::string& function) {
    if (vm.onAttachedThread()) return;
    record("wrong-thread " + function);
    writeStandardError("jvm double: " + function + " called on a thread other than the one that created the VM\n");
}

Object& Call::require(const void* handle, Kind kind) const {
    Object* object = vm.find(handle, kind);
    if (object == nullptr) badHandle();
    return *object;
}

Object* Call::requireOrNull(const void* handle, Kind kind) const {
    return handle == nullptr ? nullptr : &require(handle, kind);
}

const Method& Call::requireMethod(const void* handle) const {
    const Method* method = vm.findMethod(handle);
    if (method == nullptr) badHandle();
    return *method;
}

}  // namespace zep::jvm_double
