#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix/program_file.h"
#include "platform/posix/system_access.h"
#include "platform/text.h"
#include "platform/trace.h"

namespace zep::platform {

std::optional<std::u16string> PosixAccess::environmentVariable(const std::u16string& name) {
    const char* value = std::getenv(encodeLossless(name).c_str());
    if (value == nullptr) return std::nullopt;
    return decodeLossless(value);
}

bool PosixAccess::isPresent(const std::u16string& path) { return ::access(encodeLossless(path).c_str(), F_OK) == 0; }

std::optional<std::u16string> PosixAccess::fullPath(const std::u16string& path) { return path; }

bool PosixAccess::isRegularFile(const std::u16string& path) {
    struct stat info {};
    return ::stat(encodeLossless(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::u16string> PosixAccess::executableDirectory() {
    // The file the program was loaded from, whatever link, relative name
    // or loader started it (argv[0] is the caller's to choose).
    const ProgramFile file = mainProgramFile();
    if (!file.problem.empty()) {
        trace_.line([&] {
            return "the executable's own file" +
                   (file.name.empty() ? "" : " " + trace::quoted(decodeLossless(file.name))) + ": " + file.problem +
                   ", so nothing is looked for beside it";
        });
        return std::nullopt;
    }
    const std::size_t slash = file.name.rfind('/');
    return decodeLossless(slash == 0 ? std::string_view("/") : std::string_view(file.name).substr(0, slash));
}

std::optional<std::u16string> PosixAccess::executableFile() {
    const ProgramFile file = mainProgramFile();
    if (!file.problem.empty()) return std::nullopt;
    return decodeLossless(file.name);
}

std::vector<std::u16string> PosixAccess::subdirectoryNames(const std::u16string& directory) {
    std::vector<std::u16string> names;
    const std::string base = encodeLossless(directory);
    const UniqueHandle<NullHandleTraits<DIR*, &::closedir>> listing(::opendir(base.c_str()));
    if (!listing) return names;
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat info {};
        // Links followed: a link to a runtime counts as that runtime.
        if (::fstatat(::dirfd(listing.get()), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode)) {
            names.push_back(decodeLossless(name));
        }
    }
    return names;
}

bool PosixAccess::isExecutableFile(const std::u16string& path) {
    const std::string file = encodeLossless(path);
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(file.c_str(), X_OK) == 0;
}

std::optional<std::u16string> PosixAccess::resolvePath(const std::u16string& path) {
    const UniqueMalloc<char*> real(::realpath(encodeLossless(path).c_str(), nullptr));
    if (!real) return std::nullopt;
    return decodeLossless(real.get());
}

QuietErrorBoxes::QuietErrorBoxes() = default;
QuietErrorBoxes::~QuietErrorBoxes() = default;

}  // namespace zep::platform
