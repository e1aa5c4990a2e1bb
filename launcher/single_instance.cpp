#include "launcher/single_instance.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

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

platform::Deadline deadlineIn(std::chrono::steady_clock::duration time) {
    return std::chrono::steady_clock::now() + time;
}

}  // namespace

std::optional<std::u16string> instanceChannel(const platform::System& system, std::u16string_view commandWord) {
    const std::optional<std::u16string> executable = system.machine.executableFile();
    if (!executable) {
        system.trace.line([&] { return std::string(kPrefix) + "none: the executable's own file is not known"; });
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
    if (!channel) system.trace.line([&] { return std::string(kPrefix) + "none: " + why; });
    return channel;
}

bool handOverToRunning(const platform::System& system, const std::u16string& channel,
                       const std::vector<std::u16string>& programArgs) {
    const platform::Deadline deadline = deadlineIn(kHandOverTime);
    const auto notHandedOver = [&](std::string_view why) {
        system.trace.line([&] {
            return std::string(kPrefix) + "not handed over to " + trace::quoted(channel) + ": " + std::string(why) +
                   "; this start runs on its own";
        });
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
    system.trace.line([&] { return std::string(kPrefix) + "handed over to " + trace::quoted(channel); });
    return true;
}

struct RunningInstance::Shared {
    Shared(platform::Trace& told, platform::InstanceListener heard, jvmhost::LaunchedAgain called)
        : trace(told), listener(std::move(heard)), method(called) {}

    // Takes one later start: its message whole within the time, then the
    // application's call, then the answer.
    void take(platform::InstanceConnection& connection) {
        const platform::Deadline deadline = deadlineIn(kHandOverTime);
        const auto refuse = [&](std::string_view why) {
            trace.line([&] { return std::string(kPrefix) + "a later start refused: " + std::string(why); });
        };
        const std::optional<std::string> header = connection.read(kHeaderSize, deadline);
        if (!header) return refuse("no message in time");
        const std::optional<std::size_t> length = announcedLength(*header);
        if (!length) return refuse("not a message, or one over 1 MiB");
        const std::optional<std::string> rest = connection.read(*length, deadline);
        if (!rest) return refuse("the message cut short");
        const std::optional<LaunchedAgainMessage> message = decodeMessage(*rest);
        if (!message) return refuse("a malformed message");
        trace.line([&] {
            return std::string(kPrefix) + "a later start in " + trace::quoted(message->workingDirectory) +
                   ", program arguments: " + std::to_string(message->arguments.size());
        });
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

std::unique_ptr<RunningInstance> RunningInstance::start(platform::Trace& trace, const std::u16string& channel,
                                                        jvmhost::LaunchedAgain method) {
    std::string why;
    std::optional<platform::InstanceListener> listener = platform::InstanceListener::listen(channel, why);
    if (!listener) {
        trace.line([&] { return std::string(kPrefix) + "not listening on " + trace::quoted(channel) + ": " + why; });
        return nullptr;
    }
    auto shared = std::make_shared<Shared>(trace, std::move(*listener), method);
    std::thread([shared] { shared->serve(); }).detach();
    trace.line([&] { return std::string(kPrefix) + "listening on " + trace::quoted(channel); });
    return std::unique_ptr<RunningInstance>(new RunningInstance(std::move(shared)));
}

RunningInstance::RunningInstance(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

RunningInstance::~RunningInstance() {
    shared_->listener.stop();
    // The thread answers a later start within its time unless the
    // application's launchedAgain holds it, and the machine is gone: a call
    // still inside it never returns.
    std::unique_lock<std::mutex> lock(shared_->mutex);
    if (!shared_->ended.wait_for(lock, kHandOverTime * 2, [&] { return shared_->finished; })) {
        shared_->trace.line([] { return std::string(kPrefix) + "a later start's call still runs: left behind"; });
        return;
    }
    shared_->trace.line([] { return std::string(kPrefix) + "stopped listening"; });
}

bool SingleInstance::handOver(const platform::System& system, std::u16string_view commandWord,
                              const std::vector<std::u16string>& programArgs) {
    channel_ = instanceChannel(system, commandWord);
    return channel_ && handOverToRunning(system, *channel_, programArgs);
}

void SingleInstance::listen(platform::Trace& trace, JavaVM* vm, JNIEnv* env, const std::string& mainClass) {
    if (!channel_) return;
    if (const std::optional<jvmhost::LaunchedAgain> method = jvmhost::findLaunchedAgain(vm, env, mainClass, trace)) {
        running_ = RunningInstance::start(trace, *channel_, *method);
    }
}

}  // namespace zep
