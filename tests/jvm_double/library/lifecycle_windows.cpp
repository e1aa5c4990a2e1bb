// "load" and "unload" lines from DllMain, and the jvm.dll that refuses to load.

#include <string>

#include "platform/windows/win32.h"
#include "record.h"
#include "switches.h"
#include "system.h"

namespace zep::jvm_double {
namespace {

std::string modulePath(HINSTANCE instance) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(instance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return "?";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), utf8.data(), size, nullptr,
                          nullptr);
    return utf8;
}

}  // namespace
}  // namespace zep::jvm_double

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    using namespace zep::jvm_double;
    if (reason == DLL_PROCESS_ATTACH) {
        record("load " + modulePath(instance));
        // Only this switch concerns loading; the others are checked by the calls they concern.
        if (parseSwitches(environmentVariable("ZEPTEST_JVM_FAIL").value_or("")).load) {
            record("load refused");
            return FALSE;
        }
    } else if (reason == DLL_PROCESS_DETACH) {
        record("unload");
    }
    return TRUE;
}
