#pragma once
// Where the Java runtime's hooks report. The invocation interface's vfprintf,
// exit and abort hooks are plain functions that take no argument of the
// caller's, and the runtime calls them from any of its threads: what they
// report goes to the one target a launch registers here for as long as its
// machine may call them.

#include <string_view>

namespace zep::platform {

class RuntimeHookTarget {
public:
    virtual ~RuntimeHookTarget() = default;
    // The runtime printed `bytes` (in its own encoding), from any thread,
    // meaning them for its standard output or (when not) its standard error.
    virtual void printed(std::string_view bytes, bool toStandardOutput) noexcept = 0;
    // The runtime is ending the process with `code` (it calls exit itself
    // when this returns).
    virtual void exiting(int code) noexcept = 0;
    // The runtime is aborting the process (it calls abort itself when this
    // returns).
    virtual void aborting() noexcept = 0;
};

// Registers `target` (null: none). A launch registers itself before it
// creates its machine and takes itself away after the machine is destroyed.
void setRuntimeHookTarget(RuntimeHookTarget* target) noexcept;

// The registered target; null when none is.
RuntimeHookTarget* runtimeHookTarget() noexcept;

}  // namespace zep::platform
