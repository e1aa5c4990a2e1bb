#pragma once
// One owner for every handle the system hands out: a loaded library, a
// registry key, a hook, a kernel object. UniqueHandle<Traits> closes it when
// it goes, as std::unique_ptr frees memory. The traits name the handle's type,
// its invalid value and how it is closed; traits with state (a key that is
// closed through the registry it came from) are kept beside the handle. What
// has no handle to own (a COM apartment, a directory added to a search) is
// undone by a ScopeExit.

#include <cstdlib>
#include <utility>

namespace zep::platform {

template <typename Traits>
class UniqueHandle {
public:
    using pointer = typename Traits::pointer;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(pointer value, Traits traits = Traits()) noexcept
        : value_(value), traits_(std::move(traits)) {}
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()), traits_(std::move(other.traits_)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
            traits_ = std::move(other.traits_);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    explicit operator bool() const noexcept { return Traits::isValid(value_); }
    pointer get() const noexcept { return value_; }

    // Gives the handle up without closing it: whoever takes it closes it.
    [[nodiscard]] pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }

    // Closes the handle held, if any, and holds `value` instead.
    void reset(pointer value = Traits::invalid()) noexcept {
        const pointer old = std::exchange(value_, value);
        if (Traits::isValid(old)) traits_.close(old);
    }

private:
    pointer value_ = Traits::invalid();
    [[no_unique_address]] Traits traits_{};
};

// Traits for a handle whose one invalid value is null, closed by `Close`,
// for one-line handle types: UniqueHandle<NullHandleTraits<HHOOK, &::UnhookWindowsHookEx>>.
template <typename Pointer, auto Close>
struct NullHandleTraits {
    using pointer = Pointer;
    static constexpr pointer invalid() noexcept { return nullptr; }
    static constexpr bool isValid(pointer value) noexcept { return value != nullptr; }
    void close(pointer value) const noexcept { Close(value); }
};

// Memory from the C allocator, freed with free().
inline void freeMemory(void* memory) noexcept { std::free(memory); }
template <typename Pointer>
using UniqueMalloc = UniqueHandle<NullHandleTraits<Pointer, &freeMemory>>;

// Undoes something when the scope it lives in is left, however it is left.
template <typename Undo>
class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(Undo undo) : undo_(std::move(undo)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { undo_(); }

private:
    Undo undo_;
};

}  // namespace zep::platform
