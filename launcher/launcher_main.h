#pragma once
#include <functional>
#include <string>
#include <vector>

#include "launcher/later_starts.h"
#include "launcher/message.h"
#include "launcher/program.h"
#include "platform/system.h"

namespace zep {

// What the entry points call: starts the trace, builds the Launcher over
// `system` for `program` (with its single instance, `laterStarts`, for the
// desktop twin), runs one launch over the arguments that
// `readArguments` gives (element 0 being the program) and tears it down, its
// messages told as `mode` says. Returns the exit code: 0 when the launch
// completed, 1 when a failure was reported. What is not a runtime error
// (exhausted memory above all) still ends in one message and 1.
int launcherMain(const platform::System& system, const std::function<std::vector<std::u16string>()>& readArguments,
                 MessageMode mode = MessageMode::Write, Program program = Program::Console,
                 LaterStarts* laterStarts = nullptr) noexcept;

}  // namespace zep
