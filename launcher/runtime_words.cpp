#include "launcher/runtime_words.h"

#include <cstdlib>

#include "platform/standard_error.h"

namespace zep {

RuntimeWords::RuntimeWords(platform::Trace& trace, bool echo, std::function<void()> endedDuringStart)
    : trace_(trace), echo_(echo), endedDuringStart_(std::move(endedDuringStart)) {
    platform::setRuntimeHookTarget(this);
}

RuntimeWords::~RuntimeWords() { platform::setRuntimeHookTarget(nullptr); }

std::string RuntimeWords::text() const {
    const std::lock_guard<std::mutex> hold(lock_);
    return kept_;
}

void RuntimeWords::printed(std::string_view bytes, bool toStandardOutput) noexcept {
    const std::lock_guard<std::mutex> hold(lock_);
    if (echo_) {
        if (toStandardOutput) {
            platform::writeStandardOutputDirectly(bytes);
        } else {
            platform::writeStandardErrorDirectly(bytes);
        }
    }
    trace_.line([&] { return "the runtime printed \"" + platform::trace::runtimeText(bytes) + '"'; });
    try {
        if (bytes.size() >= kKept) {
            kept_.assign(bytes.substr(bytes.size() - kKept));
        } else {
            if (kept_.size() + bytes.size() > kKept) kept_.erase(0, kept_.size() + bytes.size() - kKept);
            kept_.append(bytes);
        }
    } catch (...) {
        // No memory left to keep it: the start fails for that anyway.
    }
}

bool RuntimeWords::endsTheStart() noexcept { return starting_ && !ended_.exchange(true); }

void RuntimeWords::exiting(int code) noexcept {
    trace_.line([&] { return "the runtime ends the process with exit code " + std::to_string(code); });
    exitCode_ = code;
    if (atExit_) atExit_();
    if (code != 0 && endsTheStart()) endedDuringStart_();
}

void RuntimeWords::aborting() noexcept {
    trace_.line("the runtime aborts the process");
    if (!endsTheStart()) return;
    endedDuringStart_();
    // A failed start ends with the launcher's failure code, not an abort's,
    // unless the runtime named one.
    const int code = exitCode_;
    std::_Exit(code != 0 ? code : 1);
}

ExitWatch::ExitWatch(std::function<void()> atExit) : atExit_(std::move(atExit)) {
    platform::setRuntimeHookTarget(this);
}

ExitWatch::~ExitWatch() { platform::setRuntimeHookTarget(nullptr); }

}  // namespace zep
