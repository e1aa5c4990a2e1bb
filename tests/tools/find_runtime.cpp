// Prints what the launcher's runtime search finds on this machine (its bytes),
// so that tests can watch the search itself rather than what follows it; with
// QRVN_ZEP_TRACE, the search's trace goes to standard error.

#include <cstdio>

#include "discovery/find_java_runtime.h"
#include "platform/text.h"
#include "tests/support/real_system.h"

int main() {
    zep::test::RealSystem real;
    real.trace.start(real.machine.environmentVariable(u"QRVN_ZEP_TRACE"));
    const auto found = zep::discovery::findJavaRuntime(real.system());
    // Nothing found prints nothing.
    const std::string bytes = zep::platform::encodeLossless(found ? found->runtime.library : u"");
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return 0;
}
