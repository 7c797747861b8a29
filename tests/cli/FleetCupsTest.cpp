// orvel-settings run as a process against private CUPS schedulers: what reaches each printer, the
// result lines, the time a run of many printers takes, and that a wrong command sends nothing.
#include <gtest/gtest.h>

#include <cups/cups.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <optional>
#include <random>
#include <regex>
#include <sstream>

#include "printer/commands/FeaturesPage.h"
#include "settings/Profile.h"
#include "tests/cli/ProgramRun.h"
#include "tests/cli/SandboxQueues.h"
#include "tests/cups/CupsSandbox.h"
#include "tests/cups/spooler/SilentScheduler.h"
#include "tests/support/ByteList.h"
#include "tests/support/RandomProfiles.h"

namespace orvel::test {
namespace {

namespace fs = std::filesystem;

constexpr double kPauseSeconds = 2.5;
constexpr char kSettingsJob[] = "Permanent Settings Configuration";
constexpr char kBusyMessage[] =
    "Unable to download printer settings. Printer is busy with processing print jobs, please try "
    "once printer is free.";
constexpr char kOpenFailedMessage[] = "OpenPrinter Falied!!! Unable to access printer";
constexpr char kStoppedMessage[] =
    "Unable to download printer settings. The printer's queue is stopped: the settings would "
    "reach the printer only once the queue is resumed. Resume the queue (sudo cupsenable followed "
    "by the printer's name), then try again.";

std::vector<std::string> titlesOf(const std::vector<SpooledJob>& jobs) {
    std::vector<std::string> titles;
    for (const SpooledJob& job : jobs)
        titles.push_back(job.title);
    return titles;
}

std::vector<std::string> withPrinters(std::vector<std::string> arguments,
                                      const std::vector<std::string>& printers) {
    for (const std::string& printer : printers) {
        arguments.push_back("-d");
        arguments.push_back(printer);
    }
    return arguments;
}

// The result lines with each sent job's id taken out, and the ids in the order of the lines.
std::string withoutJobIds(const std::string& lines, std::vector<int>* ids = nullptr) {
    static const std::regex kJob(": job ([0-9]+)");
    std::string rest = lines;
    for (std::smatch found; std::regex_search(rest, found, kJob);) {
        if (ids != nullptr)
            ids->push_back(std::stoi(found[1]));
        rest = found.prefix().str() + found.suffix().str();
    }
    return rest;
}

std::string resultLines(const std::vector<std::string>& printers, const std::string& words) {
    std::string lines;
    for (const std::string& printer : printers)
        lines += printer + ": " + words + "\n";
    return lines;
}

// One scheduler for the whole suite, each test on queues of its own.
class OrvelSettingsOnCups : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!CupsSandbox::whyUnavailable().empty())
            return;
        sandbox = new CupsSandbox();
        sandbox->start();
    }
    static void TearDownTestSuite() {
        delete sandbox;
        sandbox = nullptr;
    }

    void SetUp() override {
        const std::string why = CupsSandbox::whyUnavailable();
        if (!why.empty())
            GTEST_SKIP() << why;
        char folderTemplate[] = "/tmp/orvel-cli-cups.XXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        folder = folderTemplate;
    }
    void TearDown() override {
        if (!folder.empty())
            fs::remove_all(folder);
    }

    std::string file(const std::string& name, const std::string& text) const {
        const std::string path = folder + "/" + name;
        writeBytes(path, text);
        return path;
    }

    // The bytes each queue's printer received, once every one has its count of jobs.
    std::vector<Bytes> receivedBy(const std::string& queue, size_t count = 1) const {
        EXPECT_EQ(titlesOf(sandbox->waitForCompletedJobs(queue, count)).size(), count) << queue;
        return sandbox->capturedJobs(queue);
    }

    void expectNoJob(const std::string& queue) const {
        EXPECT_TRUE(sandbox->activeJobs(queue).empty()) << queue;
        EXPECT_TRUE(sandbox->completedJobs(queue).empty()) << queue;
    }

    static CupsSandbox* sandbox;
    std::string folder;
};

CupsSandbox* OrvelSettingsOnCups::sandbox = nullptr;

TEST_F(OrvelSettingsOnCups, ThirtyQueuesEachGetTheProfilesBytesOnceInAboutOnePause) {
    const std::vector<std::string> queues = queueNames("thirty", 30);
    addCaptureQueues(*sandbox, queues);
    const std::string profile = file("counters.profile",
                                     "# billing counters\n"
                                     "Model: Export\n"
                                     "Font: OCR-B\n"
                                     "Interface: serial\n"
                                     "Baud Rate: 19200\n"
                                     "Parity: even\n"
                                     "Line Spacing: 8 LPI\n"
                                     "Character Table: Indian Language\n"
                                     "Language: Tamil\n");
    // Font OCR-B is 5; 8 LPI is 48 in value 1; Indian Language 8 in value 2; the Export model's
    // 11 inch page 15, 120; Serial 2; 19200 baud 16; Even parity 1; Hardware flow 1; Tamil 3;
    // 64k 1.
    const Bytes expected = bytes({0x1B, 0x19, 0x00, 5, 48, 8, 0, 15, 120, 2, 16, 1, 1, 3, 1});

    const ProgramRun run = runProgram(withPrinters({"apply", profile}, queues));
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<int> ids;
    EXPECT_EQ(withoutJobIds(run.out, &ids), resultLines(queues, "sent"));
    ASSERT_EQ(ids.size(), queues.size());
    EXPECT_EQ(run.err, "");
    // The pauses overlap: thirty one after the other would take thirty.
    EXPECT_GE(run.elapsed.count(), kPauseSeconds);
    EXPECT_LT(run.elapsed.count(), 3 * kPauseSeconds);
    for (size_t i = 0; i < queues.size(); ++i) {
        const std::string& queue = queues[i];
        EXPECT_EQ(receivedBy(queue), std::vector<Bytes>{expected}) << queue;
        const std::vector<SpooledJob> jobs = sandbox->completedJobs(queue);
        EXPECT_EQ(titlesOf(jobs), std::vector<std::string>{kSettingsJob});
        // Each line names the job that its printer's queue holds.
        EXPECT_EQ(jobs.at(0).id, ids.at(i)) << queue;
    }
    EXPECT_EQ(runProgram({"apply", profile, "-o", "-"}).out, expected);
}

TEST_F(OrvelSettingsOnCups, ABusyAndAMissingQueueAmongOthersAreNotSentAndSaySo) {
    const std::vector<std::string> queues = queueNames("mixed", 5);
    addCaptureQueues(*sandbox, queues);
    holdJob("mixed02", "Invoice");
    sandbox->disableQueue("mixed05");
    const std::vector<std::string> printers = {"mixed01", "mixed02", "nosuchqueue",
                                               "mixed05", "mixed03", "mixed04"};

    const ProgramRun run = runProgram(withPrinters({"restore"}, printers));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(withoutJobIds(run.out),
              "mixed01: sent\n"
              "mixed02: not sent: busy\n"
              "nosuchqueue: not sent: no such printer\n"
              "mixed05: not sent: queue stopped\n"
              "mixed03: sent\n"
              "mixed04: sent\n");
    std::vector<std::string> messages;
    std::istringstream lines(run.err);
    for (std::string line; std::getline(lines, line);)
        messages.push_back(line);
    std::sort(messages.begin(), messages.end());
    EXPECT_EQ(messages,
              (std::vector<std::string>{std::string("mixed02: ") + kBusyMessage,
                                        std::string("mixed05: ") + kStoppedMessage,
                                        std::string("nosuchqueue: ") + kOpenFailedMessage}));
    for (const char* sent : {"mixed01", "mixed03", "mixed04"})
        EXPECT_EQ(receivedBy(sent), std::vector<Bytes>{bytes({0x1B, 0x19, 0x01})}) << sent;
    EXPECT_EQ(titlesOf(sandbox->activeJobs("mixed02")), std::vector<std::string>{"Invoice"});
    EXPECT_TRUE(sandbox->capturedJobs("mixed02").empty());
    expectNoJob("mixed05");
}

TEST_F(OrvelSettingsOnCups, TheFeaturesPageAndRestoreArriveAsTheyAreWrittenToAFile) {
    addCaptureQueues(*sandbox, {"pages"});
    const Bytes page = featuresPageBytes();
    struct Case {
        const char* command;
        std::string jobName;
    };
    const std::vector<Case> cases = {{"restore", kSettingsJob},
                                     {"features-page", "Varnet Orvel FEATURES"},
                                     {"apply", kSettingsJob}};
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].command);
        const ProgramRun written = runProgram({cases[i].command, "-o", "-"});
        ASSERT_EQ(written.status, 0) << written.err;
        const ProgramRun sent = runProgram({cases[i].command, "-d", "pages"});
        EXPECT_EQ(sent.status, 0) << sent.err;
        EXPECT_EQ(withoutJobIds(sent.out), "pages: sent\n");
        const std::vector<Bytes> received = receivedBy("pages", i + 1);
        ASSERT_EQ(received.size(), i + 1);
        EXPECT_EQ(received.back(), written.out);
        EXPECT_EQ(titlesOf(sandbox->completedJobs("pages")).back(), cases[i].jobName);
    }
    EXPECT_EQ(receivedBy("pages", 3).at(0), bytes({0x1B, 0x19, 0x01}));
    EXPECT_EQ(receivedBy("pages", 3).at(1), page);
}

TEST_F(OrvelSettingsOnCups, ASecondSchedulerIsReachedThroughH) {
    addCaptureQueues(*sandbox, {"local"});
    const std::map<std::string, std::string> here = {
        {"CUPS_SERVER", sandbox->socket()},
        {"CUPS_SERVERROOT", sandbox->folder() + "/client"},
        {"HOME", sandbox->folder() + "/home"}};
    CupsSandbox remote;  // the environment points there while it lives; the runs are given ours
    remote.start();
    remote.addQueue("branch", false);
    const std::string server = remote.socket();

    const ProgramRun sent =
        runProgram({{"restore", "-h", server, "-d", "branch", "-d", "local"}, std::nullopt, here});
    EXPECT_EQ(sent.status, 1);
    EXPECT_EQ(withoutJobIds(sent.out), "branch: sent\nlocal: not sent: no such printer\n");
    EXPECT_EQ(sent.err, std::string("local: ") + kOpenFailedMessage + "\n");
    ASSERT_EQ(remote.waitForCompletedJobs("branch", 1).size(), 1u);
    EXPECT_EQ(remote.capturedJobs("branch"), std::vector<Bytes>{bytes({0x1B, 0x19, 0x01})});
    EXPECT_TRUE(sandbox->capturedJobs("local").empty());

    const ProgramRun listed = runProgram({{"printers", "-h", server}, std::nullopt, here});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "branch\tidle\t0\n");
}

// The JSON lines with each line's time and job id taken out, and the ids in the order of the
// lines (0 for a null job).
std::vector<std::string> jsonWithoutTimesAndIds(const std::string& out, std::vector<int>& ids) {
    static const std::regex kJob("\"job\":([0-9]+|null)");
    std::vector<std::string> lines;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);) {
        std::smatch found;
        if (std::regex_search(line, found, kJob)) {
            ids.push_back(found[1] == "null" ? 0 : std::stoi(found[1]));
            line = found.prefix().str() + "\"job\":ID" + found.suffix().str();
        }
        lines.push_back(line.substr(0, line.find(",\"time\":")));
    }
    return lines;
}

std::string jsonResult(const std::string& printer, const std::string& result,
                       const std::string& reason, const std::string& message = "") {
    return "{\"printer\":\"" + printer + "\",\"result\":\"" + result + "\",\"reason\":\"" + reason +
           "\",\"job\":ID,\"job_state\":null,\"message\":[" + message + "]";
}

// One run over two real schedulers and a silent one: queues by name, by pattern and by URI,
// a stopped queue and a missing one among them.
TEST_F(OrvelSettingsOnCups, OneRunServesTwoSchedulersByNamePatternAndUriAndSaysWhyInJson) {
    addCaptureQueues(*sandbox, {"north01", "north02", "north03"});
    sandbox->disableQueue("north03");
    const std::map<std::string, std::string> here = {
        {"CUPS_SERVER", sandbox->socket()},
        {"CUPS_SERVERROOT", sandbox->folder() + "/client"},
        {"HOME", sandbox->folder() + "/home"}};
    CupsSandbox south;  // the environment points there while it lives; the runs are given ours
    south.start();
    addCaptureQueues(south, {"south01", "south02", "store"});
    // The second scheduler on 127.0.0.1, as a printer URI reaches it.
    const SilentScheduler southOnTcp(south.socket(), 1000);
    const SilentScheduler silent;
    const std::string southUri = "ipp://" + southOnTcp.address() + "/printers/";
    const std::string silentUri = "ipp://" + silent.address() + "/printers/";
    const std::string openFailed = "\"OpenPrinter Falied!!!\",\"Unable to access printer\"";
    // A scheduler that answers the printer's questions and then takes the whole job without an
    // answer: the job may have been kept, and the line must not say that nothing arrives.
    const SilentScheduler silentAtTheJob(south.socket(), 3);
    const std::string lateUri = "ipp://" + silentAtTheJob.address() + "/printers/store";
    auto unconfirmed = std::async(std::launch::async, [&] {
        return runProgram({{"restore", "--json", "-d", lateUri}, std::nullopt, here});
    });

    const ProgramRun run =
        runProgram({{"restore", "--json", "-d", "north01", "-d", "north0[23]", "-d", "nosuch", "-d",
                     southUri + "south01", "-d", southUri + "south*", "-d", southUri + "zz*", "-d",
                     silentUri + "gone", "-d", silentUri + "x*"},
                    std::nullopt,
                    here});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_LT(run.elapsed.count(), 20.0);
    std::vector<int> ids;
    EXPECT_EQ(
        jsonWithoutTimesAndIds(run.out, ids),
        (std::vector<std::string>{
            jsonResult("north01", "sent", "sent"),
            jsonResult("north02", "sent", "sent"),
            jsonResult("north03", "not sent", "queue-stopped",
                       "\"Unable to download printer settings.\",\"\",\"The printer's queue is "
                       "stopped: the settings would reach the printer only once the queue is "
                       "resumed.\",\"Resume the queue (sudo cupsenable followed by the "
                       "printer's name), then try again.\""),
            jsonResult("nosuch", "not sent", "no-such-printer", openFailed),
            jsonResult(southUri + "south01", "sent", "sent"),
            jsonResult(southUri + "south02", "sent", "sent"),
            jsonResult(southUri + "zz*", "not sent", "no-match"),
            jsonResult(silentUri + "gone", "not sent", "not-answering", openFailed),
            jsonResult(silentUri + "x*", "not sent", "not-answering"),
        }));
    const Bytes restore = bytes({0x1B, 0x19, 0x01});
    // Each sent line names the job that its queue holds.
    const std::vector<std::pair<CupsSandbox*, std::string>> sent = {
        {sandbox, "north01"}, {sandbox, "north02"}, {&south, "south01"}, {&south, "south02"}};
    const std::vector<size_t> sentLines = {0, 1, 4, 5};
    ASSERT_EQ(ids.size(), 9u);
    for (size_t i = 0; i < sent.size(); ++i) {
        const auto& [scheduler, queue] = sent[i];
        cupsSetServer(scheduler->socket().c_str());  // this thread's requests go there
        const std::vector<SpooledJob> jobs = scheduler->waitForCompletedJobs(queue, 1);
        ASSERT_EQ(jobs.size(), 1u) << queue;
        EXPECT_EQ(jobs[0].id, ids[sentLines[i]]) << queue;
        EXPECT_EQ(scheduler->capturedJobs(queue), std::vector<Bytes>{restore}) << queue;
    }
    EXPECT_TRUE(south.completedJobs("store").empty());
    cupsSetServer(sandbox->socket().c_str());
    expectNoJob("north03");
    cupsSetServer(south.socket().c_str());

    const ProgramRun late = unconfirmed.get();
    EXPECT_EQ(late.status, 1) << late.err;
    std::vector<int> noIds;
    EXPECT_EQ(jsonWithoutTimesAndIds(late.out, noIds),
              std::vector<std::string>{
                  jsonResult(lateUri, "not sent", "send-unconfirmed",
                             "\"Unable to send data to the printer.\",\"Download Failed!!\"")});
    EXPECT_EQ(late.err, lateUri + ": Unable to send data to the printer. Download Failed!!\n");

    // Waiting: each job has been printed, so every printer counts as done.
    const ProgramRun waited =
        runProgram({{"restore", "--wait=20", "-d", "north01", "-d", southUri + "south01"},
                    std::nullopt,
                    here});
    EXPECT_EQ(waited.status, 0) << waited.err;
    EXPECT_EQ(withoutJobIds(waited.out),
              "north01: sent, completed\n" + southUri + "south01: sent, completed\n");
}

TEST_F(OrvelSettingsOnCups, PrintersListsEachQueueWithItsStateAndJobsAndTheDefault) {
    CupsSandbox own;  // a scheduler of its own, so that the list is known
    own.start();
    own.addQueue("desk", true);
    own.addQueue("hall", false);
    own.addQueue("store", false);
    holdJob("hall", "Invoice");
    holdJob("hall", "Receipt");
    own.disableQueue("store");
    const ProgramRun listed = runProgram({"printers"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out,
              "desk\tidle\t0\tdefault\n"
              "hall\tidle\t2\n"
              "store\tstopped\t0\n");
}

TEST_F(OrvelSettingsOnCups, AProfileOrCommandLineErrorSendsNothingAnywhereAndIsStatus2) {
    addCaptureQueues(*sandbox, {"untouched1", "untouched2"});
    struct Case {
        const char* what;
        std::string profileText;  // empty: no profile file
        std::vector<std::string> extra;
        std::string err;
    };
    const std::string path = folder + "/p.profile";
    const std::vector<Case> cases = {
        {"unknown caption",
         "Font: Roman\nTear-off: Disabled\n",
         {},
         "orvel-settings: " + path +
             ":2: unknown setting \"Tear-off\"; the settings are: Model, Font, Tearoff, Page "
             "Length, Interface, Baud Rate, Parity, Flow Control, Strobe Edge, Character Table, "
             "Language, Language Standard, Space Compensation, Input Buffer Size, Skip Over "
             "Perforation, Print Direction, Slashed Zero, Line Spacing, Auto LineFeed, Roll "
             "Paper\n"},
        {"choice not in its list",
         "Baud Rate: 2400\n",
         {},
         "orvel-settings: " + path +
             ":1: \"2400\" is not a choice of Baud Rate; the choices are: 300, 1200, 4800, 9600, "
             "19200\n"},
        {"named twice",
         "Parity: Odd\nparity: odd\n",
         {},
         "orvel-settings: " + path + ":2: Parity is named twice, first on line 1\n"},
        {"not a caption and choice",
         "Parity = Odd\n",
         {},
         "orvel-settings: " + path + ":1: \"Parity = Odd\" is not a \"Caption: Choice\" line\n"},
        {"binary",
         std::string("\x1B\x19\x00\x01", 4),
         {},
         "orvel-settings: " + path + ":1: a control byte 0x1B, not a profile\n"},
        {"oversized",
         std::string(70000, '#'),
         {},
         "orvel-settings: " + path + ": larger than 65536 bytes, not a profile\n"},
        {"unreadable",
         "",
         {path + ".missing"},
         "orvel-settings: " + path + ".missing: cannot read it: No such file or directory\n"},
        {"bad option after good ones",
         "Font: Roman\n",
         {"-x"},
         "orvel-settings: unknown option \"-x\"\nTry 'orvel-settings --help'.\n"},
        {"a printer twice",
         "Font: Roman\n",
         {"-d", "UNTOUCHED1"},
         "orvel-settings: printer \"UNTOUCHED1\" named twice\nTry 'orvel-settings --help'.\n"},
        {"an instance of a printer named",
         "Font: Roman\n",
         {"-d", "untouched2/copy"},
         "orvel-settings: printer \"untouched2/copy\" named twice (first as \"untouched2\")\n"
         "Try 'orvel-settings --help'.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> arguments = {"apply"};
        if (!c.profileText.empty()) {
            writeBytes(path, c.profileText);
            arguments.push_back(path);
        }
        arguments = withPrinters(arguments, {"untouched1", "untouched2"});
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
        const ProgramRun run = runProgram(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
    }
    expectNoJob("untouched1");
    expectNoJob("untouched2");
}

// A job decoded, kept as a profile and applied again gives the printer the same bytes.
TEST_F(OrvelSettingsOnCups, DecodeThenApplyGivesThePrinterTheSameBytes) {
    const unsigned seed = 31337;
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    const std::vector<std::string> queues = queueNames("again", 3);
    addCaptureQueues(*sandbox, queues);
    std::vector<std::future<void>> rounds;
    for (size_t round = 0; round < queues.size(); ++round) {
        const Selections selections = randomSelections(random);
        const std::string text = profileText(selections);
        const std::string profile = file("random" + std::to_string(round) + ".profile", text);
        rounds.push_back(std::async(std::launch::async, [&, round, profile] {
            const std::string queue = queues[round];
            const ProgramRun job = runProgram({"apply", profile, "-o", "-"});
            const ProgramRun decode = runProgram(ProgramInput{{"decode", "-"}, job.out, {}});
            const std::string decoded = folder + "/decoded" + std::to_string(round) + ".profile";
            writeBytes(decoded, decode.out);
            const ProgramRun applied = runProgram({"apply", decoded, "-d", queue});
            EXPECT_EQ(decode.status, 0) << "round " << round << ": " << decode.err;
            EXPECT_EQ(applied.status, 0) << "round " << round << ": " << applied.err;
            EXPECT_EQ(receivedBy(queue), std::vector<Bytes>{job.out}) << "round " << round;
        }));
    }
    for (auto& round : rounds)
        round.get();
}

}  // namespace
}  // namespace orvel::test
