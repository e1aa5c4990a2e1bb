#pragma once
// What the Windows build keeps for the whole process, in one place. Every
// other state of a launch lives in the objects the entry point makes and
// lends to it; what is here cannot, and each member says why.

#include <atomic>

#include "platform/dialog.h"
#include "platform/handle.h"
#include "platform/runtime_hooks.h"
#include "platform/windows/win32.h"

namespace zep::platform {

using UniqueHook = UniqueHandle<NullHandleTraits<HHOOK, &::UnhookWindowsHookEx>>;

struct Globals {
    // The dialog's box hook and the texts it writes on the box's buttons: a
    // hook procedure takes no argument of the caller's. The hook lives from
    // just before the box is shown to the box's activation, where the hook
    // itself removes it; should the box never be activated (it could not be
    // shown), it goes when showDialog returns. The texts are the caller's,
    // borrowed for as long.
    struct BoxHook {
        UniqueHook hook;
        const DialogTexts* texts = nullptr;
    } boxHook;

    // The target of the Java runtime's hooks (runtime_hooks.h): the hooks are
    // called without an argument of the launch's, from the runtime's threads.
    std::atomic<RuntimeHookTarget*> runtimeHookTarget{nullptr};
};

// The one instance, made on first use. Its members say which threads use them.
Globals& getGlobals();

}  // namespace zep::platform
