
#include "platform/windows/win32.h"
#include "system.h"
#include "text.h"

namespace zep::jvm_double {
namespace {

std::optional<std::wstring> wideVariable(const wchar_t* name) {
    for (;;) {
        // Set but empty and not set both give 0; only the error tells them apart.
        ::SetLastError(ERROR_SUCCESS);
        const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
        if (size == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::wstring();
        }
        std::wstring value(size, L'\0');
        const DWORD length = ::GetEnvironmentVariableW(name, value.data(), size);
        if (length < size) {
            value.resize(length);
            return value;
        }
        // The value grew between the two calls: ask again.
    }
}

}  // namespace

std::optional<std::string> environmentVariable(const char* name) {
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const auto value = wideVariable(wideName.c_str());
    if (!value) return std::nullopt;
    return encodeUtf8(std::u16string(value->begin(), value->end()));
}

bool appendToLog(std::string_view bytes) {
    const auto path = wideVariable(L"ZEPTEST_JVM_LOG");
    if (!path || path->empty()) return true;
    const HANDLE file =
        ::CreateFileW(path->c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const BOOL closed = ::CloseHandle(file);
    return ok && closed && written == bytes.size();
}

// The C runtime's descriptor 2, unbuffered, which is where the launcher's own
// messages go too, so the two keep their order.
void writeStandardError(std::string_view text) {
    // Past the C runtime, whose text mode would turn each line feed into CR LF.
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    while (!text.empty()) {
        DWORD written = 0;
        if (!::WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) || written == 0)
            return;
        text.remove_prefix(written);
    }
}

std::string loadLateLibrary() {
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&loadLateLibrary), &self);
    wchar_t path[MAX_PATH * 4];
    std::wstring bin(path, ::GetModuleFileNameW(self, path, MAX_PATH * 4));
    for (int level = 0; level < 2; ++level) bin.erase(bin.find_last_of(L'\\'));
    const HMODULE late = ::LoadLibraryW((bin + L"\\zeptest_late.dll").c_str());
    if (late == nullptr) return "late-load error " + std::to_string(::GetLastError());
    ::FreeLibrary(late);
    return "late-load loaded";
}

void endProcessNow(int code) {
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(code));
    ::ExitProcess(static_cast<UINT>(code));
}

}  // namespace zep::jvm_double
