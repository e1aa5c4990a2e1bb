// The dialog on Windows: the system's own message box, its Yes and No buttons
// relabelled with the dialog's OK and Help labels as the box comes up; and
// addresses opened by the shell.

#include "platform/dialog.h"
#include "platform/handle.h"
#include "platform/windows/globals.h"
#include "platform/windows/win32.h"

namespace zep::platform {
namespace {

// Called by user32 on this thread: nothing may leave it as an exception, and
// nothing in it allocates.
LRESULT CALLBACK relabelBox(int code, WPARAM wParam, LPARAM) noexcept {
    if (code != HCBT_ACTIVATE) return 0;
    // The first activation on this thread is the box's: no other window exists here.
    const auto box = reinterpret_cast<HWND>(wParam);
    Globals::BoxHook& boxHook = getGlobals().boxHook;
    ::SetDlgItemTextW(box, IDYES, wide(boxHook.texts->okLabel));
    ::SetDlgItemTextW(box, IDNO, wide(boxHook.texts->helpLabel));
    boxHook.hook.reset();
    // Without an owner window the box could open behind the caller's console.
    ::SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return 0;
}

}  // namespace

std::optional<DialogChoice> showDialog(const DialogTexts& texts) {
    Globals::BoxHook& boxHook = getGlobals().boxHook;
    boxHook.texts = &texts;
    boxHook.hook.reset(::SetWindowsHookExW(WH_CBT, relabelBox, nullptr, ::GetCurrentThreadId()));
    const ScopeExit unhooked([&boxHook] {
        boxHook.hook.reset();
        boxHook.texts = nullptr;
    });
    const int pressed = ::MessageBoxW(nullptr, wide(texts.body), wide(texts.title), MB_YESNO);
    if (pressed == 0) return std::nullopt;
    return pressed == IDNO ? DialogChoice::Help : DialogChoice::Ok;
}

void openWithDefaultHandler(const std::u16string& address) {
    // The shell may hand an address to a handler that lives in COM, which
    // wants COM on the calling thread; it is only ours for the call, and
    // gone before the Java program gets this thread.
    const bool com = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    const ScopeExit uninitialized([com] {
        if (com) ::CoUninitialize();
    });
    ::ShellExecuteW(nullptr, L"open", wide(address), nullptr, nullptr, SW_SHOWNORMAL);
}

void showMessageBox(const std::u16string& caption, const std::u16string& text) {
    ::MessageBoxW(nullptr, wide(text), wide(caption), MB_OK);
}

}  // namespace zep::platform
