#include "launcher/message.h"

#include <iostream>
#include <string>

#include "notice/show_notice.h"
#include "platform/trace.h"

namespace zep {
namespace {

bool collecting = false;
bool noticeWasShown = false;
std::u16string collected;  // one message a line

}  // namespace

void writeMessage(std::string_view message) {
    if (collecting) {
        if (!collected.empty()) collected += u'\n';
        collected.append(message.begin(), message.end());  // the messages are ASCII
        return;
    }
    std::cerr << message;
    platform::trace::messageWritten();
}

void reportFailure(std::string_view message) {
    writeMessage(message);
    if (collecting && !noticeWasShown) notice::showMessages(collected);
}

void collectMessages() { collecting = true; }

void noticeShown() { noticeWasShown = true; }

}  // namespace zep
