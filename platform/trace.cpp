#include "platform/trace.h"

#include "platform/runtime_text.h"
#include "platform/standard_error.h"
#include "platform/system_access.h"

namespace zep::platform::trace {
namespace {

bool enabled = false;
bool afterMessage = false;

}  // namespace

void start() {
    const auto value = systemAccess().environmentVariable(u"QRVN_ZEP_TRACE");
    enabled = value && !value->empty() && *value != u"0" && standardErrorIsOpen();
    afterMessage = false;
}

bool on() { return enabled; }

void line(std::string_view text) {
    if (!enabled) return;
    std::string bytes = afterMessage ? "\nzep: " : "zep: ";
    bytes.append(text);
    bytes.push_back('\n');
    if (writeStandardErrorDirectly(bytes)) afterMessage = false;
}

void messageWritten() { afterMessage = true; }

std::string Stopwatch::elapsed() const {
    const auto taken = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
    return std::to_string(taken.count()) + " ms";
}

std::string quoted(std::u16string_view text) { return '"' + toOutputBytes(text) + '"'; }

}  // namespace zep::platform::trace
