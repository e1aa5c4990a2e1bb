#include "launcher/message.h"

#include <iostream>

namespace zep {

void writeMessage(std::string_view message) { std::cerr << message; }

}  // namespace zep
