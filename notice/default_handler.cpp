#include "notice/default_handler.h"

#include "platform/posix/standard_streams.h"

namespace zep::notice {

void openWithDefaultHandler(const GtkRuntime& gtk, const std::string& address) {
    // A browser would otherwise inherit the launcher's streams: its chatter
    // would join the launcher's message, and a caller reading the launcher's
    // output to its end would wait for the browser to be closed. GIO starts
    // the program before it returns, so the streams are back for the
    // launcher's message.
    const platform::NullStandardStreams detached;
    gtk.launchDefaultForUri(address.c_str(), nullptr, nullptr);
}

}  // namespace zep::notice
