#include "platform/cache_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/digest.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/posix/unique_fd.h"
#include "platform/text.h"

namespace zep::platform {
namespace {

constexpr std::int64_t kNanoseconds = 1'000'000'000;

FileStamp stampOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_size), info.st_mtim.tv_sec * kNanoseconds + info.st_mtim.tv_nsec};
}

// Makes one folder of the path, private when it is new.
bool makeFolder(const std::string& folder) { return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST; }

}  // namespace

const std::int64_t kFileTimeUnitsPerSecond = kNanoseconds;

std::string makePrivateFolder(const std::u16string& folder) {
    const std::string path = encodeLossless(folder);
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        makeFolder(path.substr(0, slash));
    }
    if (!makeFolder(path)) return std::strerror(errno);
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return std::strerror(errno);
    if (S_ISLNK(info.st_mode)) return "a symbolic link";
    if (!S_ISDIR(info.st_mode)) return "not a directory";
    if (info.st_uid != ::geteuid()) return "another user's";
    if (::access(path.c_str(), W_OK | X_OK) != 0) return std::strerror(errno);
    return {};
}

std::optional<FileStamp> fileStamp(const std::u16string& path) {
    struct stat info {};
    if (::stat(encodeLossless(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return stampOf(info);
}

std::optional<std::u16string> currentDirectory() {
    const UniqueMalloc<char*> directory(::getcwd(nullptr, 0));
    if (!directory) return std::nullopt;
    return decodeLossless(directory.get());
}

std::vector<FolderEntry> listFolder(const std::u16string& folder) {
    std::vector<FolderEntry> entries;
    const UniqueHandle<NullHandleTraits<DIR*, &::closedir>> listing(::opendir(encodeLossless(folder).c_str()));
    if (!listing) return entries;
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        FolderEntry found{decodeLossless(name), false, {}};
        struct stat info {};
        if (::fstatat(::dirfd(listing.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            found.regular = true;
            found.stamp = stampOf(info);
        }
        entries.push_back(std::move(found));
    }
    return entries;
}

std::optional<std::uint64_t> fileDigest(const std::u16string& path) {
    // Not a link, and never waiting on a FIFO put in its place.
    const UniqueFd fd(::open(encodeLossless(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    Digest digest;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return std::nullopt;
        if (count == 0) return digest.value();
        digest.add(std::string_view(buffer, static_cast<std::size_t>(count)));
    }
}

bool createNewFile(const std::u16string& path) {
    return UniqueFd(::open(encodeLossless(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600))
               .get() >= 0;
}

bool moveIntoPlace(const std::u16string& from, const std::u16string& to) {
    const std::string source = encodeLossless(from);
    const std::string target = encodeLossless(to);
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system that cannot rename without replacing: a second name
    // cannot replace anything either.
    if (::link(source.c_str(), target.c_str()) != 0) return false;
    ::unlink(source.c_str());
    return true;
}

bool removeFile(const std::u16string& path) { return ::unlink(encodeLossless(path).c_str()) == 0; }

void markUsed(const std::u16string& path) { ::utimensat(AT_FDCWD, encodeLossless(path).c_str(), nullptr, 0); }

std::optional<std::uint64_t> freeSpace(const std::u16string& folder) {
    struct statvfs volume {};
    if (::statvfs(encodeLossless(folder).c_str(), &volume) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(volume.f_bavail) * volume.f_frsize;
}

std::optional<bool> isMappedHere(const std::u16string& path) {
    struct stat info {};
    if (::stat(encodeLossless(path).c_str(), &info) != 0) return std::nullopt;
    const SmallFile maps = readSmallFile(u"/proc/self/maps", std::size_t{64} * 1024 * 1024);
    if (maps.status != SmallFile::Status::Read) return std::nullopt;
    // "start-end perms offset dev inode   path": the inode alone is compared,
    // as an overlay file system shows stat a device of its own.
    const std::string inode = std::to_string(info.st_ino);
    std::string_view rest = maps.bytes;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        for (int field = 0; field < 4 && !line.empty(); ++field) {
            const std::size_t space = line.find(' ');
            line = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        }
        if (line.starts_with(inode) && line.size() > inode.size() && line[inode.size()] == ' ' &&
            line.find(encodeLossless(path.substr(path.rfind(u'/') + 1))) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

std::u16string uniqueSuffix() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string text = std::to_string(::getpid()) + "-" + std::to_string(now);
    return std::u16string(text.begin(), text.end());
}

std::int64_t fileTimeNow() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * kNanoseconds + now.tv_nsec;
}

}  // namespace zep::platform
