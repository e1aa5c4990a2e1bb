#include "platform/windows/system_access.h"

#include "platform/paths.h"
#include "platform/trace.h"
#include "platform/windows/owned.h"
#include "platform/windows/runtime_loader.h"
#include "platform/windows/win32.h"

#include <algorithm>

namespace zep::platform {
namespace {

// The longest path the system's file calls take, its NUL included.
constexpr std::size_t kLongestPath = 32768;

// The running program's file as the loader names it. Sized by asking: a
// path longer than MAX_PATH comes back cut, with the full size of the buffer
// as its length.
std::optional<std::u16string> moduleFileName() {
    std::u16string path(MAX_PATH, u'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, reinterpret_cast<wchar_t*>(path.data()), size);
        if (length == 0) return std::nullopt;
        if (length < size) {
            path.resize(length);
            return path;
        }
        if (size >= kLongestPath) return std::nullopt;
        path.assign(std::min<std::size_t>(2 * std::size_t{size}, kLongestPath), u'\0');
    }
}

// The name of the file that `path` opens, every link on the way resolved
// ("\\?\C:\..." or "\\?\UNC\server\share\..."); nullopt when the system
// cannot tell.
std::optional<std::u16string> finalPathName(const std::u16string& path) {
    const UniqueFile file(::CreateFileW(wide(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return std::nullopt;
    std::u16string name;
    for (;;) {
        const DWORD capacity = static_cast<DWORD>(name.size());
        const DWORD length =
            ::GetFinalPathNameByHandleW(file.get(), capacity == 0 ? nullptr : reinterpret_cast<wchar_t*>(name.data()),
                                        capacity, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0 || length > kLongestPath) return std::nullopt;
        if (length < capacity) {
            name.resize(length);
            return name;
        }
        name.assign(length, u'\0');  // the size asked for, its NUL included
    }
}

HKEY hkey(Registry::Key key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

std::optional<std::u16string> Win32Access::environmentVariable(const std::u16string& name) {
    // Sized from the value itself: a fixed buffer would leave a long value
    // unread, and Wine misreads values past 4095 units into a very large one.
    std::u16string value;
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD capacity = static_cast<DWORD>(value.size());
        const DWORD length = ::GetEnvironmentVariableW(
            wide(name), capacity == 0 ? nullptr : reinterpret_cast<wchar_t*>(value.data()), capacity);
        if (length == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::u16string();
        }
        if (length < capacity) {
            value.resize(length);
            return value;
        }
        value.assign(length, u'\0');  // too small, or the value grew in between
    }
}

bool Win32Access::isPresent(const std::u16string& path) {
    return ::GetFileAttributesW(wide(path)) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::u16string> Win32Access::fullPath(const std::u16string& path) {
    const std::wstring full = platform::fullPath(path, systemLoaderCalls());
    if (full.empty()) return std::nullopt;
    return fromWide(full);
}

bool Win32Access::isRegularFile(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

std::optional<std::u16string> Win32Access::executableFile() {
    const std::optional<std::u16string> module = moduleFileName();
    std::optional<std::u16string> file = module ? windowsAbsoluteName(*module) : std::nullopt;
    if (file) {
        if (const std::optional<std::u16string> final = finalPathName(*file)) file = windowsAbsoluteName(*final);
    }
    return file;
}

std::optional<std::u16string> Win32Access::executableDirectory() {
    const std::optional<std::u16string> module = moduleFileName();
    if (!module) {
        trace_.line("the executable's own file: the system does not name it, so nothing is looked for beside it");
        return std::nullopt;
    }
    // Checked before the name is opened: a relative one would open a file
    // of the current directory.
    std::optional<std::u16string> file = windowsAbsoluteName(*module);
    if (file) {
        // The real file, whatever link started the program.
        if (const std::optional<std::u16string> final = finalPathName(*file)) file = windowsAbsoluteName(*final);
    }
    std::optional<std::u16string> folder = file ? windowsExecutableFolder(*file) : std::nullopt;
    if (!folder) {
        trace_.line([&] {
            return "the executable's own file " + trace::quoted(file.value_or(*module)) +
                   ": not an absolute path, so nothing is looked for beside it";
        });
    }
    return folder;
}
std::int32_t Win32Registry::openKey(Key root, const std::u16string& subKey, std::uint32_t options, std::uint32_t access,
                                    Key* key) {
    HKEY opened = nullptr;
    const LSTATUS status = ::RegOpenKeyExW(hkey(root), wide(subKey), options, access, &opened);
    *key = reinterpret_cast<Key>(opened);
    return status;
}

std::int32_t Win32Registry::querySubKeyCount(Key key, std::uint32_t* subKeys) {
    DWORD count = *subKeys;
    const LSTATUS status = ::RegQueryInfoKeyW(hkey(key), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, nullptr, nullptr);
    *subKeys = count;
    return status;
}

std::int32_t Win32Registry::enumKey(Key key, std::uint32_t index, char16_t* name, std::uint32_t* nameLength) {
    DWORD length = *nameLength;
    const LSTATUS status = ::RegEnumKeyExW(hkey(key), index, reinterpret_cast<wchar_t*>(name), &length, nullptr,
                                           nullptr, nullptr, nullptr);
    *nameLength = length;
    return status;
}

std::int32_t Win32Registry::getValue(Key key, const std::u16string& subKey, const std::u16string& valueName,
                                     std::uint32_t flags, char16_t* data, std::uint32_t* dataSize) {
    DWORD size = *dataSize;
    const LSTATUS status = ::RegGetValueW(hkey(key), wide(subKey), wide(valueName), flags, nullptr, data, &size);
    *dataSize = size;
    return status;
}

std::int32_t Win32Registry::closeKey(Key key) { return ::RegCloseKey(hkey(key)); }

QuietErrorBoxes::QuietErrorBoxes() {
    DWORD previous = 0;
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous);
    previous_ = previous;
}

QuietErrorBoxes::~QuietErrorBoxes() { ::SetThreadErrorMode(previous_, nullptr); }

}  // namespace zep::platform
