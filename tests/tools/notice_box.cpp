// Reads and presses the notice of a zep.exe running in the same Wine prefix,
// for test scripts that watch the box from outside (screenshots under a real
// X server).
//
//   notice_box check <language code|none> <seconds>
//       waits for the notice to be up and active, prints what it shows (UTF-8)
//       and where (screen coordinates: left top width height), and compares
//       it with the expected texts ("none": no language option)
//   notice_box press <ok|help> <seconds>
//       presses a button of the notice and waits for the box to close
//
// Exit codes: 0 as expected, 1 the box shows something else, 2 no box came or
// it did not close, 3 a wrong command line.

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <stdexcept>
#include <string>

#include "platform/text.h"
#include "platform/windows/win32.h"
#include "tests/support/expected_texts.h"
#include "tests/support/message_box_windows.h"

namespace {

using namespace zep::test;

std::vector<HWND> launcherBoxes() {
    return dialogWindows([](DWORD processId) { return processIsNamed(processId, u"zep.exe"); });
}

void print(const char* label, std::u16string_view text) {
    const std::string line = std::string(label) + ": " + zep::platform::utf16ToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

int check(const std::u16string& code, std::chrono::milliseconds timeout) {
    const bool optionGiven = code != u"none";
    const ExpectedLanguage& texts = expectedLanguage(optionGiven ? std::u16string_view(code) : u"en_GB");
    const HWND box = waitForActiveDialog(launcherBoxes, timeout, [] { return true; });
    if (box == nullptr) {
        std::fputs("no notice came\n", stderr);
        return 2;
    }
    const MessageBoxContents shown = readMessageBox(box);
    print("caption", shown.caption);
    print("body", shown.body);
    print("first button", shown.firstButton);
    print("second button", shown.secondButton);
    print("topmost", shown.topmost ? u"yes" : u"no");
    RECT frame{};
    ::GetWindowRect(box, &frame);
    std::printf("rectangle: %ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                frame.bottom - frame.top);
    const bool expected = shown.caption == texts.title && shown.body == (optionGiven ? expectedNotice(texts) : u"") &&
                          shown.firstButton == texts.ok && shown.secondButton == texts.help && shown.topmost;
    if (!expected) std::fputs("the notice differs from the expected texts\n", stderr);
    return expected ? 0 : 1;
}

int press(int button, std::chrono::milliseconds timeout) {
    const std::vector<HWND> boxes = launcherBoxes();
    if (boxes.size() != 1) {
        std::fprintf(stderr, "%zu notices are up, not one\n", boxes.size());
        return 2;
    }
    pressButton(boxes.front(), button);
    if (!waitUntilClosed(boxes.front(), timeout)) {
        std::fputs("the notice did not close\n", stderr);
        return 2;
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc != 4) return 3;
    const std::wstring command = argv[1];
    const std::u16string value = zep::platform::fromWide(argv[2]);
    const std::chrono::milliseconds timeout(std::wcstol(argv[3], nullptr, 10) * 1000);
    try {
        if (command == L"check") return check(value, timeout);
        if (command == L"press" && value == u"ok") return press(IDYES, timeout);
        if (command == L"press" && value == u"help") return press(IDNO, timeout);
    } catch (const std::out_of_range&) {
        // An unknown language code.
    }
    return 3;
}
