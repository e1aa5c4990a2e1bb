#pragma once
// The launcher's one door to the operating system. Everything here has a
// Windows implementation (platform/windows) and a POSIX one (platform/posix);
// CMake picks one, and no caller asks which. The system is reached through
// small interfaces where plain logic needs it, so that tests can put an
// in-memory machine in its place.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zep::platform {

// A library loaded into the process at run time, released when the object goes
// (FreeLibrary or dlclose).
class Library {
public:
    Library() = default;
    // Loads the library at `path` exactly as given; an empty Library when it does not load.
    static Library load(const std::u16string& path);
    // Takes over a handle that release() gave away.
    static Library adopt(void* handle) { return Library(handle); }

    Library(Library&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    Library& operator=(Library&& other) noexcept;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library() { reset(); }

    explicit operator bool() const { return handle_ != nullptr; }
    // The address of an exported symbol, or null.
    void* symbol(const char* name) const;
    void reset();
    void* release() {
        void* handle = handle_;
        handle_ = nullptr;
        return handle;
    }

private:
    explicit Library(void* handle) : handle_(handle) {}
    void* handle_ = nullptr;
};

// A Java runtime's JVM library, loaded so that it finds what the runtime ships
// beside it, and released with all that was loaded for it.
//
// Windows: the path is made absolute once, so that the file loaded is the file
// that was probed. The C runtime libraries present in the runtime's bin
// directory (of every age the runtimes ship) are loaded first, by their full
// paths, and stay loaded as long as the JVM library: the libraries the JVM
// loads later import them by name too. Where the system can (AddDllDirectory),
// bin joins the search for the JVM library's other imports while it loads,
// and neither the current directory nor Path take part.
// POSIX: only a regular file is handed to the loader, so that a FIFO or a
// device of that name cannot hold the launcher.
class RuntimeLibrary {
public:
    RuntimeLibrary() = default;
    RuntimeLibrary(RuntimeLibrary&& other) noexcept = default;
    RuntimeLibrary& operator=(RuntimeLibrary&& other) noexcept {
        reset();
        companions_ = std::move(other.companions_);
        library_ = std::move(other.library_);
        failure_ = std::move(other.failure_);
        return *this;
    }
    ~RuntimeLibrary() { reset(); }
    // Empty when the library does not load.
    static RuntimeLibrary load(const std::u16string& path);

    explicit operator bool() const { return static_cast<bool>(library_); }
    void* symbol(const char* name) const { return library_.symbol(name); }
    // Why the load failed, in plain words; empty once it succeeded.
    const std::string& failure() const { return failure_; }
    // The JVM library first, then what was loaded for it, last loaded first.
    void reset() {
        library_.reset();
        while (!companions_.empty()) companions_.pop_back();
    }

private:
    std::vector<Library> companions_;  // declared first: destroyed after the library
    Library library_;
    std::string failure_;
};

struct LoadProbe {
    bool loaded = false;
    std::string failure;  // why it did not load, in plain words
};

// Keeps the system from raising modal error boxes on this thread (Windows:
// an empty removable drive in a searched path) for as long as it lives.
class QuietErrorBoxes {
public:
    QuietErrorBoxes();
    ~QuietErrorBoxes();
    QuietErrorBoxes(const QuietErrorBoxes&) = delete;
    QuietErrorBoxes& operator=(const QuietErrorBoxes&) = delete;

private:
    [[maybe_unused]] unsigned long previous_ = 0;  // the mode to restore (Windows)
};

// Environment, files and libraries, as the runtime search sees them.
class SystemAccess {
public:
    virtual ~SystemAccess() = default;
    // The whole value of a variable, however long; nullopt when it is not set.
    virtual std::optional<std::u16string> environmentVariable(const std::u16string& name) = 0;
    // True when something of that name exists, whatever it is (a directory counts).
    virtual bool isPresent(const std::u16string& path) = 0;
    // Whether the JVM library at `path` loads as RuntimeLibrary::load loads it
    // (the load is released before this returns), and if not, why.
    virtual LoadProbe probeLoad(const std::u16string& path) = 0;
};

// What the POSIX search needs beyond that.
class DirectoryAccess : public SystemAccess {
public:
    // Names of the directories in `directory`, symbolic links to directories included.
    virtual std::vector<std::u16string> subdirectoryNames(const std::u16string& directory) = 0;
    // True for a regular file that this process may execute.
    virtual bool isExecutableFile(const std::u16string& path) = 0;
    // The absolute path with every symbolic link resolved; nullopt when it cannot be.
    virtual std::optional<std::u16string> resolvePath(const std::u16string& path) = 0;
};

// The Win32 registry calls of the Windows search, shaped like the functions
// they stand for and taking Win32's own values, so that what the search passes
// is what the system gets.
namespace win32 {
inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorMoreData = 234;
inline constexpr std::int32_t kErrorNoMoreItems = 259;
inline constexpr std::int32_t kErrorUnsupportedType = 1630;
// The predefined keys are 32-bit values widened with their sign.
inline constexpr std::uintptr_t kHkeyCurrentUser =
    static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000001u)));
inline constexpr std::uintptr_t kHkeyLocalMachine =
    static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000002u)));
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;
inline constexpr std::uint32_t kRrfRtRegSz = 0x00000002;
}  // namespace win32

class Registry {
public:
    using Key = std::uintptr_t;
    virtual ~Registry() = default;
    // RegOpenKeyExW
    virtual std::int32_t openKey(Key root, const std::u16string& subKey, std::uint32_t options, std::uint32_t access,
                                 Key* key) = 0;
    // RegQueryInfoKeyW, asking for the number of subkeys only
    virtual std::int32_t querySubKeyCount(Key key, std::uint32_t* subKeys) = 0;
    // RegEnumKeyExW without class: `nameLength` is the buffer's capacity in
    // units on the way in and the name's length on the way out.
    virtual std::int32_t enumKey(Key key, std::uint32_t index, char16_t* name, std::uint32_t* nameLength) = 0;
    // RegGetValueW with no type output; `dataSize` is in bytes. A null `data`
    // asks for the size only.
    virtual std::int32_t getValue(Key key, const std::u16string& subKey, const std::u16string& valueName,
                                  std::uint32_t flags, void* data, std::uint32_t* dataSize) = 0;
    // RegCloseKey
    virtual std::int32_t closeKey(Key key) = 0;
};

// The real machine: every build has SystemAccess; only POSIX builds have
// DirectoryAccess, and only Windows builds have the registry.
SystemAccess& systemAccess();
DirectoryAccess& directoryAccess();
Registry& systemRegistry();

// The executable's localized texts. The language is the calling thread's, as
// on Windows: set with setThreadUiLanguage, else the user's own.
void setThreadUiLanguage(std::uint16_t langid);
// Text `id` in the thread's language, or in the platform's fallback when that
// language has no copy; the empty text when no copy exists at all. At most
// 1023 units, cut at the first NUL.
std::u16string loadString(unsigned id);

// Tells the user that no usable Java runtime was found and waits until they
// close the notice: body `text`, the title and the OK and Help labels loaded
// in the thread's language, kept above other windows. Help opens `helpUrl`
// (when not empty) with the user's default handler. Reports nothing.
void showRuntimeMissingNotice(const std::u16string& text, const std::u16string& helpUrl);

// Shows the launcher's messages, one a line, where the user sees them and
// returns once they are acknowledged: a box captioned "zep" with an OK button
// on Windows (for a launcher without a console), standard error elsewhere.
void showMessages(const std::u16string& text);

}  // namespace zep::platform
