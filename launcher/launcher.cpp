#include "launcher/launcher.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "discovery/find_java_runtime.h"
#include "launcher/options_file.h"
#include "notice/notice_text.h"
#include "notice/show_notice.h"
#include "platform/runtime_text.h"
#include "platform/trace.h"
#include "resources/help_address.h"

namespace zep {
namespace {

namespace trace = platform::trace;

// Both relative: the machine resolves them against the current directory,
// which the launcher never changes.
constexpr const char* kFixedOptions[] = {"-Djava.class.path=zep.jar", "-Djava.library.path=."};

// `option "-Xmx64m" ("/opt/zep/zep.vmoptions":2)`: what became of it, and
// where it came from.
std::string describe(const ParsedOption& option) {
    const std::string source = option.file.empty() ? std::string("command line")
                                                   : trace::quoted(option.file) + ":" + std::to_string(option.line);
    switch (option.kind) {
    case ParsedOption::Kind::Option:
        return "option " + trace::quoted(option.text) + " (" + source + ")";
    case ParsedOption::Kind::Refused:
        return "option " + trace::quoted(option.text) + " (" + source + ") refused";
    case ParsedOption::Kind::Ignored:
        break;
    }
    return "line " + trace::quoted(option.text) + " (" + source + ") is no option: ignored";
}

}  // namespace

LoadedRuntime::~LoadedRuntime() {
    if (!library) return;
    library.reset();
    trace::line("JVM library released");
}

Launcher::Launcher(Messages& told) : messages(told), helpUrl(kDefaultHelpUrl) {}

bool Launcher::run(int argc, const char16_t* const argv[]) {
    try {
        const std::vector<OptionsFile> files = readOptionsFiles();
        const std::vector<std::u16string_view> arguments(argv + std::min(argc, 1), argv + argc);
        apply(parseArguments(files, arguments));
        for (const char* option : kFixedOptions) jvmOptions.append(option);
        createJvm();
        invokeMain();
        return true;
    } catch (const std::runtime_error& error) {
        messages.fail(error.what());
        return false;
    }
}

void Launcher::apply(ParsedLaunch parsed) {
    // A file of many stray lines gets one warning, not one a line: the
    // trace lists them all.
    const std::u16string* warnedIgnoring = nullptr;
    for (const ParsedOption& option : parsed.options) {
        trace::line([&] { return describe(option); });
        if (option.kind == ParsedOption::Kind::Ignored) {
            if (warnedIgnoring == nullptr || *warnedIgnoring != option.file) messages.warn(option.warning);
            warnedIgnoring = &option.file;
            continue;
        }
        if (option.kind != ParsedOption::Kind::Option) {
            messages.warn(option.warning);
            continue;
        }
        notice::applyLanguageOption(option.text, noticeText, helpUrl);
        jvmOptions.append(platform::toRuntimeEncoding(option.text));
    }
    trace::line([&] {
        if (!parsed.commandWord) return std::string("no command word");
        return "command word " + trace::quoted(*parsed.commandWord) + ": " +
               (parsed.invalidCommand() ? std::string("no such command") : "class " + parsed.mainClass);
    });
    if (parsed.invalidCommand()) throw std::runtime_error("Invalid command.");
    trace::line([&] { return "program arguments: " + std::to_string(parsed.programArgs.size()); });
    mainClass = std::move(parsed.mainClass);
    programArgs = std::move(parsed.programArgs);
}

void Launcher::createJvm() {
    const trace::Stopwatch searching;
    const std::optional<std::u16string> path = findJavaRuntime();
    trace::line([&] {
        return !path ? "no Java runtime found, after " + searching.elapsed()
                     : "runtime search chose " + trace::quoted(*path) + " in " + searching.elapsed();
    });
    if (!path) {
        showJavaMissingNotice();
        throw std::runtime_error("Failed to find java install path");
    }
    const trace::Stopwatch loading;
    jvmModule.library = platform::RuntimeLibrary::load(*path);
    const platform::RuntimeLibrary& library = jvmModule.library;
    trace::line([&] {
        return library ? "JVM library loaded in " + loading.elapsed()
                       : "JVM library does not load now: " + library.failure();
    });
    if (!library) {
        showJavaMissingNotice();
        throw std::runtime_error("Failed to load jvm.dll");
    }
    machine = jvmhost::createMachine(library, jvmOptions);
}

void Launcher::invokeMain() { jvmhost::callMain(machine.env, mainClass, programArgs); }

void Launcher::showJavaMissingNotice() {
    const trace::Stopwatch shown;
    if (noticeText.empty()) notice::loadNoticeText(noticeText, helpUrl);
    notice::showRuntimeMissingNotice(noticeText, helpUrl);
    messages.noticeShown();
    trace::line([&] { return "runtime-missing notice closed after " + shown.elapsed(); });
}

}  // namespace zep
