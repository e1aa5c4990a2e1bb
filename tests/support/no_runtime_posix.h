#pragma once
// Runs the launcher where no Java runtime is installed, so that it shows its
// notice (or, from the package, uses the runtime it carries): a private mount
// namespace whose /usr/lib/jvm is an empty directory, no runtime named by
// QRVN_ZEP_JAVA_HOME or JAVA_HOME, and an empty PATH.

#include <string>
#include <vector>

#include "platform/text.h"
#include "tests/support/process.h"

namespace zep::test {

struct NoRuntimeOptions {
    // Shell commands run in the namespace before the launcher starts.
    std::string stage = "true";
    // A network namespace of its own too: no abstract sockets, no X server by name.
    bool ownNetwork = false;
    // The launcher to start; empty: the one under test.
    std::u16string launcher;
};

// The program and arguments that start the launcher with `arguments` so;
// `environment` is what the caller hands startProgram or runProgram.
struct NoRuntimeCommand {
    std::u16string program = u"/usr/bin/unshare";
    std::vector<std::u16string> arguments;
};

inline NoRuntimeCommand launcherWithoutRuntimes(const std::vector<std::u16string>& arguments,
                                                const NoRuntimeOptions& options = {}) {
    const std::string script = "mount -t tmpfs tmpfs /usr/lib/jvm && " + options.stage + " && PATH= exec \"$0\" \"$@\"";
    NoRuntimeCommand command;
    command.arguments = {options.ownNetwork ? u"-rmn" : u"-rm", u"/bin/sh", u"-c", platform::utf8ToUtf16(script),
                         options.launcher.empty() ? zepExecutable() : options.launcher};
    command.arguments.insert(command.arguments.end(), arguments.begin(), arguments.end());
    return command;
}

// The environment every such run starts from: no runtime named, the tools of
// the staging shell at hand (the launcher itself gets an empty PATH), and an
// English locale, which a notice without a language option follows.
inline void clearRuntimeEnvironment(ProcessOptions& options) {
    options.environment[u"QRVN_ZEP_JAVA_HOME"] = std::nullopt;
    options.environment[u"JAVA_HOME"] = std::nullopt;
    options.environment[u"PATH"] = u"/usr/sbin:/usr/bin:/sbin:/bin";
    options.environment[u"LANG"] = u"C.UTF-8";
    options.environment[u"LC_ALL"] = std::nullopt;
    options.environment[u"LC_MESSAGES"] = std::nullopt;
    // A GTK critical is a fault of the caller: it ends the launcher, and the test sees it.
    options.environment[u"G_DEBUG"] = u"fatal-criticals";
}

}  // namespace zep::test
