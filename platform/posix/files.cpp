#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/paths.h"
#include "platform/posix/unique_fd.h"
#include "platform/text.h"

namespace zep::platform {
namespace {

SmallFile unreadable(int error) { return {SmallFile::Status::Unreadable, {}, std::strerror(error)}; }

std::optional<std::u16string> absoluteVariable(SystemAccess& machine, const char16_t* name) {
    auto value = machine.environmentVariable(name);
    if (!value || !isAbsolutePosixPath(*value)) return std::nullopt;
    return value;
}

}  // namespace

const char16_t kPathSeparator = u'/';

SmallFile readSmallFile(const std::u16string& path, std::size_t limit) {
    const std::string file = encodeLossless(path);
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return {};
        return unreadable(errno);
    }
    // Decided before opening: opening a FIFO for reading waits for a writer.
    if (!S_ISREG(info.st_mode)) return {SmallFile::Status::NotRegular, {}, {}};
    if (static_cast<std::size_t>(info.st_size) > limit) return {SmallFile::Status::TooLarge, {}, {}};
    // Without blocking all the same, in case the name changed hands in between.
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd) return unreadable(errno);
    if (::fstat(fd.get(), &info) != 0) return unreadable(errno);
    if (!S_ISREG(info.st_mode)) return {SmallFile::Status::NotRegular, {}, {}};
    SmallFile read{SmallFile::Status::Read, {}, {}};
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return unreadable(errno);
        if (count == 0) return read;
        read.bytes.append(buffer, static_cast<std::size_t>(count));
        if (read.bytes.size() > limit) return {SmallFile::Status::TooLarge, {}, {}};  // it grew
    }
}

namespace {

// `vendor`'s folder, in lower case, in the XDG base directory `variable`, or
// in `home` within $HOME when that is unset, empty or not absolute (the XDG
// base directories: a relative value is to be ignored).
std::optional<std::u16string> xdgFolderOf(const System& system, const char16_t* variable, std::u16string_view home,
                                          std::u16string_view vendor) {
    std::optional<std::u16string> folder = absoluteVariable(system.machine, variable);
    if (!folder) {
        folder = absoluteVariable(system.machine, u"HOME");
        if (!folder) return std::nullopt;
        folder = joinPath(*folder, home, kPathSeparator);
    }
    std::u16string name;
    for (const char16_t unit : vendor) name += asciiLower(unit);
    return joinPath(*folder, name, kPathSeparator);
}

}  // namespace

std::optional<std::u16string> userSettingsFolder(const System& system, std::u16string_view vendor) {
    return xdgFolderOf(system, u"XDG_CONFIG_HOME", u".config", vendor);
}

std::optional<std::u16string> userCacheFolder(const System& system, std::u16string_view vendor) {
    return xdgFolderOf(system, u"XDG_CACHE_HOME", u".cache", vendor);
}

}  // namespace zep::platform
