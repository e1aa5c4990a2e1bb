#pragma once
// What the launch asks of the desktop twin's single instance (see
// launcher/single_instance.h). The console programs have none, and so link
// none of it: the launch reaches it only through this interface.

#include <jni.h>

#include <string>
#include <vector>

#include "platform/system.h"

namespace zep {

class LaterStarts {
public:
    virtual ~LaterStarts() = default;
    // Before any runtime is searched: true when a running start of this
    // executable and `commandWord` took `programArgs`, so that this launch
    // is done.
    virtual bool handOver(const platform::System& system, std::u16string_view commandWord,
                          const std::vector<std::u16string>& programArgs) = 0;
    // Once the machine is made: listens for later starts when the entry
    // class `mainClass` declares launchedAgain.
    virtual void listen(platform::Trace& trace, JavaVM* vm, JNIEnv* env, const std::string& mainClass) = 0;
    // Once the machine is gone, before its library is released.
    virtual void stopListening() noexcept = 0;
};

}  // namespace zep
