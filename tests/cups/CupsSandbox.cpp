#include "tests/cups/CupsSandbox.h"

#include <cups/cups.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace orvel::test {

namespace {

namespace fs = std::filesystem;

constexpr char kScript[] = ORVEL_CUPS_SANDBOX_SCRIPT;
constexpr std::chrono::milliseconds kPollInterval{20};

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string unquoted(const std::string& value) {
    if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
        return value.substr(1, value.size() - 2);
    return value;
}

// Its own connection each time: the scheduler may have been restarted since the last call.
std::vector<SpooledJob> listJobs(const std::string& queue, int which) {
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC,
                                HTTP_ENCRYPTION_IF_REQUESTED, 1, 5000, nullptr);
    if (http == nullptr)
        throw std::runtime_error("the sandbox scheduler does not answer");
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(http, &jobs, queue.c_str(), 0, which);
    httpClose(http);
    if (count < 0)
        throw std::runtime_error(std::string("listing jobs failed: ") + cupsLastErrorString());
    std::vector<SpooledJob> listed;
    for (int i = 0; i < count; ++i)
        listed.push_back({jobs[i].id, jobs[i].title == nullptr ? "" : jobs[i].title});
    cupsFreeJobs(count, jobs);
    std::sort(listed.begin(), listed.end(),
              [](const SpooledJob& a, const SpooledJob& b) { return a.id < b.id; });
    return listed;
}

}  // namespace

std::string CupsSandbox::whyUnavailable() {
    if (geteuid() != 0)
        return "the private cupsd needs root";
    if (!fs::exists("/usr/sbin/cupsd"))
        return "cupsd is not installed";
    return {};
}

CupsSandbox::CupsSandbox() {
    // Short: the socket path must stay under 108 bytes.
    char folderTemplate[] = "/tmp/orvel.XXXXXX";
    if (mkdtemp(folderTemplate) == nullptr)
        throw std::runtime_error("cannot make the sandbox folder");
    folder_ = folderTemplate;
    pointEnvironmentHere();
}

CupsSandbox::~CupsSandbox() {
    try {
        if (running_)
            stop();
    } catch (const std::exception&) {
        // The watchdog stops the scheduler when this process ends.
    }
    for (const auto& [name, value] : savedEnvironment_) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
    cupsSetServer(nullptr);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

void CupsSandbox::run(const std::string& arguments) const {
    const std::string log = folder_ + "/harness.log";
    const std::string command =
        std::string(kScript) + " " + arguments + " </dev/null >>" + log + " 2>&1";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("cups-sandbox " + arguments + " failed:\n" + readFile(log));
}

// Takes the environment from the script, so that the layout of the folder is known in one place.
void CupsSandbox::pointEnvironmentHere() {
    const std::string command = std::string(kScript) + " env " + folder_;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        throw std::runtime_error("cannot run " + command);
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    if (pclose(pipe) != 0)
        throw std::runtime_error(command + " failed");

    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string verb;
        std::string assignment;
        words >> verb >> assignment;
        const auto equals = assignment.find('=');
        const std::string name = assignment.substr(0, equals);
        const char* old = std::getenv(name.c_str());
        savedEnvironment_.emplace_back(
            name, old == nullptr ? std::nullopt : std::optional<std::string>(old));
        if (verb == "export" && equals != std::string::npos)
            setenv(name.c_str(), unquoted(assignment.substr(equals + 1)).c_str(), 1);
        else if (verb == "unset")
            unsetenv(name.c_str());
    }
    // libcups keeps the server it found first; make it read the environment again.
    cupsSetServer(nullptr);
    cupsSetServer(std::getenv("CUPS_SERVER"));
}

void CupsSandbox::start() {
    run("start " + folder_ + " --watch " + std::to_string(getpid()));
    running_ = true;
}

void CupsSandbox::stop() {
    running_ = false;
    run("stop " + folder_);
}

void CupsSandbox::addQueue(const std::string& name, bool makeDefault) {
    run("add-queue " + folder_ + " " + name + (makeDefault ? " --default" : ""));
}

void CupsSandbox::disableQueue(const std::string& name) {
    run("disable-queue " + folder_ + " " + name);
}

std::vector<SpooledJob> CupsSandbox::completedJobs(const std::string& queue) const {
    return listJobs(queue, CUPS_WHICHJOBS_COMPLETED);
}

std::vector<SpooledJob> CupsSandbox::activeJobs(const std::string& queue) const {
    return listJobs(queue, CUPS_WHICHJOBS_ACTIVE);
}

std::vector<SpooledJob> CupsSandbox::waitForCompletedJobs(const std::string& queue,
                                                          size_t count) const {
    const auto deadline = std::chrono::steady_clock::now() + kJobTimeout;
    std::vector<SpooledJob> completed = completedJobs(queue);
    while (completed.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kPollInterval);
        completed = completedJobs(queue);
    }
    return completed;
}

std::vector<Bytes> CupsSandbox::capturedJobs(const std::string& queue) const {
    const fs::path captureFolder = fs::path(folder_) / "capture" / queue;
    std::vector<std::pair<int, fs::path>> files;
    if (fs::exists(captureFolder)) {
        for (const auto& entry : fs::directory_iterator(captureFolder)) {
            // Only complete jobs: the backend renames a job into place when it has all of it.
            if (entry.path().extension() == ".raw")
                files.emplace_back(std::stoi(entry.path().stem().string()), entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<Bytes> captured;
    for (const auto& file : files)
        captured.push_back(readFile(file.second));
    return captured;
}

}  // namespace orvel::test
