// The runtime-missing notice: the system's own message box, its Yes and No
// buttons relabelled with the localized OK and Help texts as the box comes up.

#include "platform/platform.h"
#include "platform/windows/win32.h"
#include "resources/string_ids.h"

namespace zep::platform {
namespace {

// The hook that relabels the box. It lives from just before the box is shown
// to the box's activation, where the hook itself removes it.
HHOOK noticeHook = nullptr;

void removeNoticeHook() {
    if (noticeHook != nullptr) {
        ::UnhookWindowsHookEx(noticeHook);
        noticeHook = nullptr;
    }
}

// Removes the hook when the box went without ever being activated (it could
// not be shown), so that it never outlives the notice.
struct NoticeHookGuard {
    NoticeHookGuard(const NoticeHookGuard&) = delete;
    NoticeHookGuard& operator=(const NoticeHookGuard&) = delete;
    NoticeHookGuard() = default;
    ~NoticeHookGuard() { removeNoticeHook(); }
};

LRESULT CALLBACK buttonHookProc(int code, WPARAM wParam, LPARAM) {
    if (code != HCBT_ACTIVATE) return 0;
    // The first activation on this thread is the box's: no other window exists here.
    const auto box = reinterpret_cast<HWND>(wParam);
    ::SetDlgItemTextW(box, IDYES, wide(loadString(IDS_BUTTON_OK)));
    ::SetDlgItemTextW(box, IDNO, wide(loadString(IDS_BUTTON_HELP)));
    removeNoticeHook();
    // Without an owner window the box could open behind the caller's console.
    ::SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return 0;
}

// The shell may hand an address to a handler that lives in COM, which wants
// COM on the calling thread; it is only ours for the call, and gone before
// the Java program gets this thread.
struct ComForTheShell {
    ComForTheShell(const ComForTheShell&) = delete;
    ComForTheShell& operator=(const ComForTheShell&) = delete;
    ComForTheShell()
        : initialized(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComForTheShell() {
        if (initialized) ::CoUninitialize();
    }
    const bool initialized;
};

}  // namespace

void showRuntimeMissingNotice(const std::u16string& text, const std::u16string& helpUrl) {
    const NoticeHookGuard guard;
    noticeHook = ::SetWindowsHookExW(WH_CBT, buttonHookProc, nullptr, ::GetCurrentThreadId());
    const std::u16string title = loadString(IDS_RUNTIME_MISSING_TITLE);
    const int pressed = ::MessageBoxW(nullptr, wide(text), wide(title), MB_YESNO);
    if (pressed == IDNO && !helpUrl.empty()) {
        const ComForTheShell com;
        ::ShellExecuteW(nullptr, L"open", wide(helpUrl), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

void showMessages(const std::u16string& text) { ::MessageBoxW(nullptr, wide(text), L"zep", MB_OK); }

}  // namespace zep::platform
