#include "launcher/message.h"

#include <string>

#include "notice/show_notice.h"
#include "platform/standard_error.h"
#include "platform/trace.h"

namespace zep {
namespace {

bool collecting = false;
bool collectWhenUnwritten = false;
bool noticeWasShown = false;
std::u16string collected;  // one message a line

}  // namespace

void writeMessage(std::string_view message) {
    if (!collecting) {
        // Written as the trace is, so that a closed pipe cannot end the
        // launcher before its exit code says what happened.
        if (platform::writeStandardErrorDirectly(message)) {
            platform::trace::messageWritten();
            return;
        }
        if (!collectWhenUnwritten) return;
        collecting = true;
    }
    if (!collected.empty()) collected += u'\n';
    collected.append(message.begin(), message.end());  // the messages are ASCII
}

void reportFailure(std::string_view message) {
    writeMessage(message);
    if (collecting && !noticeWasShown) notice::showMessages(collected);
}

void collectMessages() { collecting = true; }

void collectMessagesOnceUnwritten() { collectWhenUnwritten = true; }

void noticeShown() { noticeWasShown = true; }

}  // namespace zep
