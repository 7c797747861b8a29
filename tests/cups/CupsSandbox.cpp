#include "tests/cups/CupsSandbox.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace orvel::test {

namespace {

namespace fs = std::filesystem;

constexpr char kScript[] = ORVEL_CUPS_SANDBOX_SCRIPT;
constexpr std::chrono::milliseconds kPollInterval{20};
// No job of the utility comes near this; the backend keeps nothing bigger.
constexpr off_t kMaxCaptureBytes = 16 * 1024 * 1024;

// What runs the script as root: nothing for root; sudo for anybody else, as the demo runs it,
// never asking for a password (tools/test.sh asks once, at its start).
std::string asRoot() {
    return geteuid() == 0 ? "" : "sudo -n ";
}

// Runs a command and returns what it printed, or nothing when it failed.
std::optional<std::string> outputOf(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return std::nullopt;
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    if (pclose(pipe) != 0)
        return std::nullopt;
    return output;
}

std::string withoutLineEnd(std::string text) {
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A capture as the backend writes it, in its own file: never through a link, and only while it
// is a plain file of a sensible size.
Bytes readCapture(const fs::path& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open the capture " + path.string());
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > kMaxCaptureBytes) {
        close(fd);
        throw std::runtime_error("not a plain capture file: " + path.string());
    }
    Bytes bytes(static_cast<size_t>(status.st_size), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    close(fd);
    bytes.resize(done);
    return bytes;
}

// Job N is N.raw; when cupsd reused an id whose capture was still there, the backend kept the
// later job as N-1.raw, N-2.raw ... Anything else in the folder is not a capture.
std::optional<std::pair<long, long>> captureOrder(const std::string& fileName) {
    static const std::regex kName(R"(([0-9]{1,9})(?:-([0-9]{1,4}))?\.raw)");
    std::smatch parts;
    if (!std::regex_match(fileName, parts, kName))
        return std::nullopt;
    return std::make_pair(std::stol(parts[1]), parts[2].matched ? std::stol(parts[2]) : 0L);
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
    if (!fs::exists("/usr/sbin/cupsd"))
        return "cupsd is not installed";
    if (geteuid() == 0)
        return {};
    // Asked once: sudo's answer holds for the whole run of a test program.
    static const bool sudoAnswers =
        std::system("timeout -k 1 10 sudo -n true </dev/null >/dev/null 2>&1") == 0;
    if (!sudoAnswers)
        return "the private cupsd needs root, and sudo does not give it without a password: run "
               "./tools/test.sh on a terminal, where sudo asks for it once, or run the tests as "
               "root";
    return {};
}

CupsSandbox::CupsSandbox() {
    if (geteuid() == 0) {
        // Short: the socket path must stay under 108 bytes.
        char folderTemplate[] = "/tmp/orvel.XXXXXX";
        if (mkdtemp(folderTemplate) == nullptr)
            throw std::runtime_error("cannot make the sandbox folder");
        folder_ = folderTemplate;
    } else {
        // The folder must be root's: the script makes it.
        const auto made = outputOf(asRoot() + kScript + " new-folder </dev/null");
        if (!made || made->empty())
            throw std::runtime_error("cannot make the sandbox folder through sudo");
        folder_ = withoutLineEnd(*made);
    }
    pointEnvironmentHere();
}

void CupsSandbox::removeFolder(const std::string& folder) {
    const std::string command =
        asRoot() + kScript + " remove " + folder + " </dev/null >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 && geteuid() == 0) {
        // A folder that a test has made unfit for the script: its scheduler goes all the same.
        std::system(
            (kScript + std::string(" stop ") + folder + " </dev/null >/dev/null 2>&1").c_str());
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
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
    removeFolder(folder_);
}

void CupsSandbox::run(const std::string& arguments, const std::string& environment) const {
    // What the script says, in a file of the caller's: root's folder may be closed to it.
    char logTemplate[] = "/tmp/orvel-sandbox-log.XXXXXX";
    const int log = mkstemp(logTemplate);
    if (log < 0)
        throw std::runtime_error("cannot make a log for cups-sandbox " + arguments);
    close(log);
    const std::string command = asRoot() + environment + std::string(kScript) + " " + arguments +
                                " </dev/null >" + logTemplate + " 2>&1";
    const bool succeeded = std::system(command.c_str()) == 0;
    const std::string said = readFile(logTemplate);
    fs::remove(logTemplate);
    if (!succeeded)
        throw std::runtime_error("cups-sandbox " + arguments + " failed:\n" + said);
}

// Takes the environment from the script, so that the layout of the folder is known in one place.
void CupsSandbox::pointEnvironmentHere() {
    // Root's folder is closed to anybody else until the scheduler starts.
    const std::string command = asRoot() + kScript + " env " + folder_ + " </dev/null";
    const auto printed = outputOf(command);
    if (!printed)
        throw std::runtime_error(command + " failed");
    const std::string& output = *printed;

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
    const char* server = std::getenv("CUPS_SERVER");
    socket_ = server == nullptr ? "" : server;
    cupsSetServer(server);
}

void CupsSandbox::start() {
    // Through sudo, the user who ran it reaches the scheduler too, as in the demo.
    run("start " + folder_ + " --watch " + std::to_string(getpid()),
        geteuid() == 0 ? "env -u SUDO_UID " : "");
    running_ = true;
}

void CupsSandbox::startOnBehalfOf(uid_t user) {
    run("start " + folder_ + " --watch " + std::to_string(getpid()),
        "env SUDO_UID=" + std::to_string(user) + " ");
    running_ = true;
}

void CupsSandbox::stop() {
    running_ = false;
    run("stop " + folder_);
}

void CupsSandbox::addQueue(const std::string& name, bool makeDefault) {
    run("add-queue " + folder_ + " " + name + (makeDefault ? " --default" : ""));
}

void CupsSandbox::makeCaptureFolders(const std::vector<std::string>& names) {
    std::string arguments = "capture-folders " + folder_;
    for (const std::string& name : names)
        arguments += " " + name;
    run(arguments);
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

std::string CupsSandbox::captureFolder(const std::string& queue) const {
    return folder_ + "/capture/" + queue;
}

std::vector<Bytes> CupsSandbox::capturedJobs(const std::string& queue) const {
    const fs::path folder = captureFolder(queue);
    std::vector<std::pair<std::pair<long, long>, fs::path>> files;
    // Before its scheduler first starts, only root may enter the folder: there is nothing yet.
    std::error_code unseen;
    if (fs::is_directory(fs::symlink_status(folder, unseen))) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            // Only complete jobs, in plain files: the backend renames a job into place when it
            // has all of it, and a link that somebody else planted there is not a job.
            const auto order = captureOrder(entry.path().filename().string());
            if (order && entry.is_regular_file() && !entry.is_symlink())
                files.emplace_back(*order, entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<Bytes> captured;
    for (const auto& file : files)
        captured.push_back(readCapture(file.second));
    return captured;
}

}  // namespace orvel::test
