#include "launcher/single_instance.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "jvmhost/launched_again.h"
#include "launcher/launched_again_message.h"
#include "platform/cache_files.h"
#include "platform/digest.h"
#include "platform/instance_channel.h"
#include "platform/runtime_encoding.h"
#include "platform/text.h"
#include "platform/trace.h"

namespace zep {

namespace trace = platform::trace;

namespace {

constexpr std::string_view kPrefix = "single instance: ";

// How long a later start waits for the running one to take its arguments,
// and how long the running one waits for a message to arrive whole.
constexpr std::chrono::seconds kHandOverTime{2};

// One line of the trace, "single instance: " and the parts, with `channel`
// quoted between them; made only when the trace is on.
void tell(platform::Trace& trace, std::string_view head, const std::u16string* channel = nullptr,
          std::string_view tail = {}) noexcept {
    if (!trace.on()) return;
    try {
        std::string line(kPrefix);
        line += head;
        if (channel != nullptr) line += trace::quoted(*channel);
        line += tail;
        trace.line(line);
    } catch (...) {
        // Dropped, as any trace line that cannot be made.
    }
}

platform::Deadline deadlineIn(std::chrono::steady_clock::duration time) {
    return std::chrono::steady_clock::now() + time;
}

// The channel of this executable and `commandWord`; nullopt when there is
// none to be had (the trace says why).
std::optional<std::u16string> instanceChannel(const platform::System& system, std::u16string_view commandWord) {
    const std::optional<std::u16string> executable = system.machine.executableFile();
    if (!executable) {
        tell(system.trace, "none: the executable's own file is not known");
        return std::nullopt;
    }
    // Its length before each part, so that no two pairs make one text.
    platform::Digest digest;
    for (const std::u16string_view part : {std::u16string_view(*executable), commandWord}) {
        const std::string bytes = platform::encodeLossless(part);
        digest.add(std::to_string(bytes.size()) + ":");
        digest.add(bytes);
    }
    const std::string key = digest.hex();
    std::string why;
    std::optional<std::u16string> channel = platform::instanceChannelName(platform::utf8ToUtf16(key), why);
    if (!channel) tell(system.trace, "none: " + why);
    return channel;
}

// A later start: true when the running one on `channel` took `programArgs`
// (as the launcher received them) and this start's working directory within
// kHandOverTime. The trace says what happened, and why not.
bool handOverToRunning(const platform::System& system, const std::u16string& channel,
                       const std::vector<std::u16string>& programArgs) {
    const platform::Deadline deadline = deadlineIn(kHandOverTime);
    const auto notHandedOver = [&](std::string_view why) {
        tell(system.trace, "not handed over to ", &channel, ": " + std::string(why) + "; this start runs on its own");
        return false;
    };
    const std::optional<std::u16string> directory = platform::currentDirectory();
    if (!directory) return notHandedOver("the current directory is not known");
    const std::optional<std::string> message = encodeMessage({platform::programArgumentText(*directory), programArgs});
    if (!message) return notHandedOver("the arguments are too long, or not well-formed UTF-16");
    std::string why;
    std::optional<platform::InstanceConnection> connection = platform::connectToInstance(channel, deadline, why);
    if (!connection) return notHandedOver(why);
    if (!connection->write(*message, deadline)) return notHandedOver("the running start took no message");
    const std::optional<std::string> answer = connection->read(kAcknowledgement.size(), deadline);
    if (!answer) return notHandedOver("no answer in time");
    if (*answer != kAcknowledgement) return notHandedOver("an answer that is no acknowledgement");
    tell(system.trace, "handed over to ", &channel);
    return true;
}

}  // namespace

struct SingleInstance::Listening {
    Listening(platform::Trace& told, platform::InstanceListener heard, jvmhost::LaunchedAgain called)
        : trace(told), listener(std::move(heard)), method(called) {}

    // Takes one later start: its message whole within the time, then the
    // application's call, then the answer.
    void take(platform::InstanceConnection& connection) {
        const platform::Deadline deadline = deadlineIn(kHandOverTime);
        const auto refuse = [&](std::string_view why) { tell(trace, "a later start refused: " + std::string(why)); };
        const std::optional<std::string> header = connection.read(kHeaderSize, deadline);
        if (!header) return refuse("no message in time");
        const std::optional<std::size_t> length = announcedLength(*header);
        if (!length) return refuse("not a message, or one over 1 MiB");
        const std::optional<std::string> rest = connection.read(*length, deadline);
        if (!rest) return refuse("the message cut short");
        const std::optional<LaunchedAgainMessage> message = decodeMessage(*rest);
        if (!message) return refuse("a malformed message");
        tell(trace, "a later start in ", &message->workingDirectory,
             ", program arguments: " + std::to_string(message->arguments.size()));
        if (!jvmhost::callLaunchedAgain(method, message->workingDirectory, message->arguments, trace)) return;
        if (!connection.write(kAcknowledgement, deadlineIn(kHandOverTime))) {
            refuse("it was gone before it was answered");
        }
    }

    void serve() noexcept {
        try {
            while (std::optional<platform::InstanceConnection> connection = listener.accept()) take(*connection);
        } catch (...) {
            // Out of memory: later starts run on their own.
            listener.stop();
        }
        const std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        ended.notify_all();
    }

    platform::Trace& trace;
    platform::InstanceListener listener;
    jvmhost::LaunchedAgain method;
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
};

bool SingleInstance::handOver(const platform::System& system, std::u16string_view commandWord,
                              const std::vector<std::u16string>& programArgs) {
    channel_ = instanceChannel(system, commandWord);
    return channel_ && handOverToRunning(system, *channel_, programArgs);
}

void SingleInstance::listen(platform::Trace& trace, JavaVM* vm, JNIEnv* env, const std::string& mainClass) {
    if (!channel_) return;
    const std::optional<jvmhost::LaunchedAgain> method = jvmhost::findLaunchedAgain(vm, env, mainClass, trace);
    if (!method) return;
    std::string why;
    std::optional<platform::InstanceListener> listener = platform::InstanceListener::listen(*channel_, why);
    if (!listener) {
        tell(trace, "not listening on ", &*channel_, ": " + why);
        return;
    }
    listening_ = std::make_shared<Listening>(trace, std::move(*listener), *method);
    std::thread([listening = listening_] { listening->serve(); }).detach();
    tell(trace, "listening on ", &*channel_);
}

void SingleInstance::stopListening() noexcept {
    if (!listening_) return;
    const std::shared_ptr<Listening> listening = std::move(listening_);
    listening->listener.stop();
    // The thread answers a later start within its time unless the
    // application's launchedAgain holds it, and the machine is gone: a call
    // still inside it never returns.
    std::unique_lock<std::mutex> lock(listening->mutex);
    if (!listening->ended.wait_for(lock, kHandOverTime * 2, [&] { return listening->finished; })) {
        tell(listening->trace, "a later start's call still runs: left behind");
        return;
    }
    tell(listening->trace, "stopped listening");
}

}  // namespace zep
