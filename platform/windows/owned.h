#pragma once
// Owners of the Win32 handles and allocations that are not libraries, keys or
// hooks: each released the one way the system wants it.

#include "platform/handle.h"
#include "platform/windows/win32.h"

namespace zep::platform {

// Handles whose invalid value is INVALID_HANDLE_VALUE rather than null,
// closed by `Close`.
template <auto Close>
struct InvalidValueHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool isValid(pointer handle) noexcept { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
    void close(pointer handle) const noexcept { Close(handle); }
};

// A kernel object opened with CreateFileW and its kin.
using UniqueFile = UniqueHandle<InvalidValueHandleTraits<&::CloseHandle>>;

// A directory listing of FindFirstFileExW.
using UniqueFind = UniqueHandle<InvalidValueHandleTraits<&::FindClose>>;

// Memory the system allocated for the caller with LocalAlloc (FormatMessageW).
using UniqueLocalMemory = UniqueHandle<NullHandleTraits<HLOCAL, &::LocalFree>>;

// Memory a shell or COM call allocated for the caller (SHGetKnownFolderPath).
using UniqueCoTaskMemory = UniqueHandle<NullHandleTraits<void*, &::CoTaskMemFree>>;

}  // namespace zep::platform
