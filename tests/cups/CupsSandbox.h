// A private CUPS scheduler for tests, run through tools/cups-sandbox: its own folder, socket,
// queues and capture backend; no system queue is touched. The process environment points libcups
// at it while it lives.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "printer/job/Spooler.h"

namespace orvel::test {

struct SpooledJob {
    int id = 0;
    std::string title;
};

class CupsSandbox {
public:
    // Empty when a sandbox can run here; otherwise why not. cupsd needs root: a test program
    // that is not root gets it through sudo, as the demo does, without being asked a password.
    static std::string whyUnavailable();
    // Stops whatever runs in a sandbox's folder and removes the folder, which is root's.
    static void removeFolder(const std::string& folder);

    // Makes the folder and points the environment at its socket; starts nothing yet, so that
    // until start() no scheduler answers there.
    CupsSandbox();
    ~CupsSandbox();
    CupsSandbox(const CupsSandbox&) = delete;
    CupsSandbox& operator=(const CupsSandbox&) = delete;

    // Starts cupsd, watched so that it stops when this process ends, however it ends. Only root
    // reaches it.
    void start();
    // The same, as when that user starts it through sudo: root and that user reach it.
    void startOnBehalfOf(uid_t user);
    void stop();
    void addQueue(const std::string& name, bool makeDefault);
    // The capture folders of queues that a test adds itself, many at once over IPP, with the
    // device URI capture:captureFolder(name).
    void makeCaptureFolders(const std::vector<std::string>& names);
    // A stopped queue takes jobs and keeps them pending.
    void disableQueue(const std::string& name);

    const std::string& folder() const { return folder_; }
    // The scheduler's socket, where CUPS_SERVER points.
    const std::string& socket() const { return socket_; }
    // Where the printer of a queue keeps what it receives, one file per job.
    std::string captureFolder(const std::string& queue) const;

    std::vector<SpooledJob> completedJobs(const std::string& queue) const;
    std::vector<SpooledJob> activeJobs(const std::string& queue) const;
    // Waits a few seconds at most for the queue to have that many completed jobs; returns them.
    std::vector<SpooledJob> waitForCompletedJobs(const std::string& queue, size_t count) const;
    // The bytes that the printer of a queue received, one entry per job, in job order (a job
    // whose id cupsd reused after a restart comes right after the earlier job of that id).
    std::vector<Bytes> capturedJobs(const std::string& queue) const;

    static constexpr std::chrono::seconds kJobTimeout{5};

private:
    void run(const std::string& arguments, const std::string& environment = {}) const;
    void pointEnvironmentHere();

    std::string folder_;
    std::string socket_;
    bool running_ = false;
    // What the variables that point libcups here held before, to put back at the end.
    std::vector<std::pair<std::string, std::optional<std::string>>> savedEnvironment_;
};

}  // namespace orvel::test
