#include "tests/windows/window/WineDesktop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace orvel::test {

namespace {

using namespace std::chrono_literals;

constexpr char kXvfb[] = "/usr/bin/Xvfb";
constexpr char kXdotool[] = "/usr/bin/xdotool";
constexpr char kImport[] = "import";
constexpr char kProbe[] = ORVEL_WINDOW_PROBE;
constexpr auto kServerStartTimeout = 10s;
constexpr auto kToolTimeout = 15s;

// Forks a child in a group of its own, killed when this process dies; -1 when it can't.
pid_t spawn(std::vector<std::string> arguments, const Environment& environment,
            const std::string& workingFolder, int keepFd = -1) {
    std::vector<std::string> variables = childEnvironment(environment);
    std::vector<char*> argv = pointersTo(arguments);
    std::vector<char*> envp = pointersTo(variables);
    const pid_t caller = getpid();
    const pid_t child = fork();
    if (child != 0)
        return child;
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != caller)
        _exit(127);
    const int nothing = open("/dev/null", O_RDWR);
    dup2(nothing, STDIN_FILENO);
    dup2(nothing, STDOUT_FILENO);
    dup2(nothing, STDERR_FILENO);
    if (keepFd >= 0)
        fcntl(keepFd, F_SETFD, 0);
    if (!workingFolder.empty() && chdir(workingFolder.c_str()) != 0)
        _exit(127);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
}

void endGroup(pid_t child) {
    kill(-child, SIGKILL);
    waitpid(child, nullptr, 0);
}

ProcessResult runTool(const std::vector<std::string>& arguments, const Environment& environment) {
    ProcessRequest request;
    request.arguments = arguments;
    request.environment = environment;
    request.timeout = kToolTimeout;
    return BoundedProcess::run(request);
}

std::string toolPath(const char* name) {
    for (const char* folder : {"/usr/bin/", "/usr/local/bin/"}) {
        const std::string path = std::string(folder) + name;
        if (access(path.c_str(), X_OK) == 0)
            return path;
    }
    return name;
}

}  // namespace

std::string XServer::whyUnavailable() {
    for (const char* tool : {kXvfb, kXdotool}) {
        if (access(tool, X_OK) != 0)
            return std::string("no ") + tool + " (tools/setup.sh installs it)";
    }
    return {};
}

XServer::XServer() {
    int ready[2];
    if (pipe(ready) != 0)
        throw std::runtime_error("cannot make a pipe for Xvfb");
    // Xvfb picks the first free display itself and writes its number on the pipe.
    server_ =
        spawn({kXvfb, "-displayfd", std::to_string(ready[1]), "-screen", "0",
               std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24", "-nolisten", "tcp"},
              {}, "/", ready[1]);
    close(ready[1]);
    std::string number;
    const auto end = std::chrono::steady_clock::now() + kServerStartTimeout;
    while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < end) {
        pollfd wait{ready[0], POLLIN, 0};
        if (poll(&wait, 1, 100) <= 0)
            continue;
        char buffer[16];
        const ssize_t count = read(ready[0], buffer, sizeof buffer);
        if (count <= 0)
            break;
        number.append(buffer, static_cast<size_t>(count));
    }
    close(ready[0]);
    if (number.find('\n') == std::string::npos) {
        if (server_ > 0)
            endGroup(server_);
        throw std::runtime_error("Xvfb did not start");
    }
    display_ = ":" + number.substr(0, number.find('\n'));
}

XServer::~XServer() {
    if (server_ > 0)
        endGroup(server_);
}

BackgroundProgram::BackgroundProgram(const std::vector<std::string>& arguments,
                                     const Environment& environment,
                                     const std::string& workingFolder)
    : child_(spawn(arguments, environment, workingFolder)) {
    if (child_ < 0)
        throw std::runtime_error("cannot start " + arguments.front());
}

BackgroundProgram::~BackgroundProgram() {
    if (!ended_)
        endGroup(child_);
}

bool BackgroundProgram::running() {
    if (ended_)
        return false;
    if (waitpid(child_, nullptr, WNOHANG) == child_)
        ended_ = true;
    return !ended_;
}

bool BackgroundProgram::waitForExit(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (running()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

std::string valueOf(const ProbeReading& reading, const std::string& name) {
    const auto found = reading.find(name);
    return found == reading.end() ? std::string() : found->second;
}

ScreenRect parseRect(const std::string& text) {
    ScreenRect rect;
    char comma = 0;
    std::istringstream in(text);
    in >> rect.left >> comma >> rect.top >> comma >> rect.right >> comma >> rect.bottom;
    return rect;
}

WineDesktop::WineDesktop() {
    x_ = std::make_unique<XServer>();
    // On a fresh server the pointer stands at the screen's centre, where the window will be: it
    // would get a move it did not ask for.
    moveTo(1, 1);
    prefix_ = std::make_unique<WinePrefix>(x_->display());
}

std::unique_ptr<BackgroundProgram> WineDesktop::start(const std::string& program) const {
    const std::string folder = program.substr(0, program.find_last_of('/'));
    return std::make_unique<BackgroundProgram>(
        std::vector<std::string>{WinePrefix::loaderPath(), program}, prefix_->environment(),
        folder);
}

ProbeReading WineDesktop::probe() const {
    const ProcessResult result = prefix_->run(kProbe, {});
    ProbeReading reading;
    std::istringstream lines(result.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            reading[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return reading;
}

void WineDesktop::x(const std::vector<std::string>& commands) const {
    std::vector<std::string> arguments{kXdotool};
    arguments.insert(arguments.end(), commands.begin(), commands.end());
    const ProcessResult result = runTool(arguments, {{"DISPLAY", x_->display()}});
    if (result.exitCode != 0)
        throw std::runtime_error("xdotool failed: " + result.err);
}

void WineDesktop::moveTo(int x, int y) const {
    this->x({"mousemove", "--sync", std::to_string(x), std::to_string(y)});
}

void WineDesktop::clickAt(int x, int y) const {
    // A press held a moment, as a hand gives it: wine follows a press on a window's frame
    // buttons in a loop of its own, which a release at the same instant passes by.
    this->x({"mousemove", "--sync", std::to_string(x), std::to_string(y), "mousedown", "1", "sleep",
             "0.1", "mouseup", "1"});
}

void WineDesktop::chord(const std::string& modifier, const std::string& key) const {
    x({"keydown", modifier, "key", key, "keyup", modifier});
}

void WineDesktop::key(const std::string& key) const {
    x({"key", key});
}

std::string WineDesktop::pixels(const ScreenRect& rect) const {
    const std::string geometry = std::to_string(rect.width()) + "x" +
                                 std::to_string(rect.height()) + "+" + std::to_string(rect.left) +
                                 "+" + std::to_string(rect.top);
    const ProcessResult result =
        runTool({toolPath(kImport), "-window", "root", "-crop", geometry, "-depth", "8", "rgb:-"},
                {{"DISPLAY", x_->display()}});
    return result.out;
}

void WineDesktop::screenshot(const std::string& path) const {
    runTool({toolPath(kImport), "-window", "root", path}, {{"DISPLAY", x_->display()}});
}

void WineDesktop::screenshot(const std::string& path, const ScreenRect& rect) const {
    const std::string geometry = std::to_string(rect.width()) + "x" +
                                 std::to_string(rect.height()) + "+" + std::to_string(rect.left) +
                                 "+" + std::to_string(rect.top);
    runTool({toolPath(kImport), "-window", "root", "-crop", geometry, "+repage", path},
            {{"DISPLAY", x_->display()}});
}

std::string picturePixels(const std::string& path) {
    return runTool({toolPath("convert"), path, "-depth", "8", "rgb:-"}, {}).out;
}

}  // namespace orvel::test
