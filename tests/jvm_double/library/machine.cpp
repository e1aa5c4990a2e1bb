#include "machine.h"

namespace zep::jvm_double {

Machine::Machine() {
    vm_.functions = &invokeInterface();
    env_.functions = &nativeInterface();
}

void Machine::start(std::vector<std::string> options) {
    alive_ = true;
    owner_ = std::this_thread::get_id();
    options_ = std::move(options);
}

void Machine::stop() {
    alive_ = false;
    owner_ = {};
    options_.clear();
    pending_ = nullptr;
    objectHandles_.clear();
    methodHandles_.clear();
    methods_.clear();
    objects_.clear();
}

Object& Machine::make(Kind kind) {
    objects_.push_back(std::make_unique<Object>());
    objects_.back()->kind = kind;
    objectHandles_.insert(objects_.back().get());
    return *objects_.back();
}

Method& Machine::makeMethod(const Object& owner, std::string name, std::string signature) {
    methods_.push_back(std::make_unique<Method>(Method{&owner, std::move(name), std::move(signature)}));
    methodHandles_.insert(methods_.back().get());
    return *methods_.back();
}

Object* Machine::find(const void* handle, Kind kind) const {
    if (!objectHandles_.contains(handle)) return nullptr;
    auto* object = static_cast<Object*>(const_cast<void*>(handle));
    return object->kind == kind ? object : nullptr;
}

const Method* Machine::findMethod(const void* handle) const {
    return methodHandles_.contains(handle) ? static_cast<const Method*>(handle) : nullptr;
}

void Machine::raise(std::string description) {
    Object& throwable = make(Kind::Throwable);
    throwable.name = std::move(description);
    pending_ = &throwable;
}

Machine& machine() {
    static Machine instance;
    return instance;
}

std::mutex& machineLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace zep::jvm_double
