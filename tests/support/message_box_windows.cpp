#include "tests/support/message_box_windows.h"

#include <thread>

namespace zep::test {
namespace {

using platform::fromWide;

constexpr auto kPollInterval = std::chrono::milliseconds(20);

struct Search {
    const std::function<bool(DWORD)>* belongs;
    std::vector<HWND> found;
};

BOOL CALLBACK collectDialog(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (std::wstring_view(className) == L"#32770" && (*search.belongs)(processId)) search.found.push_back(window);
    return TRUE;
}

std::u16string windowText(HWND window) {
    if (window == nullptr) return u"<no such control>";
    std::wstring text(4096, L'\0');
    const int length = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length));
    return fromWide(text);
}

bool isActiveWindowOfItsThread(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    return thread != 0 && ::GetGUIThreadInfo(thread, &info) && info.hwndActive == window;
}

}  // namespace

std::vector<HWND> dialogWindows(const std::function<bool(DWORD)>& belongs) {
    Search search{&belongs, {}};
    ::EnumWindows(collectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> dialogWindowsOf(DWORD processId) {
    return dialogWindows([processId](DWORD owner) { return owner == processId; });
}

bool processIsNamed(DWORD processId, std::u16string_view name) {
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) return false;
    wchar_t path[MAX_PATH * 4];
    DWORD length = MAX_PATH * 4;
    const bool read = ::QueryFullProcessImageNameW(process, 0, path, &length);
    ::CloseHandle(process);
    if (!read) return false;
    const std::u16string image = fromWide({path, length});
    const std::u16string file = image.substr(image.find_last_of(u"\\/") + 1);
    return ::CompareStringOrdinal(reinterpret_cast<const wchar_t*>(file.data()), static_cast<int>(file.size()),
                                  reinterpret_cast<const wchar_t*>(name.data()), static_cast<int>(name.size()),
                                  TRUE) == CSTR_EQUAL;
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kPollInterval);
    }
}

HWND waitForActiveDialog(const std::function<std::vector<HWND>()>& find, std::chrono::milliseconds timeout,
                         const std::function<bool()>& stillRunning) {
    HWND active = nullptr;
    waitFor(
        [&] {
            for (HWND dialog : find()) {
                if (::IsWindowVisible(dialog) && isActiveWindowOfItsThread(dialog)) {
                    active = dialog;
                    return true;
                }
            }
            return !stillRunning();
        },
        timeout);
    return active;
}

MessageBoxContents readMessageBox(HWND box) {
    MessageBoxContents contents;
    contents.caption = windowText(box);
    contents.body = windowText(::GetDlgItem(box, 0xFFFF));
    contents.firstButton = windowText(::GetDlgItem(box, IDYES));
    contents.secondButton = windowText(::GetDlgItem(box, IDNO));
    contents.topmost = (::GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    return contents;
}

void pressButton(HWND box, int id) { ::PostMessageW(::GetDlgItem(box, id), BM_CLICK, 0, 0); }

bool waitUntilClosed(HWND window, std::chrono::milliseconds timeout) {
    return waitFor([window] { return !::IsWindow(window); }, timeout);
}

}  // namespace zep::test
