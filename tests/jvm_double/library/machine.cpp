#include "machine.h"

namespace zep::jvm_double {

Machine::Machine() {
    vm_.functions = &invokeInterface();
    env_.functions = &nativeInterface();
}

void Machine::start(std::vector<std::string> options) {
    alive_ = true;
    destroying_ = false;
    owner_ = std::this_thread::get_id();
    options_ = std::move(options);
}

void Machine::stop() {
    alive_ = false;
    destroying_ = false;
    owner_ = {};
    attached_.clear();
    options_.clear();
    pending_.clear();
    objectHandles_.clear();
    methodHandles_.clear();
    methods_.clear();
    objects_.clear();
}

void Machine::attach(std::string name) {
    if (std::this_thread::get_id() != owner_) attached_.insert_or_assign(std::this_thread::get_id(), std::move(name));
}

void Machine::detach() {
    if (std::this_thread::get_id() == owner_) return;
    attached_.erase(std::this_thread::get_id());
    pending_.erase(std::this_thread::get_id());
}

bool Machine::onAttachedThread() const {
    return std::this_thread::get_id() == owner_ || attached_.contains(std::this_thread::get_id());
}

std::string Machine::threadName() const {
    const auto found = attached_.find(std::this_thread::get_id());
    return found != attached_.end() ? found->second : "main";
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
    setPending(&throwable);
}

const Object* Machine::pending() const {
    const auto found = pending_.find(std::this_thread::get_id());
    return found != pending_.end() ? found->second : nullptr;
}

void Machine::setPending(const Object* throwable) { pending_.insert_or_assign(std::this_thread::get_id(), throwable); }

void Machine::clearPending() { pending_.erase(std::this_thread::get_id()); }

Machine& machine() {
    static Machine instance;
    return instance;
}

std::mutex& machineLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace zep::jvm_double
