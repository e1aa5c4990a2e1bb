#pragma once

namespace zep {

// Which of the two programs runs: the console launcher, whose behaviour
// callers script against, or its windowless twin, which the desktop and the
// shell start and which does more for them.
enum class Program { Console, Desktop };

}  // namespace zep
