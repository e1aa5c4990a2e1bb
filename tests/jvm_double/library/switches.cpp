#include "switches.h"

#include <charconv>

#include "record.h"
#include "system.h"
#include "text.h"

namespace zep::jvm_double {
namespace {

std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// Applies one switch; false when it is not one the double knows.
bool apply(Switches& switches, std::string_view item) {
    const auto equals = item.find('=');
    const std::string_view name = item.substr(0, equals);
    if (equals != std::string_view::npos) {
        const auto value = number(item.substr(equals + 1));
        if (!value) return false;
        // create=0 would claim success without a machine.
        if (name == "create" && *value != 0) {
            switches.createResult = value;
        } else if (name == "main-exit") {
            switches.mainExit = value;
        } else if (name == "exit-in-create") {
            switches.exitInCreate = value;
        } else if (name == "destroy-wait" && *value >= 0) {
            switches.destroyWaitMs = value;
        } else if (name == "launched-again-wait" && *value >= 0) {
            switches.launchedAgainWaitMs = value;
        } else {
            return false;
        }
        return true;
    }
    if (name == "create") {
        switches.createResult = -1;
    } else if (name == "create-exception") {
        switches.createException = true;
    } else if (name == "create-no-env") {
        switches.createNoEnv = true;
    } else if (name == "findclass") {
        switches.findClass = true;
    } else if (name == "findclass-pending") {
        switches.findClassPending = true;
    } else if (name == "array") {
        switches.array = true;
    } else if (name == "array-exception") {
        switches.arrayException = true;
    } else if (name == "newstring") {
        switches.newString = true;
    } else if (name == "method") {
        switches.method = true;
    } else if (name == "method-pending") {
        switches.methodPending = true;
    } else if (name == "main-throws") {
        switches.mainThrows = true;
    } else if (name == "load") {
        switches.load = true;
    } else if (name == "late-load") {
        switches.lateLoad = true;
    } else if (name == "vanish") {
        switches.vanish = true;
    } else if (name == "print-options") {
        switches.printOptions = true;
    } else if (name == "tostring-throws") {
        switches.toStringThrows = true;
    } else if (name == "launched-again") {
        switches.launchedAgain = true;
    } else if (name == "launched-again-throws") {
        switches.launchedAgainThrows = true;
    } else if (name == "abort-in-create") {
        switches.abortInCreate = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

Switches parseSwitches(std::string_view text) {
    Switches switches;
    while (!text.empty()) {
        const auto comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        if (!item.empty() && !apply(switches, item) && switches.unknown.empty()) switches.unknown = item;
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return switches;
}

Switches currentSwitches() {
    Switches switches = parseSwitches(environmentVariable("ZEPTEST_JVM_FAIL").value_or(""));
    if (!switches.unknown.empty()) {
        die(kExitDoubleMisused, "bad-switch " + escape(switches.unknown),
            "jvm double: unknown failure switch \"" + escape(switches.unknown) + "\"");
    }
    return switches;
}

}  // namespace zep::jvm_double
