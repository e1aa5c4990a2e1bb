// "load" and "unload" lines from DllMain, and the jvm.dll that refuses to load.

#include <string>

#include "platform/windows/win32.h"
#include "record.h"
#include "switches.h"
#include "system.h"
#include "text.h"

namespace zep::jvm_double {
namespace {

std::wstring moduleFile(HINSTANCE instance) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(instance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return L"?";
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string modulePath(HINSTANCE instance) {
    const std::wstring path = moduleFile(instance);
    return encodeUtf8(std::u16string(path.begin(), path.end()));
}

}  // namespace
}  // namespace zep::jvm_double

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    using namespace zep::jvm_double;
    if (reason == DLL_PROCESS_ATTACH) {
        record("load " + modulePath(instance));
        // Only these switches concern loading; the others are checked by the calls they concern.
        const Switches switches = parseSwitches(environmentVariable("ZEPTEST_JVM_FAIL").value_or(""));
        if (switches.load) {
            record("load refused");
            return FALSE;
        }
        // A runtime whose library is gone between the search and the real load.
        const std::wstring file = moduleFile(instance);
        if (switches.vanish && ::MoveFileW(file.c_str(), (file + L".gone").c_str())) record("vanished");
    } else if (reason == DLL_PROCESS_DETACH) {
        record("unload");
    }
    return TRUE;
}
