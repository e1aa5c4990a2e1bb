#include "platform/files.h"

#include "platform/paths.h"
#include "platform/text.h"
#include "platform/trace.h"
#include "platform/windows/owned.h"

namespace zep::platform {
namespace {

// The system's text for an error code, its line end dropped.
SmallFile unreadable(DWORD error) {
    SmallFile file{SmallFile::Status::Unreadable, {}, "error " + std::to_string(error)};
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const UniqueLocalMemory owned(text);
    std::u16string message = fromWide({text == nullptr ? L"" : text, text == nullptr ? 0 : length});
    while (!message.empty() && (message.back() == u'\r' || message.back() == u'\n' || message.back() == u' ')) {
        message.pop_back();
    }
    if (!message.empty()) file.problem += ": " + utf16ToUtf8(message);
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

std::optional<std::u16string> userSettingsFolder(std::u16string_view vendor) {
    wchar_t* roaming = nullptr;
    const HRESULT found = ::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DONT_VERIFY, nullptr, &roaming);
    const UniqueCoTaskMemory owned(roaming);
    if (FAILED(found) || roaming == nullptr || *roaming == L'\0') return std::nullopt;
    // A folder redirected to a relative name would be read in the current
    // directory.
    const std::optional<std::u16string> folder = windowsAbsoluteName(fromWide(roaming));
    if (!folder) {
        trace::line([&] {
            return "the roaming application data folder " + trace::quoted(fromWide(roaming)) + ": not an absolute path";
        });
        return std::nullopt;
    }
    return joinPath(*folder, vendor, kPathSeparator);
}

}  // namespace zep::platform
