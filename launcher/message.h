#pragma once
// The launcher's messages: the warnings and the one failure of a launch, fixed
// English texts. They go to standard error as they are: no prefix, no line
// end, each written whole before the call returns; one that cannot be written
// is lost, but never ends the process. A windowless launcher whose caller gave
// it no standard error, or one it cannot write to, collects them instead, and
// shows them when the launch fails.

#include <string_view>

namespace zep {

// A warning that does not stop the launch.
void writeMessage(std::string_view message);

// The failure that ends the launch. Written like a warning; when messages are
// collected, shown with those before it in one box, unless the
// runtime-missing notice has told the user already.
void reportFailure(std::string_view message);

// From now on messages are kept for the failure's box, not written.
void collectMessages();

// From the first message that cannot be written on, messages are kept for the
// failure's box, that one included.
void collectMessagesOnceUnwritten();

// The runtime-missing notice was shown: a failure after it needs no box.
void noticeShown();

}  // namespace zep
