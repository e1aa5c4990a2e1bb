#pragma once
// What the Java runtime says while a launch runs, for a launcher whose
// failures are shown in a box rather than on a standard error a person reads:
// the runtime's own reason for refusing to start ("Invalid maximum heap
// size: -Xmx8gb") would otherwise go to a standard error nobody sees.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/runtime_hooks.h"
#include "platform/trace.h"

namespace zep {

class RuntimeWords final : public platform::RuntimeHookTarget {
public:
    // The most that is kept: the last this many bytes of what was printed.
    static constexpr std::size_t kKept = std::size_t{16} * 1024;

    // `endedDuringStart` is called, once, when the runtime ends the process
    // (exit with a code other than 0, or abort) before its machine is made;
    // it shows the failure. With `echo`, what the runtime prints is also
    // written where the runtime would have written it.
    RuntimeWords(platform::Trace& trace, bool echo, std::function<void()> endedDuringStart);
    ~RuntimeWords() override;
    RuntimeWords(const RuntimeWords&) = delete;
    RuntimeWords& operator=(const RuntimeWords&) = delete;

    // Called once JNI_CreateJavaVM has returned: an exit after it is the
    // program's (System.exit), no failure of the start.
    void started() noexcept { starting_ = false; }

    // `action` is called first whenever the runtime ends the process.
    void alsoAtExit(std::function<void()> action) { atExit_ = std::move(action); }

    // What was kept, in the runtime's encoding.
    std::string text() const;

    void printed(std::string_view bytes, bool toStandardOutput) noexcept override;
    void exiting(int code) noexcept override;
    void aborting() noexcept override;

private:
    // True for the first caller only: a second end (another thread, an abort
    // while the box is up) shows nothing more.
    bool endsTheStart() noexcept;

    platform::Trace& trace_;
    const bool echo_;
    const std::function<void()> endedDuringStart_;
    std::function<void()> atExit_;
    std::atomic<bool> starting_{true};
    std::atomic<bool> ended_{false};
    std::atomic<int> exitCode_{0};
    mutable std::mutex lock_;  // the runtime prints from its own threads too
    std::string kept_;
};

// Where the runtime's exit hook reports when nothing else of the runtime's is
// watched: `atExit` is called whenever the runtime ends the process.
class ExitWatch final : public platform::RuntimeHookTarget {
public:
    explicit ExitWatch(std::function<void()> atExit);
    ~ExitWatch() override;
    ExitWatch(const ExitWatch&) = delete;
    ExitWatch& operator=(const ExitWatch&) = delete;

    void printed(std::string_view, bool) noexcept override {}
    void exiting(int) noexcept override { atExit_(); }
    void aborting() noexcept override {}

private:
    const std::function<void()> atExit_;
};

}  // namespace zep
