#include <stdexcept>
#include <thread>

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
    for (const auto& [name, value] : options.environment) {
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

struct Handle {
    HANDLE value = nullptr;
    ~Handle() { close(); }
    void close() {
        if (value != nullptr && value != INVALID_HANDLE_VALUE) ::CloseHandle(value);
        value = nullptr;
    }
};

void drain(HANDLE pipe, std::string& sink) {
    char buffer[4096];
    DWORD count = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &count, nullptr) && count > 0) sink.append(buffer, count);
}

}  // namespace

ProcessResult runProgram(const std::u16string& program, const std::vector<std::u16string>& arguments,
                         const ProcessOptions& options) {
    std::u16string commandLine = quoteArgument(program);
    for (const auto& argument : arguments) commandLine += u" " + quoteArgument(argument);
    std::u16string environment = environmentBlock(options);

    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    Handle outRead, outWrite, errRead, errWrite, input;
    if (!::CreatePipe(&outRead.value, &outWrite.value, &inheritable, 0) ||
        !::CreatePipe(&errRead.value, &errWrite.value, &inheritable, 0)) {
        throw std::runtime_error("CreatePipe");
    }
    ::SetHandleInformation(outRead.value, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errRead.value, HANDLE_FLAG_INHERIT, 0);
    input.value = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                OPEN_EXISTING, 0, nullptr);

    // Only the three standard handles reach the child.
    HANDLE inherited[] = {input.value, outWrite.value, errWrite.value};
    SIZE_T attributeSize = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &attributeSize);
    std::vector<char> attributeStorage(attributeSize);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeStorage.data());
    ::InitializeProcThreadAttributeList(attributes, 1, 0, &attributeSize);
    ::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited, sizeof inherited,
                                nullptr, nullptr);

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input.value;
    startup.StartupInfo.hStdOutput = outWrite.value;
    startup.StartupInfo.hStdError = errWrite.value;
    startup.lpAttributeList = attributes;
    PROCESS_INFORMATION process{};
    const BOOL created = ::CreateProcessW(
        wide(program), const_cast<wchar_t*>(wide(commandLine)), nullptr, nullptr, TRUE,
        CREATE_UNICODE_ENVIRONMENT | EXTENDED_STARTUPINFO_PRESENT, environment.data(),
        options.workingDirectory.empty() ? nullptr : wide(options.workingDirectory), &startup.StartupInfo,
        &process);
    ::DeleteProcThreadAttributeList(attributes);
    if (!created) throw std::runtime_error("CreateProcessW failed with " + std::to_string(::GetLastError()));
    Handle processHandle{process.hProcess}, threadHandle{process.hThread};
    outWrite.close();
    errWrite.close();
    input.close();

    ProcessResult result;
    std::thread errReader(drain, errRead.value, std::ref(result.err));
    std::thread outReader(drain, outRead.value, std::ref(result.out));
    if (::WaitForSingleObject(process.hProcess, static_cast<DWORD>(options.timeout.count())) != WAIT_OBJECT_0) {
        result.timedOut = true;
        ::TerminateProcess(process.hProcess, 259);
        ::WaitForSingleObject(process.hProcess, INFINITE);
    }
    outReader.join();
    errReader.join();
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    result.exitCode = static_cast<int>(exitCode);
    return result;
}

std::u16string testProgramDirectory() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::u16string text = fromWide({path, length});
    return text.substr(0, text.find_last_of(u"\\/"));
}

std::u16string zepExecutable() { return testProgramDirectory() + u"\\..\\zep.exe"; }

}  // namespace zep::test
