#include "tests/cli/ProgramRun.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <thread>

namespace orvel::test {

namespace {

namespace fs = std::filesystem;

// Three files for the child's standard streams, in a folder of their own.
class StreamFiles {
public:
    StreamFiles() {
        char folder[] = "/tmp/orvel-run.XXXXXX";
        if (mkdtemp(folder) == nullptr)
            throw std::runtime_error("cannot make a folder for the program's output");
        folder_ = folder;
    }
    ~StreamFiles() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string path(const char* name) const { return folder_ + "/" + name; }

private:
    std::string folder_;
};

void redirect(const std::string& path, int flags, int stream) {
    const int file = open(path.c_str(), flags, 0600);
    if (file < 0 || dup2(file, stream) < 0)
        _exit(126);
    close(file);
}

// "NAME=value" strings for the child: this process's environment with the input's changes.
std::vector<std::string> childEnvironment(const std::map<std::string, std::string>& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (changes.count(text.substr(0, text.find('='))) == 0)
            entries.push_back(text);
    }
    for (const auto& [name, value] : changes) {
        if (!value.empty())
            entries.push_back(name + "=" + value);
    }
    return entries;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(&text[0]);
    pointers.push_back(nullptr);
    return pointers;
}

// Made before the fork: after it, the child only redirects and replaces itself.
struct Exec {
    std::vector<std::string> argumentTexts;
    std::vector<std::string> environmentTexts;
    std::vector<char*> argv;
    std::vector<char*> envp;
};

[[noreturn]] void execProgram(Exec& exec, bool withInput, const StreamFiles& files,
                              std::optional<unsigned> openFilesLimit) {
    redirect(withInput ? files.path("in") : "/dev/null", O_RDONLY, 0);
    redirect(files.path("out"), O_WRONLY | O_CREAT | O_TRUNC, 1);
    redirect(files.path("err"), O_WRONLY | O_CREAT | O_TRUNC, 2);
    if (openFilesLimit) {
        close_range(3, ~0U, 0);
        const rlimit limit{*openFilesLimit, *openFilesLimit};
        if (setrlimit(RLIMIT_NOFILE, &limit) != 0)
            _exit(126);
    }
    execve(exec.argv[0], exec.argv.data(), exec.envp.data());
    _exit(127);
}

int waitBounded(pid_t child) {
    const auto deadline = std::chrono::steady_clock::now() + kProgramTimeout;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0)
            return -1;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

ProgramRun runBounded(const ProgramInput& input, std::optional<unsigned> openFilesLimit) {
    const StreamFiles files;
    if (input.standardInput)
        writeBytes(files.path("in"), *input.standardInput);
    Exec exec;
    exec.argumentTexts.push_back(ORVEL_SETTINGS_PATH);
    exec.argumentTexts.insert(exec.argumentTexts.end(), input.arguments.begin(),
                              input.arguments.end());
    exec.environmentTexts = childEnvironment(input.environment);
    exec.argv = pointersTo(exec.argumentTexts);
    exec.envp = pointersTo(exec.environmentTexts);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("cannot start the program");
    if (child == 0)
        execProgram(exec, input.standardInput.has_value(), files, openFilesLimit);
    ProgramRun run;
    run.status = waitBounded(child);
    run.elapsed = std::chrono::steady_clock::now() - start;
    run.out = fileBytes(files.path("out"));
    run.err = fileBytes(files.path("err"));
    return run;
}

}  // namespace

std::string fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

ProgramRun runProgram(const ProgramInput& input) {
    return runBounded(input, std::nullopt);
}

ProgramRun runProgram(const ProgramInput& input, unsigned openFiles) {
    return runBounded(input, openFiles);
}

ProgramRun runProgram(const std::vector<std::string>& arguments) {
    return runProgram(ProgramInput{arguments, std::nullopt, {}});
}

}  // namespace orvel::test
