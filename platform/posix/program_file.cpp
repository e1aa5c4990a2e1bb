#include "platform/posix/program_file.h"

#include <sys/auxv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <string_view>

#include "platform/files.h"

namespace zep::platform {
namespace {

// Far more than the mappings of a launcher that has not made its machine yet.
constexpr std::size_t kMapsLimit = std::size_t{16} * 1024 * 1024;

// The target of a symbolic link, sized by asking: readlink says only that
// the buffer was filled.
std::optional<std::string> linkTarget(const char* link) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(link, target.data(), target.size());
        if (length <= 0) return std::nullopt;
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.assign(2 * target.size(), '\0');
    }
}

struct Mapping {
    ino_t inode = 0;
    std::string name;  // as the kernel shows it: a line end as "\012"
};

template <typename Number>
bool readNumber(std::string_view& text, Number& number, int base) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (error != std::errc() || end == text.data()) return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

bool skip(std::string_view& text, char separator) {
    if (text.empty() || text.front() != separator) return false;
    text.remove_prefix(1);
    return true;
}

void skipField(std::string_view& text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.front() != ' ') text.remove_prefix(1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
}

// The line of /proc/self/maps whose range holds `address`:
// "start-end perms offset device inode   name".
std::optional<Mapping> mappingHolding(std::uintptr_t address) {
    const SmallFile maps = readSmallFile(u"/proc/self/maps", kMapsLimit);
    if (maps.status != SmallFile::Status::Read) return std::nullopt;
    std::string_view rest = maps.bytes;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        std::uintptr_t first = 0;
        std::uintptr_t last = 0;
        if (!readNumber(line, first, 16) || !skip(line, '-') || !readNumber(line, last, 16)) continue;
        if (address < first || address >= last) continue;
        skipField(line);  // perms
        skipField(line);  // offset
        skipField(line);  // device
        std::uint64_t inode = 0;
        if (!readNumber(line, inode, 10)) return std::nullopt;
        while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        return Mapping{static_cast<ino_t>(inode), std::string(line)};
    }
    return std::nullopt;
}

// `name` as /proc/self/maps writes it.
std::string asShownInMaps(std::string_view name) {
    std::string shown;
    for (const char byte : name) {
        if (byte == '\n') {
            shown += "\\012";
        } else {
            shown.push_back(byte);
        }
    }
    return shown;
}

// Whether `path` names the mapped file. Its inode alone is compared: an
// overlay file system shows a device of its own to stat and the underlying
// one in the mappings.
bool sameFile(const std::string& path, ino_t inode) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_ino == inode;
}

}  // namespace

ProgramFile mainProgramFile() {
    // /proc/self/exe is the file the kernel started: the dynamic loader's, when
    // the program was started through it. The main program's own file is the
    // one mapped where its program headers lie.
    const std::optional<Mapping> mapping = mappingHolding(static_cast<std::uintptr_t>(::getauxval(AT_PHDR)));
    if (!mapping) return {{}, "the system does not show which file it is"};
    // The kernel's name for the started file, when that is the main program,
    // as the bytes it is (the mappings show a line end in a name escaped).
    ProgramFile file{mapping->name, {}};
    if (std::optional<std::string> started = linkTarget("/proc/self/exe");
        started && asShownInMaps(*started) == mapping->name) {
        file.name = std::move(*started);
    }
    if (file.name.empty() || file.name.front() != '/') {
        file.problem = "not an absolute path";
    } else if (!sameFile(file.name, mapping->inode)) {
        // A name that now leads elsewhere or nowhere ("/memfd:zep (deleted)",
        // a file deleted or replaced since the start) says nothing of where
        // the program lies.
        file.problem = "no longer the name of the running file";
    }
    return file;
}

}  // namespace zep::platform
