#include "launcher/launcher.h"

#include <stdexcept>
#include <string>

#include "discovery/find_java_runtime.h"
#include "launcher/application_files.h"
#include "launcher/options_file.h"
#include "notice/notice_text.h"
#include "notice/show_notice.h"
#include "platform/handle.h"
#include "platform/runtime_encoding.h"
#include "platform/trace.h"

namespace zep {
namespace {

namespace trace = platform::trace;

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
    trace.line("JVM library released");
}

Launcher::Launcher(const platform::System& reached, Messages& told, Program running, LaterStarts* later)
    : system(reached),
      messages(told),
      program(running),
      jvmModule(reached.trace),
      classArchive(reached),
      laterStarts(later) {}

bool Launcher::run(std::span<const std::u16string> arguments) {
    try {
        const std::vector<OptionsFile> files = readOptionsFiles(system);
        if (messages.collectsForBox()) installRuntimeHooks();
        apply(parseArguments(files, std::vector<std::u16string_view>(arguments.begin(), arguments.end())));
        if (handedOverToRunning()) return true;
        createJvm();
        listenForLaterStarts();
        invokeMain();
        return true;
    } catch (const std::runtime_error& error) {
        messages.fail(error.what(), failureDetails());
        return false;
    }
}

void Launcher::apply(ParsedLaunch parsed) {
    // A file of many stray lines gets one warning, not one a line: the
    // trace lists them all.
    const std::u16string* warnedIgnoring = nullptr;
    for (const ParsedOption& option : parsed.options) {
        system.trace.line([&] { return describe(option); });
        if (option.kind == ParsedOption::Kind::Ignored) {
            if (warnedIgnoring == nullptr || *warnedIgnoring != option.file) messages.warn(option.warning);
            warnedIgnoring = &option.file;
            continue;
        }
        if (option.kind != ParsedOption::Kind::Option) {
            messages.warn(option.warning);
            continue;
        }
        notice::applyLanguageOption(option.text, notice);
        if (!option.file.empty()) fileOptions.push_back(option);
        userOptionBytes.push_back(platform::toRuntimeEncoding(option.text));
        userOptions.push_back(option.text);
    }
    system.trace.line([&] {
        if (!parsed.commandWord) return std::string("no command word");
        return "command word " + trace::quoted(*parsed.commandWord) + ": " +
               (parsed.invalidCommand() ? std::string("no such command") : "class " + parsed.mainClass);
    });
    if (parsed.invalidCommand()) throw std::runtime_error("Invalid command.");
    system.trace.line([&] { return "program arguments: " + std::to_string(parsed.programArgs.size()); });
    commandWord = parsed.commandWord.value_or(std::u16string());
    mainClass = std::move(parsed.mainClass);
    programArgs = std::move(parsed.programArgs);
}

void Launcher::createJvm() {
    const trace::Stopwatch searching;
    jvmModule.found = discovery::findJavaRuntime(system);
    const std::optional<discovery::FoundRuntime>& found = jvmModule.found;
    system.trace.line([&] {
        return !found ? "no Java runtime found, after " + searching.elapsed()
                      : "runtime search chose " + trace::quoted(found->runtime.library) + " in " + searching.elapsed();
    });
    if (!found) {
        showJavaMissingNotice();
        throw std::runtime_error("Failed to find java install path");
    }
    // Loaded again, as the probe left it: what the search proved is that it
    // loaded then.
    const trace::Stopwatch loading;
    jvmModule.library = platform::RuntimeLibrary::load(found->runtime.library);
    const platform::RuntimeLibrary& library = jvmModule.library;
    system.trace.line([&] {
        return library ? "JVM library loaded in " + loading.elapsed()
                       : "JVM library does not load now: " + library.failure();
    });
    if (!library) {
        showJavaMissingNotice();
        throw std::runtime_error("Failed to load jvm.dll");
    }
    // The archive's options go ahead of the user's, whose own say about the
    // runtime's logs must stand.
    const ApplicationFiles application = findApplicationFiles(system, program);
    for (const std::string& option :
         classArchive.options(*found, application.archive, commandWord, userOptions, userOptionBytes)) {
        jvmOptions.append(option);
    }
    if (classArchive.makes()) watchExit();
    for (const std::string& option : userOptionBytes) jvmOptions.append(option);
    jvmOptions.append(application.classPath);
    jvmOptions.append(application.libraryPath);
    // Made or refused, the start is over when the call returns: a later end
    // of the process is no start's, and must not bring a second box up
    // beside the failure's own.
    const platform::ScopeExit over([this] {
        if (runtimeWords) runtimeWords->started();
    });
    machine = jvmhost::createMachine(library, jvmOptions, system.trace);
    classArchive.checkTaken();
}

bool Launcher::handedOverToRunning() {
    return laterStarts != nullptr && !mainClass.empty() && laterStarts->handOver(system, commandWord, programArgs);
}

void Launcher::listenForLaterStarts() {
    if (laterStarts != nullptr) laterStarts->listen(system.trace, machine.vm.get(), machine.env, mainClass);
}

void Launcher::invokeMain() {
    jvmhost::callMain(machine.env, mainClass, programArgs, system.trace, runtimeWords ? &mainException : nullptr);
}

void Launcher::showJavaMissingNotice() {
    const trace::Stopwatch shown;
    if (notice.body.empty()) notice::loadNoticeText(notice);
    notice::showRuntimeMissingNotice(notice);
    messages.noticeShown();
    system.trace.line([&] { return "runtime-missing notice closed after " + shown.elapsed(); });
}

void Launcher::installRuntimeHooks() {
    // Nobody reads this launcher's standard error: what the runtime says of a
    // failure is kept for the box, and a runtime that ends the process while
    // it starts still gets its box. The runtime takes its options in order
    // and complains of one as it reads it: the hooks come first.
    runtimeWords.emplace(system.trace, messages.alsoWrites(),
                         [this] { messages.fail("Create JVM failed.", failureDetails()); });
    jvmOptions.appendRuntimeHooks();
    system.trace.line("runtime hooks installed: vfprintf, exit, abort");
}

void Launcher::watchExit() {
    // The runtime writes the archive as it ends the process on the program's
    // System.exit too, and no code of the launcher's runs after that but the
    // exit hook.
    const auto keep = [this] { classArchive.keep(); };
    if (runtimeWords) {
        runtimeWords->alsoAtExit(keep);
        return;
    }
    exitWatch.emplace(keep);
    jvmOptions.appendExitHook();
    system.trace.line("runtime hook installed: exit");
}

std::u16string Launcher::failureDetails() const {
    if (!runtimeWords) return {};
    // What main's exception says of itself is the whole story: the runtime
    // only adds its own heading for it.
    if (!mainException.empty()) return mainException;
    const std::u16string said = platform::fromRuntimeEncoding(runtimeWords->text());
    constexpr std::u16string_view kBlanks = u" \t\r\n";
    const std::size_t first = said.find_first_not_of(kBlanks);
    if (first == std::u16string::npos) return {};
    std::u16string details = said.substr(first, said.find_last_not_of(kBlanks) + 1 - first);
    for (const ParsedOption& option : fileOptions) {
        if (details.find(option.text) == std::u16string::npos) continue;
        details += u"\n" + option.text + u": from " + option.file + u", line ";
        const std::string line = std::to_string(option.line);
        details.append(line.begin(), line.end());
    }
    return details;
}

}  // namespace zep
