#pragma once
// Libraries loaded into the process at run time: any library, and a Java
// runtime's JVM library with what it needs loaded beside it.

#include <string>
#include <vector>

#include "platform/handle.h"

#ifdef _WIN32
struct HINSTANCE__;  // what an HMODULE points at
#endif

namespace zep::platform {

#ifdef _WIN32
using NativeLibrary = HINSTANCE__*;
#else
struct DlopenHandle;  // never defined: dlopen's handle, typed
using NativeLibrary = DlopenHandle*;
#endif

// An exported function of `library` as the type it has; null when there is
// none (GetProcAddress, dlsym). Every symbol is looked up through this one.
using ProcAddress = void (*)();  // a function of any type passes through this one
ProcAddress procAddress(NativeLibrary library, const char* name);
template <typename Function>
Function lookupFunction(NativeLibrary library, const char* name) {
    return reinterpret_cast<Function>(procAddress(library, name));
}

// FreeLibrary or dlclose.
int releaseLibrary(NativeLibrary library);

struct LibraryTraits {
    using pointer = NativeLibrary;
    static constexpr pointer invalid() noexcept { return nullptr; }
    static constexpr bool isValid(pointer value) noexcept { return value != nullptr; }
    void close(pointer library) const noexcept { releaseLibrary(library); }
};

// A loaded library, released when the object goes.
class Library {
public:
    Library() = default;
    explicit Library(UniqueHandle<LibraryTraits> handle) : handle_(std::move(handle)) {}

    // Loads the library at `path` exactly as given; empty when it does not load.
    static Library load(const std::u16string& path);

    // Loads a library of the system by its file name, from where the system
    // keeps its libraries, with its symbols kept to itself (they resolve no
    // other library's references). It stays loaded once loaded, owner or
    // not: a toolkit such as GTK registers types and threads that outlive any
    // attempt to unload it. Empty when it does not load.
    static Library loadResident(const std::u16string& name);

    explicit operator bool() const { return static_cast<bool>(handle_); }

    // An exported function as the type it has; null when there is none.
    template <typename Function>
    Function function(const char* name) const {
        return lookupFunction<Function>(handle_.get(), name);
    }

    void reset() { handle_.reset(); }

private:
    UniqueHandle<LibraryTraits> handle_;
};

// A module loaded for a Java runtime, released through the loader that loaded
// it: Windows' runtime loader takes its calls as a value (LoaderCalls, where a
// test stands in for the system), and its FreeLibrary is among them.
struct RuntimeModuleTraits {
    using pointer = NativeLibrary;
    static constexpr pointer invalid() noexcept { return nullptr; }
    static constexpr bool isValid(pointer value) noexcept { return value != nullptr; }
    void close(pointer module) const noexcept { release(module); }
    int (*release)(pointer) = &releaseLibrary;
};

// A Java runtime's JVM library, loaded so that it finds what the runtime ships
// beside it, and released with all that was loaded for it: the JVM library
// first, then the others, last loaded first. The one owner of a runtime's
// modules, on every system and in the tests of the Windows loader.
//
// Windows: the path is made absolute once, so that the file loaded is the file
// that was probed. The C runtime libraries present in the runtime's bin
// directory (of every age the runtimes ship) are loaded first, by their full
// paths, and stay loaded as long as the JVM library: the libraries the JVM
// loads later import them by name too. Where the system can (AddDllDirectory),
// bin joins the search for the JVM library's other imports while it loads,
// and neither the current directory nor Path take part
// (platform/windows/runtime_loader.h).
// POSIX: only a regular file is handed to the loader, so that a FIFO or a
// device of that name cannot hold the launcher.
class RuntimeLibrary {
public:
    using Module = UniqueHandle<RuntimeModuleTraits>;

    RuntimeLibrary() = default;
    RuntimeLibrary(RuntimeLibrary&& other) noexcept = default;
    RuntimeLibrary& operator=(RuntimeLibrary&& other) noexcept {
        reset();
        companions_ = std::move(other.companions_);
        library_ = std::move(other.library_);
        failure_ = std::move(other.failure_);
        return *this;
    }
    RuntimeLibrary(const RuntimeLibrary&) = delete;
    RuntimeLibrary& operator=(const RuntimeLibrary&) = delete;
    ~RuntimeLibrary() { reset(); }

    // Empty when the library does not load; failure() then says why.
    static RuntimeLibrary load(const std::u16string& path);

    explicit operator bool() const { return static_cast<bool>(library_); }

    template <typename Function>
    Function function(const char* name) const {
        return lookupFunction<Function>(library_.get(), name);
    }

    // Why the load failed, in plain words; empty once it succeeded.
    const std::string& failure() const { return failure_; }

    // The JVM library first, then what was loaded for it, last loaded first.
    void reset() {
        library_.reset();
        while (!companions_.empty()) companions_.pop_back();
    }

    // How a loader fills it, in load order: each module loaded for the
    // library as it loads, then the library itself; or, when the library does
    // not load, why, all loaded for it released first.
    void keepCompanion(Module companion) { companions_.push_back(std::move(companion)); }
    void keepLibrary(Module library) { library_ = std::move(library); }
    void fail(std::string why) {
        reset();
        failure_ = std::move(why);
    }

private:
    std::vector<Module> companions_;  // in load order
    Module library_;
    std::string failure_;
};

// Whether a JVM library loads as RuntimeLibrary::load loads it, and why not.
struct LoadProbe {
    bool loaded = false;
    std::string failure;  // in plain words, when it did not load
};

}  // namespace zep::platform
