#include "platform/files.h"

#include "platform/paths.h"
#include "platform/text.h"
#include "platform/trace.h"
#include "platform/windows/owned.h"
#include "platform/windows/system_error.h"

namespace zep::platform {
namespace {

// A file that cannot be read: the error's code, and the system's text for it.
SmallFile unreadable(DWORD error) {
    SmallFile file{SmallFile::Status::Unreadable, {}, "error " + std::to_string(error)};
    if (const std::string text = systemErrorText(error); !text.empty()) file.problem += ": " + text;
    return file;
}

}  // namespace

const char16_t kPathSeparator = u'\\';

SmallFile readSmallFile(const std::u16string& path, std::size_t limit) {
    const DWORD attributes = ::GetFileAttributesW(wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};
        return unreadable(error);
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return {SmallFile::Status::NotRegular, {}, {}};
    }
    const UniqueFile file(::CreateFileW(wide(path), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return unreadable(::GetLastError());
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) return {SmallFile::Status::NotRegular, {}, {}};
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return unreadable(::GetLastError());
    if (static_cast<unsigned long long>(size.QuadPart) > limit) return {SmallFile::Status::TooLarge, {}, {}};
    SmallFile read{SmallFile::Status::Read, {}, {}};
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr)) return unreadable(::GetLastError());
        if (count == 0) return read;
        read.bytes.append(buffer, count);
        if (read.bytes.size() > limit) return {SmallFile::Status::TooLarge, {}, {}};  // it grew
    }
}

namespace {

// `vendor`'s folder in the known folder `id` (named `what` in the trace).
std::optional<std::u16string> knownFolderOf(const System& system, const KNOWNFOLDERID& id, const char* what,
                                            std::u16string_view vendor) {
    wchar_t* known = nullptr;
    const HRESULT found = ::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &known);
    const UniqueCoTaskMemory owned(known);
    if (FAILED(found) || known == nullptr || *known == L'\0') return std::nullopt;
    // A folder redirected to a relative name would be read in the current
    // directory.
    const std::optional<std::u16string> folder = windowsAbsoluteName(fromWide(known));
    if (!folder) {
        system.trace.line([&] {
            return std::string("the ") + what + " " + trace::quoted(fromWide(known)) + ": not an absolute path";
        });
        return std::nullopt;
    }
    return joinPath(*folder, vendor, kPathSeparator);
}

}  // namespace

std::optional<std::u16string> userSettingsFolder(const System& system, std::u16string_view vendor) {
    return knownFolderOf(system, FOLDERID_RoamingAppData, "roaming application data folder", vendor);
}

std::optional<std::u16string> userCacheFolder(const System& system, std::u16string_view vendor) {
    return knownFolderOf(system, FOLDERID_LocalAppData, "local application data folder", vendor);
}

}  // namespace zep::platform
