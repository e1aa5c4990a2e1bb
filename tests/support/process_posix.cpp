#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <stdexcept>
#include <thread>

#include "platform/text.h"
#include "tests/support/process.h"

extern char** environ;

namespace zep::test {

using platform::encodeLossless;

namespace {

constexpr char kNoUserSettings[] = "/nonexistent/user-settings";

std::vector<std::string> childEnvironment(const ProcessOptions& options) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const auto equals = text.find('=');
        if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    variables.erase("QRVN_ZEP_TRACE");
    variables["XDG_CONFIG_HOME"] = kNoUserSettings;
    for (const auto& [name, value] : options.environment) {
        if (value) {
            variables[encodeLossless(name)] = encodeLossless(*value);
        } else {
            variables.erase(encodeLossless(name));
        }
    }
    std::vector<std::string> result;
    for (const auto& [name, value] : variables) result.push_back(name + "=" + value);
    return result;
}

// Reads a pipe to its end; after `stop` it only drains what is already there,
// so that a grandchild holding the pipe open cannot hold the test.
void drain(int fd, std::string& sink, const std::atomic<bool>& stop) {
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, 50);
        if (ready < 0 && errno != EINTR) break;
        if (ready <= 0) {
            if (stop) break;
            continue;
        }
        char buffer[4096];
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0) break;
        sink.append(buffer, static_cast<std::size_t>(count));
    }
    close(fd);
}

// A pseudo-terminal as a pipe: [0] the side the test reads, [1] the child's.
// Reading the first side ends in an error once the child's side is closed.
void openTerminal(int ends[2]) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) throw std::runtime_error("pseudo-terminal");
    char name[64];
    if (ptsname_r(master, name, sizeof name) != 0) throw std::runtime_error("pseudo-terminal");
    const int slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios mode{};
    if (slave < 0 || tcgetattr(slave, &mode) != 0) throw std::runtime_error("pseudo-terminal");
    mode.c_oflag &= ~static_cast<tcflag_t>(OPOST);  // a line feed stays a line feed
    tcsetattr(slave, TCSANOW, &mode);
    ends[0] = master;
    ends[1] = slave;
}

// ZEP_TEST_LAUNCHER_WRAPPER: a command, its words separated by blanks, that
// every start of the launcher under test goes through. The memory check runs
// the black-box tests so, under valgrind.
std::vector<std::string> launcherWrapper() {
    std::vector<std::string> words;
    const char* value = getenv("ZEP_TEST_LAUNCHER_WRAPPER");
    std::string_view rest = value != nullptr ? value : "";
    while (!rest.empty()) {
        const std::size_t blank = rest.find(' ');
        if (blank != 0) words.emplace_back(rest.substr(0, blank));
        if (blank == std::string_view::npos) break;
        rest.remove_prefix(blank + 1);
    }
    return words;
}

}  // namespace

struct RunningProgram::State {
    pid_t pid = -1;
    bool reaped = false;
    int status = 0;
    ProcessResult result;
    std::atomic<bool> stop{false};
    std::thread outReader, errReader;
};

RunningProgram::RunningProgram(std::unique_ptr<State> state) : state_(std::move(state)) {}
RunningProgram::RunningProgram(RunningProgram&&) noexcept = default;
RunningProgram& RunningProgram::operator=(RunningProgram&&) noexcept = default;

RunningProgram::~RunningProgram() {
    if (state_ && !state_->reaped) finish(std::chrono::milliseconds(0));
}

bool RunningProgram::running() {
    if (state_->reaped) return false;
    if (waitpid(state_->pid, &state_->status, WNOHANG) == state_->pid) state_->reaped = true;
    return !state_->reaped;
}

unsigned long RunningProgram::id() const { return static_cast<unsigned long>(state_->pid); }

ProcessResult RunningProgram::finish(std::chrono::milliseconds timeout) {
    State& state = *state_;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            state.result.timedOut = true;
            kill(state.pid, SIGKILL);
            waitpid(state.pid, &state.status, 0);
            state.reaped = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    state.stop = true;
    if (state.outReader.joinable()) state.outReader.join();
    if (state.errReader.joinable()) state.errReader.join();
    state.result.exitCode = WIFEXITED(state.status) ? WEXITSTATUS(state.status) : 128 + WTERMSIG(state.status);
    return state.result;
}

RunningProgram startProgram(const std::u16string& program, const std::vector<std::u16string>& arguments,
                            const ProcessOptions& options) {
    std::vector<std::string> argStorage = program == zepExecutable() ? launcherWrapper() : std::vector<std::string>{};
    argStorage.push_back(encodeLossless(program));
    for (const auto& argument : arguments) argStorage.push_back(encodeLossless(argument));
    std::vector<char*> argv;
    for (auto& argument : argStorage) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStorage = childEnvironment(options);
    std::vector<char*> envp;
    for (auto& entry : envStorage) envp.push_back(entry.data());
    envp.push_back(nullptr);
    const std::string directory = encodeLossless(options.workingDirectory);

    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    if (options.standardError == ProcessOptions::StandardError::Terminal) {
        openTerminal(errPipe);
    } else if (pipe2(errPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe");
    }
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
        dup2(outPipe[1], STDOUT_FILENO);
        switch (options.standardError) {
        case ProcessOptions::StandardError::None:
            close(STDERR_FILENO);
            break;
        case ProcessOptions::StandardError::BrokenPipe: {
            int broken[2];
            if (pipe(broken) != 0) _exit(125);
            close(broken[0]);
            dup2(broken[1], STDERR_FILENO);
            close(broken[1]);
            break;
        }
        default:
            dup2(errPipe[1], STDERR_FILENO);
        }
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, STDIN_FILENO);
        if (!directory.empty() && chdir(directory.c_str()) != 0) _exit(126);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    auto state = std::make_unique<RunningProgram::State>();
    state->pid = pid;
    state->outReader = std::thread(drain, outPipe[0], std::ref(state->result.out), std::cref(state->stop));
    state->errReader = std::thread(drain, errPipe[0], std::ref(state->result.err), std::cref(state->stop));
    return RunningProgram(std::move(state));
}

std::u16string testProgramDirectory() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) throw std::runtime_error("cannot locate the test program");
    std::string text(path, static_cast<std::size_t>(length));
    return platform::utf8ToUtf16(text.substr(0, text.rfind('/')));
}

std::u16string zepExecutable() { return testProgramDirectory() + u"/../zep"; }
std::u16string zepwExecutable() { return testProgramDirectory() + u"/../zepw"; }

std::u16string userOptionsFile() { return platform::utf8ToUtf16(kNoUserSettings) + u"/gridmere/zep.vmoptions"; }

}  // namespace zep::test
