#pragma once
// Finds, reads and presses the message boxes of another program, as a user
// sees and uses them, for black-box tests of the launcher's notice. Every wait
// is bounded.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/windows/win32.h"

namespace zep::test {

struct MessageBoxContents {
    std::u16string caption;
    std::u16string body;          // the static text, control id 0xFFFF
    std::u16string firstButton;   // IDYES, 6
    std::u16string secondButton;  // IDNO, 7
    bool topmost = false;
};

// The top-level dialog windows (class "#32770") of the processes that
// `belongs` accepts, by process id.
std::vector<HWND> dialogWindows(const std::function<bool(DWORD processId)>& belongs);
std::vector<HWND> dialogWindowsOf(DWORD processId);

// True when the process's image file is named `name` (no directory), case ignored.
bool processIsNamed(DWORD processId, std::u16string_view name);

// Polls `condition` until it holds or `timeout` passes; its last answer.
bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// Waits for a dialog of `find` that is visible and is its thread's active
// window, so that its activation, and all that a program hooks to it, is
// over. Null when none came within `timeout`, or as soon as `stillRunning`
// says the program has ended.
HWND waitForActiveDialog(const std::function<std::vector<HWND>()>& find, std::chrono::milliseconds timeout,
                         const std::function<bool()>& stillRunning);

MessageBoxContents readMessageBox(HWND box);

// Clicks button `id` of the box, as a mouse click would, without waiting.
void pressButton(HWND box, int id);

// True once the window is destroyed; false when it outlived `timeout`.
bool waitUntilClosed(HWND window, std::chrono::milliseconds timeout);

}  // namespace zep::test
