#include "launcher/message.h"

#include "notice/show_notice.h"
#include "platform/standard_error.h"

namespace zep {

void Messages::warn(std::string_view message) {
    if (mode_ != MessageMode::Collect) {
        // Written as the trace is, so that a closed pipe cannot end the
        // launcher before its exit code says what happened.
        if (platform::writeStandardErrorDirectly(message)) {
            trace_.messageWritten();
            if (mode_ != MessageMode::WriteAndShow) return;
        } else if (mode_ == MessageMode::Write) {
            return;
        } else if (mode_ == MessageMode::CollectOnceUnwritten) {
            mode_ = MessageMode::Collect;
        }
    }
    if (!collected_.empty()) collected_ += u'\n';
    collected_.append(message.begin(), message.end());  // the messages are ASCII
}

void Messages::fail(std::string_view message, std::u16string_view details) noexcept {
    try {
        warn(message);
        if (!collectsForBox() || noticeShown_) return;
        if (!details.empty()) collected_.append(u"\n\n").append(details);
        notice::showMessages(collected_);
    } catch (...) {
        // No memory left to tell it: the exit code still does.
    }
}

}  // namespace zep
