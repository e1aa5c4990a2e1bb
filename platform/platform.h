#pragma once
// The launcher's one door to the operating system. Everything here has a
// Windows implementation (platform/windows) and a POSIX one (platform/posix);
// CMake picks one, and no caller asks which.

#include <cstdint>
#include <string>

namespace zep::platform {

// A library loaded into the process at run time, released when the object goes
// (FreeLibrary or dlclose).
class Library {
public:
    Library() = default;
    // Loads the library at `path` exactly as given; an empty Library when it does not load.
    static Library load(const std::u16string& path);

    Library(Library&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    Library& operator=(Library&& other) noexcept;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library() { reset(); }

    explicit operator bool() const { return handle_ != nullptr; }
    // The address of an exported symbol, or null.
    void* symbol(const char* name) const;
    void reset();

private:
    explicit Library(void* handle) : handle_(handle) {}
    void* handle_ = nullptr;
};

// The executable's localized texts. The language is the calling thread's, as
// on Windows: set with setThreadUiLanguage, else the user's own.
void setThreadUiLanguage(std::uint16_t langid);
// Text `id` in the thread's language, or in the platform's fallback when that
// language has no copy; the empty text when no copy exists at all. At most
// 1023 units, cut at the first NUL.
std::u16string loadString(unsigned id);

}  // namespace zep::platform
