#include "tests/windows/BoundedProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace orvel::test {

namespace {

using Clock = std::chrono::steady_clock;

// Runs in the forked child: only calls that are safe between fork and exec.
[[noreturn]] void becomeProgram(const ProcessRequest& request, pid_t caller, int outFd, int errFd,
                                char* const* arguments, char* const* environment) {
    setpgid(0, 0);
    // Killed when the caller dies: nobody would be left to end it at its deadline. A caller that
    // died before this line could not ask for it any more.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != caller)
        _exit(127);
    const int nothing = open("/dev/null", O_RDWR);
    dup2(nothing, STDIN_FILENO);
    dup2(outFd < 0 ? nothing : outFd, STDOUT_FILENO);
    dup2(errFd < 0 ? nothing : errFd, STDERR_FILENO);
    if (!request.workingFolder.empty() && chdir(request.workingFolder.c_str()) != 0)
        _exit(127);
    execve(arguments[0], arguments, environment);
    _exit(127);
}

void keep(std::string& into, const char* bytes, ssize_t count) {
    const size_t room =
        BoundedProcess::kMaxOutputBytes - std::min(into.size(), BoundedProcess::kMaxOutputBytes);
    into.append(bytes, std::min(room, static_cast<size_t>(count)));
}

// Reads what is there without waiting; false once the pipe is closed.
bool drain(int fd, std::string& into) {
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count > 0) {
            keep(into, buffer, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        return count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

// Whether the child has ended; records its status when it has.
bool reaped(pid_t child, ProcessResult& result) {
    int status = 0;
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done != child)
        return false;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

}  // namespace

// The child's environment: this process's, changed as asked.
std::vector<std::string> childEnvironment(const Environment& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (changes.count(name) == 0)
            entries.push_back(text);
    }
    for (const auto& [name, value] : changes) {
        if (value)
            entries.push_back(name + "=" + *value);
    }
    return entries;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

ProcessResult BoundedProcess::run(const ProcessRequest& request) {
    ProcessResult result;
    int outPipe[2] = {-1, -1};
    int errPipe[2] = {-1, -1};
    if (request.captureOutput &&
        (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)) {
        result.err = "cannot make pipes";
        return result;
    }
    std::vector<std::string> argumentTexts = request.arguments;
    std::vector<std::string> environmentTexts = childEnvironment(request.environment);
    std::vector<char*> arguments = pointersTo(argumentTexts);
    std::vector<char*> environment = pointersTo(environmentTexts);

    const pid_t caller = getpid();
    const pid_t child = fork();
    if (child < 0) {
        result.err = "cannot fork";
        return result;
    }
    if (child == 0)
        becomeProgram(request, caller, outPipe[1], errPipe[1], arguments.data(),
                      environment.data());
    // The group is the child's own from its first instruction on, whichever of the two runs
    // first: a kill of the group can reach nothing but the child and what it started.
    setpgid(child, child);

    const auto deadline = Clock::now() + request.timeout;
    bool ended = false;
    if (request.captureOutput) {
        close(outPipe[1]);
        close(errPipe[1]);
        fcntl(outPipe[0], F_SETFL, O_NONBLOCK);
        fcntl(errPipe[0], F_SETFL, O_NONBLOCK);
        bool outOpen = true;
        bool errOpen = true;
        // A daemon that the program started may hold the pipes open long after it has ended:
        // the end is the program's exit, not the pipes' closing.
        while (!(ended = reaped(child, result)) && Clock::now() < deadline) {
            pollfd fds[2] = {{outOpen ? outPipe[0] : -1, POLLIN, 0},
                             {errOpen ? errPipe[0] : -1, POLLIN, 0}};
            poll(fds, 2, 20);
            if (outOpen)
                outOpen = drain(outPipe[0], result.out);
            if (errOpen)
                errOpen = drain(errPipe[0], result.err);
        }
    } else {
        while (!(ended = reaped(child, result)) && Clock::now() < deadline)
            usleep(20000);
    }
    if (!ended) {
        // Still unreaped, so the group is still the one this call made.
        result.timedOut = true;
        kill(-child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    if (request.captureOutput) {
        drain(outPipe[0], result.out);
        drain(errPipe[0], result.err);
        close(outPipe[0]);
        close(errPipe[0]);
    }
    return result;
}

}  // namespace orvel::test
