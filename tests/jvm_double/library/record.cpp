#include "record.h"

#include <string>

#include "system.h"

namespace zep::jvm_double {

void record(std::string_view line) {
    std::string bytes(line);
    bytes.push_back('\n');
    if (appendToLog(bytes)) return;
    writeStandardError("jvm double: cannot write to the log " + environmentVariable("ZEPTEST_JVM_LOG").value_or("") +
                       "\n");
    endProcessNow(kExitDoubleMisused);
}

void die(int code, std::string_view line, std::string_view message) {
    record(line);
    writeStandardError(std::string(message) + "\n");
    endProcessNow(code);
}

}  // namespace zep::jvm_double
