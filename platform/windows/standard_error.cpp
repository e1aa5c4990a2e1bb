#include "platform/standard_error.h"
#include "platform/windows/standard_error_given.h"

#include "platform/windows/win32.h"

namespace zep::platform {

bool standardErrorIsOpen() {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    return error != nullptr && error != INVALID_HANDLE_VALUE;
}

bool standardErrorGivenByCaller() {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) return false;
    switch (::GetFileType(error)) {
    case FILE_TYPE_DISK:
    case FILE_TYPE_PIPE:
        return true;
    case FILE_TYPE_CHAR: {
        DWORD mode = 0;
        return ::GetConsoleMode(error, &mode) == FALSE;
    }
    default:
        return false;
    }
}

namespace {

bool writeDirectly(DWORD which, std::string_view bytes) {
    const HANDLE stream = ::GetStdHandle(which);
    if (stream == nullptr || stream == INVALID_HANDLE_VALUE) return false;
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!::WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

bool writeStandardErrorDirectly(std::string_view bytes) { return writeDirectly(STD_ERROR_HANDLE, bytes); }

bool writeStandardOutputDirectly(std::string_view bytes) { return writeDirectly(STD_OUTPUT_HANDLE, bytes); }

}  // namespace zep::platform
