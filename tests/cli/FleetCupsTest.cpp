// orvel-settings run as a process against private CUPS schedulers: what reaches each printer, the
// result lines, the time a run of many printers takes, and that a wrong command sends nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <optional>
#include <random>
#include <sstream>

#include "printer/commands/FeaturesPage.h"
#include "settings/Profile.h"
#include "tests/cli/ProgramRun.h"
#include "tests/cli/SandboxQueues.h"
#include "tests/cups/CupsSandbox.h"
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
    EXPECT_EQ(run.out, resultLines(queues, "sent"));
    EXPECT_EQ(run.err, "");
    // The pauses overlap: thirty one after the other would take thirty.
    EXPECT_GE(run.elapsed.count(), kPauseSeconds);
    EXPECT_LT(run.elapsed.count(), 3 * kPauseSeconds);
    for (const std::string& queue : queues) {
        EXPECT_EQ(receivedBy(queue), std::vector<Bytes>{expected}) << queue;
        EXPECT_EQ(titlesOf(sandbox->completedJobs(queue)), std::vector<std::string>{kSettingsJob});
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
    EXPECT_EQ(run.out,
              "mixed01: sent\n"
              "mixed02: not sent: busy\n"
              "nosuchqueue: not sent: cannot open\n"
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
        EXPECT_EQ(sent.out, "pages: sent\n");
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
    EXPECT_EQ(sent.out, "branch: sent\nlocal: not sent: cannot open\n");
    EXPECT_EQ(sent.err, std::string("local: ") + kOpenFailedMessage + "\n");
    ASSERT_EQ(remote.waitForCompletedJobs("branch", 1).size(), 1u);
    EXPECT_EQ(remote.capturedJobs("branch"), std::vector<Bytes>{bytes({0x1B, 0x19, 0x01})});
    EXPECT_TRUE(sandbox->capturedJobs("local").empty());

    const ProgramRun listed = runProgram({{"printers", "-h", server}, std::nullopt, here});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "branch\tidle\t0\n");
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
