// The notice on Windows: the system's own message box, its Yes and No buttons
// relabelled with the localized OK and Help texts as the box comes up.

#include "notice/show_notice.h"
#include "platform/handle.h"
#include "platform/strings.h"
#include "platform/windows/win32.h"
#include "resources/string_ids.h"

namespace zep::notice {
namespace {

using platform::loadString;
using platform::wide;
using UniqueHook = platform::UniqueHandle<platform::NullHandleTraits<HHOOK, &::UnhookWindowsHookEx>>;

// The hook that relabels the box. It lives from just before the box is shown
// to the box's activation, where the hook itself removes it; should the box
// never be activated (it could not be shown), it goes with the notice.
UniqueHook noticeHook;

// Called by user32 on this thread: nothing may leave it as an exception.
LRESULT CALLBACK buttonHookProc(int code, WPARAM wParam, LPARAM) noexcept {
    if (code != HCBT_ACTIVATE) return 0;
    // The first activation on this thread is the box's: no other window exists here.
    const auto box = reinterpret_cast<HWND>(wParam);
    try {
        ::SetDlgItemTextW(box, IDYES, wide(loadString(IDS_BUTTON_OK)));
        ::SetDlgItemTextW(box, IDNO, wide(loadString(IDS_BUTTON_HELP)));
    } catch (...) {
        // No memory for a label: the box keeps the system's own.
    }
    noticeHook.reset();
    // Without an owner window the box could open behind the caller's console.
    ::SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return 0;
}

}  // namespace

void showRuntimeMissingNotice(const std::u16string& text, const std::u16string& helpUrl) {
    noticeHook.reset(::SetWindowsHookExW(WH_CBT, buttonHookProc, nullptr, ::GetCurrentThreadId()));
    const platform::ScopeExit unhooked([] { noticeHook.reset(); });
    const std::u16string title = loadString(IDS_RUNTIME_MISSING_TITLE);
    const int pressed = ::MessageBoxW(nullptr, wide(text), wide(title), MB_YESNO);
    if (pressed == IDNO && !helpUrl.empty()) {
        // The shell may hand an address to a handler that lives in COM, which
        // wants COM on the calling thread; it is only ours for the call, and
        // gone before the Java program gets this thread.
        const bool com = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
        const platform::ScopeExit uninitialized([com] {
            if (com) ::CoUninitialize();
        });
        ::ShellExecuteW(nullptr, L"open", wide(helpUrl), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

void showMessages(const std::u16string& text) { ::MessageBoxW(nullptr, wide(text), L"zep", MB_OK); }

}  // namespace zep::notice
