#pragma once
// An X server of the test's own (Xvfb), on a display number the server picks
// among the free ones, so that tests running side by side never share one.

#include <sys/types.h>

#include <string>

namespace zep::test {

class VirtualDisplay {
public:
    // Starts the server and returns once it accepts clients; throws when it
    // cannot be started or does not come up in time.
    VirtualDisplay();
    // Stops the server and waits for it, bounded.
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // What DISPLAY takes: ":<number>".
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

}  // namespace zep::test
