// Prints what the launcher's runtime search finds on this machine (its bytes),
// so that tests can watch the search itself rather than what follows it; with
// QRVN_ZEP_TRACE, the search's trace goes to standard error.

#include <cstdio>

#include "discovery/find_java_runtime.h"
#include "platform/text.h"
#include "platform/trace.h"

int main() {
    zep::platform::trace::start();
    // Nothing found prints nothing.
    const std::string found = zep::platform::encodeLossless(zep::findJavaRuntime().value_or(u""));
    std::fwrite(found.data(), 1, found.size(), stdout);
    return 0;
}
