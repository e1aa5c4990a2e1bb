// Prints what the launcher's runtime search finds on this machine (its bytes),
// so that tests can watch the search itself rather than what follows it.

#include <cstdio>

#include "discovery/find_java_runtime.h"
#include "platform/utf.h"

int main() {
    const std::string found = zep::platform::encodeLossless(zep::findJavaRuntime());
    std::fwrite(found.data(), 1, found.size(), stdout);
    return 0;
}
