#pragma once
// One application, however often the desktop launcher starts it. The first
// start of an entry class that declares launchedAgain listens on a channel of
// this user's, named after the executable and the command word; a later start
// of the same two hands its working directory and program arguments to it and
// ends, making no machine. Whatever goes wrong on the way, each start is its
// own process, as it would be without any of this.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jvmhost/launched_again.h"
#include "launcher/later_starts.h"
#include "platform/system.h"

namespace zep {

// How long a later start waits for the running one to take its arguments,
// and how long the running one waits for a message to arrive whole.
constexpr std::chrono::seconds kHandOverTime{2};

// The channel of this executable and `commandWord`; nullopt when there is
// none to be had (the trace says why).
std::optional<std::u16string> instanceChannel(const platform::System& system, std::u16string_view commandWord);

// A later start: true when the running one on `channel` took `programArgs`
// (as the launcher received them) and this start's working directory within
// kHandOverTime. The trace says what happened, and why not.
bool handOverToRunning(const platform::System& system, const std::u16string& channel,
                       const std::vector<std::u16string>& programArgs);

// The first start's listener: a thread of its own that takes one later start
// at a time and hands its texts to the application's launchedAgain.
class RunningInstance {
public:
    // Listens on `channel`; nullptr when it cannot (the trace says why).
    static std::unique_ptr<RunningInstance> start(platform::Trace& trace, const std::u16string& channel,
                                                  jvmhost::LaunchedAgain method);
    // Stops listening and waits for the thread; a thread held inside the
    // application by a machine that went down under it is left behind, since
    // the process ends next.
    ~RunningInstance();
    RunningInstance(const RunningInstance&) = delete;
    RunningInstance& operator=(const RunningInstance&) = delete;

    struct Shared;  // what the thread holds, which may outlive this object

private:
    explicit RunningInstance(std::shared_ptr<Shared> shared);
    std::shared_ptr<Shared> shared_;
};

// What the desktop twin's entry point lends the launch, and outlives it.
class SingleInstance final : public LaterStarts {
public:
    bool handOver(const platform::System& system, std::u16string_view commandWord,
                  const std::vector<std::u16string>& programArgs) override;
    void listen(platform::Trace& trace, JavaVM* vm, JNIEnv* env, const std::string& mainClass) override;
    void stopListening() noexcept override { running_.reset(); }

private:
    std::optional<std::u16string> channel_;
    std::unique_ptr<RunningInstance> running_;
};

}  // namespace zep
