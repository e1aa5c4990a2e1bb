#include "launcher/launcher.h"

namespace zep {

// The launcher has no localized texts yet: every option is left alone.
void Launcher::applyLanguageOption(const char16_t*) {}

}  // namespace zep
