#pragma once
// The options handed to JNI_CreateJavaVM: JavaVMOption records in command-line
// order, their texts owned here. The texts come from the C allocator, since
// the records hand them to a runtime written in C, and go with the list.

#include <jni.h>

#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/handle.h"

namespace zep::jvmhost {

class JvmOptions {
public:
    // Appends a record whose text is a NUL-terminated copy of `bytes`, which
    // are in the encoding the runtime reads. Throws std::bad_alloc.
    void append(std::string_view bytes);

    // Appends the runtime's vfprintf, exit and abort hooks, which report to
    // platform::runtimeHookTarget() (jvmhost/runtime_hooks.cpp). Throws
    // std::bad_alloc.
    void appendRuntimeHooks();

    // Appends the runtime's exit hook alone. Throws std::bad_alloc.
    void appendExitHook();

    // Frees every text, first to last, and empties the list.
    void clear();

    std::size_t size() const { return records_.size(); }
    // What JavaVMInitArgs points at; valid until the list changes.
    JavaVMOption* data() { return records_.data(); }
    const std::vector<JavaVMOption>& records() const { return records_; }

private:
    void appendWithExtra(std::string_view bytes, void* extraInfo);

    std::vector<platform::UniqueMalloc<char*>> texts_;
    std::vector<JavaVMOption> records_;  // extraInfo null but in the hooks' records
};

}  // namespace zep::jvmhost
