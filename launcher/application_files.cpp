#include "launcher/application_files.h"

#include <optional>

#include "platform/cache_files.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/runtime_encoding.h"

namespace zep {

namespace trace = platform::trace;

ApplicationFiles findApplicationFiles(const platform::System& system, Program program) {
    constexpr std::u16string_view kArchive = u"zep.jar";
    ApplicationFiles files{"-Djava.class.path=zep.jar", "-Djava.library.path=.", {}};
    const std::optional<std::u16string> current = platform::currentDirectory();
    if (current) files.archive = platform::joinPath(*current, kArchive, platform::kPathSeparator);
    if (program != Program::Desktop || (current && system.machine.isRegularFile(files.archive))) return files;

    const std::optional<std::u16string> own = system.machine.executableDirectory();
    if (!own) return files;
    const std::u16string archive = platform::joinPath(*own, kArchive, platform::kPathSeparator);
    if (!system.machine.isRegularFile(archive)) return files;
    const std::optional<std::string> classPath = platform::exactlyInRuntimeEncoding(u"-Djava.class.path=" + archive);
    const std::optional<std::string> libraryPath = platform::exactlyInRuntimeEncoding(u"-Djava.library.path=" + *own);
    if (!classPath || !libraryPath) {
        system.trace.line([&] {
            return "no zep.jar in the current directory, and the runtime cannot be told " + trace::quoted(*own) +
                   ": its encoding lacks a character of it";
        });
        return files;
    }
    system.trace.line([&] { return "no zep.jar in the current directory: the application in " + trace::quoted(*own); });
    return {*classPath, *libraryPath, archive};
}

}  // namespace zep
