#include "platform/cache_files.h"

#include "platform/digest.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/trace.h"
#include "platform/windows/current_user.h"
#include "platform/windows/owned.h"
#include "platform/windows/system_error.h"

namespace zep::platform {
namespace {

constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;

std::int64_t fileTime(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

std::uint64_t fileSize(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

// A DACL that gives this user every access and nobody else any, inherited by
// what is made inside; null when it cannot be had.
UniqueLocalMemory userOnlySecurity() {
    std::optional<UserSid> user = UserSid::ofThisProcess();
    wchar_t* sid = nullptr;
    if (!user || !::ConvertSidToStringSidW(user->get(), &sid)) return {};
    const UniqueLocalMemory ownedSid(sid);
    const std::wstring sddl = L"D:P(A;OICI;FA;;;" + std::wstring(sid) + L")";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
        return {};
    }
    return UniqueLocalMemory(descriptor);
}

}  // namespace

const std::int64_t kFileTimeUnitsPerSecond = 10'000'000;

std::string makePrivateFolder(const std::u16string& folder) {
    for (std::size_t separator = folder.find_first_of(u"\\/", 3); separator != std::u16string::npos;
         separator = folder.find_first_of(u"\\/", separator + 1)) {
        ::CreateDirectoryW(wide(folder.substr(0, separator)), nullptr);
    }
    const UniqueLocalMemory security = userOnlySecurity();
    SECURITY_ATTRIBUTES attributes{sizeof attributes, security.get(), FALSE};
    if (!::CreateDirectoryW(wide(folder), security ? &attributes : nullptr)) {
        if (const DWORD error = ::GetLastError(); error != ERROR_ALREADY_EXISTS) return errorCodeText(error);
    }
    const DWORD found = ::GetFileAttributesW(wide(folder));
    if (found == INVALID_FILE_ATTRIBUTES) return errorCodeText(::GetLastError());
    if ((found & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return "a link";
    if ((found & FILE_ATTRIBUTE_DIRECTORY) == 0) return "not a directory";
    return {};
}

std::optional<FileStamp> fileStamp(const std::u16string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(wide(path), GetFileExInfoStandard, &data)) return std::nullopt;
    if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) return std::nullopt;
    return FileStamp{fileSize(data.nFileSizeHigh, data.nFileSizeLow), fileTime(data.ftLastWriteTime)};
}

std::optional<std::u16string> currentDirectory() {
    std::wstring directory(::GetCurrentDirectoryW(0, nullptr), L'\0');
    const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data());
    if (length == 0 || length >= directory.size()) return std::nullopt;
    directory.resize(length);
    return fromWide(directory);
}

std::vector<FolderEntry> listFolder(const std::u16string& folder) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW data{};
    const UniqueFind listing(::FindFirstFileExW(wide(joinPath(folder, u"*", kPathSeparator)), FindExInfoBasic, &data,
                                                FindExSearchNameMatch, nullptr, 0));
    if (!listing) return entries;
    do {
        const std::u16string name = fromWide(data.cFileName);
        if (name == u"." || name == u"..") continue;
        FolderEntry entry{name, (data.dwFileAttributes & kNotPlain) == 0, {}};
        if (entry.regular) {
            entry.stamp = {fileSize(data.nFileSizeHigh, data.nFileSizeLow), fileTime(data.ftLastWriteTime)};
        }
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(listing.get(), &data));
    return entries;
}

std::optional<std::uint64_t> fileDigest(const std::u16string& path) {
    const UniqueFile file(::CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN,
                                        nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || ::GetFileType(file.get()) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(file.get(), &information) || (information.dwFileAttributes & kNotPlain) != 0) {
        return std::nullopt;
    }
    Digest digest;
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr)) return std::nullopt;
        if (count == 0) return digest.value();
        digest.add(std::string_view(buffer, count));
    }
}

bool createNewFile(const std::u16string& path) {
    return static_cast<bool>(
        UniqueFile(::CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

bool moveIntoPlace(const std::u16string& from, const std::u16string& to) {
    return ::MoveFileExW(wide(from), wide(to), 0) != 0;  // never MOVEFILE_REPLACE_EXISTING
}

bool removeFile(const std::u16string& path) {
    // The runtime makes its archive read-only, which DeleteFileW refuses.
    const DWORD attributes = ::GetFileAttributesW(wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        ::SetFileAttributesW(wide(path), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    return ::DeleteFileW(wide(path)) != 0;
}

void markUsed(const std::u16string& path) {
    const UniqueFile file(::CreateFileW(wide(path), FILE_WRITE_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return;
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    ::SetFileTime(file.get(), nullptr, nullptr, &now);
}

std::optional<std::uint64_t> freeSpace(const std::u16string& folder) {
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(wide(folder), &available, nullptr, nullptr)) return std::nullopt;
    return available.QuadPart;
}

// The runtime reads its archive into memory where it cannot map it, so what
// is mapped here says nothing.
std::optional<bool> isMappedHere(const std::u16string&) { return std::nullopt; }

std::u16string uniqueSuffix() {
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    const std::string text = std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter.QuadPart);
    return std::u16string(text.begin(), text.end());
}

std::int64_t fileTimeNow() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return fileTime(now);
}

}  // namespace zep::platform
