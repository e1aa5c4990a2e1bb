#pragma once
// The launcher's messages: the warnings and the one failure of a launch, fixed
// English texts. They go to standard error as they are: no prefix, no line
// end, each written whole before the call returns; one that cannot be written
// is lost, but never ends the process. A windowless launcher whose caller gave
// it no standard error, or one it cannot write to, collects them instead, and
// shows them when the launch fails; one started from a desktop, whose standard
// error goes where nobody reads it, both writes and collects them.

#include <string>
#include <string_view>

#include "platform/trace.h"

namespace zep {

enum class MessageMode {
    Write,                 // to standard error
    Collect,               // for the failure's box, from the start
    CollectOnceUnwritten,  // to standard error, and for the box from the first that cannot be written
    WriteAndShow           // to standard error, and every one for the box, written or not
};

// The messages of one launch, owned by it. `trace` learns of each one written,
// so that its next line starts on a line of its own.
class Messages {
public:
    explicit Messages(platform::Trace& trace, MessageMode mode = MessageMode::Write) noexcept
        : trace_(trace), mode_(mode) {}
    Messages(const Messages&) = delete;
    Messages& operator=(const Messages&) = delete;

    // A warning that does not stop the launch.
    void warn(std::string_view message);

    // The failure that ends the launch. Told like a warning; when messages are
    // collected, shown with those before it in one box, followed by
    // `details` (what the runtime said of it), unless the runtime-missing
    // notice has told the user already. Nothing escapes it: it is the
    // launch's last word.
    void fail(std::string_view message, std::u16string_view details = {}) noexcept;

    // True when a failure will be shown in a box, nobody (or no person)
    // reading standard error: what the runtime says is worth keeping for it.
    bool collectsForBox() const noexcept { return mode_ == MessageMode::Collect || mode_ == MessageMode::WriteAndShow; }
    // True when what is collected for the box goes to standard error as well.
    bool alsoWrites() const noexcept { return mode_ == MessageMode::WriteAndShow; }

    // The runtime-missing notice was shown: a failure after it needs no box.
    void noticeShown() noexcept { noticeShown_ = true; }

private:
    platform::Trace& trace_;
    MessageMode mode_;
    bool noticeShown_ = false;
    std::u16string collected_;  // one message a line
};

}  // namespace zep
