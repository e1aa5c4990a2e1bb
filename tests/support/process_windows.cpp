#include <cstdio>
#include <stdexcept>
#include <utility>

#include "platform/handle.h"
#include "platform/text.h"
#include "platform/windows/win32.h"
#include "tests/support/process.h"

namespace zep::test {
namespace {

using platform::fromWide;
using platform::wide;

// Quotes one argument so that the C runtime's command-line parser gives it back unchanged.
std::u16string quoteArgument(const std::u16string& argument) {
    if (!argument.empty() && argument.find_first_of(u" \t\n\v\"") == std::u16string::npos) return argument;
    std::u16string quoted = u"\"";
    std::size_t backslashes = 0;
    for (char16_t unit : argument) {
        if (unit == u'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(unit == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
        backslashes = 0;
        quoted.push_back(unit);
    }
    quoted.append(2 * backslashes, u'\\');
    quoted.push_back(u'"');
    return quoted;
}

char16_t upper(char16_t unit) {
    return (unit >= u'a' && unit <= u'z') ? static_cast<char16_t>(unit - (u'a' - u'A')) : unit;
}

bool sameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i])) return false;
    }
    return true;
}

std::u16string environmentBlock(const ProcessOptions& options) {
    std::vector<std::u16string> entries;
    wchar_t* strings = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
        entries.push_back(fromWide(entry));
    }
    ::FreeEnvironmentStringsW(strings);
    std::map<std::u16string, std::optional<std::u16string>> changes = {{u"QRVN_ZEP_TRACE", std::nullopt}};
    for (const auto& [name, value] : options.environment) changes[name] = value;
    for (const auto& [name, value] : changes) {
        // Names are matched without regard to case, as Windows does; the
        // "=C:" entries, whose names begin with '=', are never touched.
        std::erase_if(entries, [&](const std::u16string& entry) {
            const auto equals = entry.find(u'=', 1);
            return equals != std::u16string::npos && sameName(std::u16string_view(entry).substr(0, equals), name);
        });
        if (value) entries.push_back(name + u"=" + *value);
    }
    std::u16string block;
    for (const auto& entry : entries) block += entry + u'\0';
    block += u'\0';
    return block;
}

// A kernel object's handle: a process, a thread, a pipe, a file.
struct KernelHandleTraits {
    using pointer = HANDLE;
    static constexpr pointer invalid() noexcept { return nullptr; }
    static bool isValid(pointer handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    void close(pointer handle) const noexcept { ::CloseHandle(handle); }
};
using Handle = platform::UniqueHandle<KernelHandleTraits>;

struct Reader {
    HANDLE pipe;
    std::string* sink;
};

DWORD WINAPI drain(void* parameter) {
    const auto* reader = static_cast<Reader*>(parameter);
    char buffer[4096];
    DWORD count = 0;
    while (::ReadFile(reader->pipe, buffer, sizeof buffer, &count, nullptr) && count > 0) {
        reader->sink->append(buffer, count);
    }
    return 0;
}

}  // namespace

struct RunningProgram::State {
    Handle process, outRead, errRead;
    Handle outThread, errThread;
    Reader outReader{}, errReader{};
    DWORD id = 0;
    bool finished = false;
    ProcessResult result;
};

RunningProgram::RunningProgram(std::unique_ptr<State> state) : state_(std::move(state)) {}
RunningProgram::RunningProgram(RunningProgram&&) noexcept = default;
RunningProgram& RunningProgram::operator=(RunningProgram&&) noexcept = default;

RunningProgram::~RunningProgram() {
    if (state_ && !state_->finished) finish(std::chrono::milliseconds(0));
}

bool RunningProgram::running() { return ::WaitForSingleObject(state_->process.get(), 0) == WAIT_TIMEOUT; }

unsigned long RunningProgram::id() const { return state_->id; }

ProcessResult RunningProgram::finish(std::chrono::milliseconds timeout) {
    State& state = *state_;
    state.finished = true;
    if (::WaitForSingleObject(state.process.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        state.result.timedOut = true;
        ::TerminateProcess(state.process.get(), 259);
        ::WaitForSingleObject(state.process.get(), INFINITE);
    }
    // A process the child started may still hold a pipe; it gets a moment,
    // then the read is cancelled.
    for (Handle* thread : {&state.outThread, &state.errThread}) {
        if (::WaitForSingleObject(thread->get(), 2000) != WAIT_OBJECT_0) {
            ::CancelSynchronousIo(thread->get());
            ::WaitForSingleObject(thread->get(), INFINITE);
        }
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(state.process.get(), &exitCode);
    state.result.exitCode = static_cast<int>(exitCode);
    return state.result;
}

RunningProgram startProgram(const std::u16string& program, const std::vector<std::u16string>& arguments,
                            const ProcessOptions& options) {
    std::u16string commandLine = quoteArgument(program);
    for (const auto& argument : arguments) {
        commandLine += u' ';
        commandLine += options.verbatimArguments ? argument : quoteArgument(argument);
    }
    std::u16string environment = environmentBlock(options);

    auto state = std::make_unique<RunningProgram::State>();
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    Handle outWrite, errWrite;
    for (auto [read, write] : {std::pair{&state->outRead, &outWrite}, std::pair{&state->errRead, &errWrite}}) {
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) throw std::runtime_error("CreatePipe");
        read->reset(readEnd);
        write->reset(writeEnd);
        ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    }
    const Handle input(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                     OPEN_EXISTING, 0, nullptr));

    // A pipe closed at the far end: every write into it fails.
    Handle brokenWrite;
    if (options.standardError == ProcessOptions::StandardError::BrokenPipe) {
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) throw std::runtime_error("CreatePipe");
        ::CloseHandle(readEnd);
        brokenWrite.reset(writeEnd);
    }
    HANDLE childError = errWrite.get();
    if (options.standardError == ProcessOptions::StandardError::None) childError = nullptr;
    if (brokenWrite) childError = brokenWrite.get();

    // Only the standard handles reach the child.
    std::vector<HANDLE> inherited = {input.get(), outWrite.get()};
    if (childError != nullptr) inherited.push_back(childError);
    SIZE_T attributeSize = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &attributeSize);
    std::vector<char> attributeStorage(attributeSize);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeStorage.data());
    ::InitializeProcThreadAttributeList(attributes, 1, 0, &attributeSize);
    ::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited.data(),
                                inherited.size() * sizeof(HANDLE), nullptr, nullptr);

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input.get();
    startup.StartupInfo.hStdOutput = outWrite.get();
    startup.StartupInfo.hStdError = childError;
    startup.lpAttributeList = attributes;
    PROCESS_INFORMATION process{};
    // A start that the system refuses never reached the program, and is tried
    // once more: under Wine it now and then fails for no reason of the
    // program's. Each such retry is said on standard error.
    BOOL created = FALSE;
    for (int attempt = 1; attempt <= 2 && !created; ++attempt) {
        created = ::CreateProcessW(wide(program), const_cast<wchar_t*>(wide(commandLine)), nullptr, nullptr, TRUE,
                                   CREATE_UNICODE_ENVIRONMENT | EXTENDED_STARTUPINFO_PRESENT, environment.data(),
                                   options.workingDirectory.empty() ? nullptr : wide(options.workingDirectory),
                                   &startup.StartupInfo, &process);
        if (!created && attempt == 1) {
            std::fprintf(stderr, "process helper: CreateProcessW of %s failed with %lu; starting it again\n",
                         platform::utf16ToUtf8(program).c_str(), ::GetLastError());
        }
    }
    const DWORD error = ::GetLastError();
    ::DeleteProcThreadAttributeList(attributes);
    if (!created) throw std::runtime_error("CreateProcessW failed with " + std::to_string(error));
    state->process.reset(process.hProcess);
    state->id = process.dwProcessId;
    ::CloseHandle(process.hThread);

    state->outReader = {state->outRead.get(), &state->result.out};
    state->errReader = {state->errRead.get(), &state->result.err};
    state->outThread.reset(::CreateThread(nullptr, 0, drain, &state->outReader, 0, nullptr));
    state->errThread.reset(::CreateThread(nullptr, 0, drain, &state->errReader, 0, nullptr));
    return RunningProgram(std::move(state));
}

std::u16string testProgramDirectory() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::u16string text = fromWide({path, length});
    return text.substr(0, text.find_last_of(u"\\/"));
}

std::u16string zepExecutable() { return testProgramDirectory() + u"\\..\\zep.exe"; }
std::u16string zepwExecutable() { return testProgramDirectory() + u"\\..\\zepw.exe"; }

std::u16string userOptionsFile() {
    wchar_t* roaming = nullptr;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming))) {
        throw std::runtime_error("no roaming application data folder");
    }
    const std::u16string folder = fromWide(roaming);
    ::CoTaskMemFree(roaming);
    return folder + u"\\Gridmere\\zep.vmoptions";
}

}  // namespace zep::test
