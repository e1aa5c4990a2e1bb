#pragma once
// The runtime an application ships with itself: the folder `runtime` beside
// the launcher's executable, made with jlink. Such a runtime carries the JVM
// library but often no java program (jlink --strip-native-commands), and never
// a jre folder.

#include <optional>
#include <string>

#include "discovery/java_home.h"
#include "platform/system_access.h"

namespace zep::discovery {

// The bundled runtime when its JVM library is a regular file that loads.
std::optional<RuntimeHome> searchBundledRuntime(const HomeLayout& layout, const SearchContext& context);

}  // namespace zep::discovery
