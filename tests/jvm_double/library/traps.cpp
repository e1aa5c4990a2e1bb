#include "traps.h"

#include <string>

#include "record.h"

namespace zep::jvm_double {

void trapped(TableKind table, std::size_t slot) {
    const std::string number = std::to_string(slot);
    if (table == TableKind::Native) {
        die(kExitTrap, "trap " + number, "jvm double: unexpected JNI call, slot " + number);
    }
    die(kExitTrap, "trap vm " + number, "jvm double: unexpected JNI invocation call, slot " + number);
}

}  // namespace zep::jvm_double
