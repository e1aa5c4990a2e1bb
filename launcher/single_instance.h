#pragma once
// One application, however often the desktop launcher starts it. The first
// start of an entry class that declares launchedAgain listens on a channel of
// this user's, named after the executable and the command word; a later start
// of the same two hands its working directory and program arguments to it and
// ends, making no machine. Whatever goes wrong on the way, each start is its
// own process, as it would be without any of this.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "launcher/later_starts.h"
#include "platform/system.h"

namespace zep {

// What the desktop twin's entry point lends the launch, and outlives it.
class SingleInstance final : public LaterStarts {
public:
    // A later start: hands over when a running start listens on the channel
    // of this executable and `commandWord` and takes the arguments within 2 s.
    bool handOver(const platform::System& system, std::u16string_view commandWord,
                  const std::vector<std::u16string>& programArgs) override;
    // The first start: a thread of its own takes one later start at a time
    // and hands its texts to the application's launchedAgain.
    void listen(platform::Trace& trace, JavaVM* vm, JNIEnv* env, const std::string& mainClass) override;
    // Stops listening and waits for the thread; a thread held inside the
    // application by a machine that went down under it is left behind, since
    // the process ends next.
    void stopListening() noexcept override;

    struct Listening;  // what the thread holds, which may outlive this object

private:
    std::optional<std::u16string> channel_;
    std::shared_ptr<Listening> listening_;
};

}  // namespace zep
