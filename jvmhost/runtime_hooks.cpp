#include "jvmhost/jvm_options.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "platform/runtime_hooks.h"

namespace zep::jvmhost {
namespace {

// A text longer than this is cut to it: the runtime's messages are lines.
constexpr std::size_t kLongestText = std::size_t{16} * 1024;

// The stream is the runtime's, of its own C runtime on Windows: it is never
// touched. The text is formatted by the launcher's own C runtime into a
// buffer of its own, whatever the format asks for.
jint JNICALL printHook(FILE* stream, const char* format, va_list args) noexcept {
    platform::RuntimeHookTarget* target = platform::runtimeHookTarget();
    // Compared, never used: on POSIX the runtime's stdout is the launcher's.
    const bool toStandardOutput = stream == stdout;
    if (format == nullptr) return 0;
    char buffer[1024];
    va_list copy;
    va_copy(copy, args);
    // va_copy made it: the analyzer loses track of a va_list parameter,
    // which decays to a pointer on x86-64.
    // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized)
    const int length = std::vsnprintf(buffer, sizeof buffer, format, copy);
    va_end(copy);
    if (length < 0) return length;
    if (target == nullptr) return length;
    if (static_cast<std::size_t>(length) < sizeof buffer) {
        target->printed(std::string_view(buffer, static_cast<std::size_t>(length)), toStandardOutput);
        return length;
    }
    try {
        std::string text(std::min<std::size_t>(static_cast<std::size_t>(length), kLongestText) + 1, '\0');
        std::vsnprintf(text.data(), text.size(), format, args);
        text.pop_back();
        target->printed(text, toStandardOutput);
    } catch (...) {
        // No memory for it: what fitted the buffer is told instead.
        target->printed(std::string_view(buffer, sizeof buffer - 1), toStandardOutput);
    }
    return length;
}

void JNICALL exitHook(jint code) noexcept {
    if (platform::RuntimeHookTarget* target = platform::runtimeHookTarget()) target->exiting(static_cast<int>(code));
}

void JNICALL abortHook() noexcept {
    if (platform::RuntimeHookTarget* target = platform::runtimeHookTarget()) target->aborting();
}

}  // namespace

void JvmOptions::appendExitHook() { appendWithExtra("exit", reinterpret_cast<void*>(&exitHook)); }

void JvmOptions::appendRuntimeHooks() {
    appendWithExtra("vfprintf", reinterpret_cast<void*>(&printHook));
    appendWithExtra("exit", reinterpret_cast<void*>(&exitHook));
    appendWithExtra("abort", reinterpret_cast<void*>(&abortHook));
}

}  // namespace zep::jvmhost
