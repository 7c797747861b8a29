// The Windows build under wine: the program, cross-built with mingw-w64, hands its jobs to the
// real winspool backend, whose wine implementation passes them to a private CUPS scheduler. What
// the scheduler's printer receives is compared with what the Linux build of the encoder makes.
//
// Where wine's spooler is not Windows' the cases say so, and check what wine does:
// - EnumJobsA never lists the jobs of the CUPS queue, so the busy check finds no job there; and
//   a stopped CUPS queue reads as a printer with status 0, not paused.
//   What the download does when Windows reports jobs or a paused printer is tested on the
//   recording spooler (tests/printer/DownloadTest.cpp and the raw job's tests).
// - With printers but no CUPS default, wine makes the first of them the default, where Windows
//   may have no default at all.
// - A scheduler that does not answer makes wine drop the CUPS printers it knew: there is no
//   printer, as when none is set up.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "printer/FeaturesPage.h"
#include "printer/mdlFlagSettings.h"
#include "settings/SettingsTable.h"
#include "settings/mdlFlagSettings.h"
#include "tests/cups/CupsSandbox.h"
#include "tests/windows/BoundedProcess.h"
#include "tests/windows/WinePrefix.h"

namespace orvel::test {
namespace {

constexpr char kProgram[] = ORVEL_WINDOWS_PROGRAM;
constexpr char kQueue[] = "Orvel";
constexpr char kSecondQueue[] = "Second";

// The job names and the one-line forms of the messages, written out word for word.
constexpr char kSettingsJob[] = "Permanent Settings Configuration";
constexpr char kFeaturesJob[] = "Varnet Orvel FEATURES";
constexpr char kNoPrinterLine[] = "No printer drivers are installed. Download Failed!!";
constexpr char kOpenFailedLine[] = "OpenPrinter Falied!!! Unable to access printer";

Bytes bytes(std::initializer_list<int> values) {
    Bytes joined;
    for (int value : values)
        joined += static_cast<char>(value);
    return joined;
}

Bytes joined(const std::vector<Bytes>& chunks) {
    Bytes all;
    for (const Bytes& chunk : chunks)
        all += chunk;
    return all;
}

std::vector<std::string> titlesOf(const std::vector<SpooledJob>& jobs) {
    std::vector<std::string> titles;
    for (const SpooledJob& job : jobs)
        titles.push_back(job.title);
    return titles;
}

// A profile naming all nineteen settings in the window's words.
std::string profileOf(const Selections& selections) {
    std::string text = "# written by the wine tests\n";
    for (const SettingInfo& info : settingsTable())
        text += info.caption + ": " + info.choices[selections[index(info.id)]] + "\n";
    return text;
}

Selections randomSelections(std::mt19937& random) {
    Selections selections{};
    for (const SettingInfo& info : settingsTable()) {
        const int count = static_cast<int>(info.choices.size());
        selections[index(info.id)] = std::uniform_int_distribution<int>(0, count - 1)(random);
    }
    return selections;
}

// A Windows program's standard streams are in text mode: each line ends in CR LF.
std::string unixLines(std::string text) {
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lines += text[i];
    }
    return lines;
}

std::string shown(const ProcessResult& result) {
    return "exit " + std::to_string(result.exitCode) + (result.timedOut ? " (timed out)" : "") +
           "\nstdout: " + result.out + "\nstderr: " + result.err;
}

class WinspoolUnderWine : public testing::Test {
protected:
    static void SetUpTestSuite() {
        whySkipped_ = CupsSandbox::whyUnavailable();
        if (whySkipped_.empty())
            whySkipped_ = WinePrefix::whyUnavailable();
        if (whySkipped_.empty() && !std::ifstream(kProgram))
            whySkipped_ = std::string("the Windows build was not made (") + kProgram +
                          "): the mingw-w64 cross compiler is missing";
        if (!whySkipped_.empty()) {
            std::printf("wine tests skipped: %s\n", whySkipped_.c_str());
            return;
        }
        try {
            prefix_ = std::make_unique<WinePrefix>();
            std::printf("wine prefix booted in %lld ms\n",
                        static_cast<long long>(prefix_->bootTime().count()));
        } catch (const std::exception& error) {
            bootFailure_ = error.what();
        }
    }

    static void TearDownTestSuite() { prefix_.reset(); }

    void SetUp() override {
        if (!whySkipped_.empty())
            GTEST_SKIP() << whySkipped_;
        ASSERT_TRUE(bootFailure_.empty()) << bootFailure_;
        sandbox.emplace();
    }

    void startWithQueues() {
        sandbox->start();
        sandbox->addQueue(kQueue, true);
        sandbox->addQueue(kSecondQueue, false);
    }

    ProcessResult drive(const std::vector<std::string>& arguments) {
        ProcessResult result = prefix_->run(kProgram, arguments);
        result.out = unixLines(result.out);
        result.err = unixLines(result.err);
        return result;
    }

    // A profile in the prefix's work folder, named relative to it as a Windows program sees it.
    std::string writeProfile(const std::string& name, const std::string& text) {
        std::ofstream(prefix_->workFolder() + "/" + name, std::ios::binary) << text;
        return name;
    }

    void expectNothingArrived(const std::vector<std::string>& queues) {
        for (const std::string& queue : queues) {
            SCOPED_TRACE(queue);
            EXPECT_TRUE(sandbox->activeJobs(queue).empty());
            EXPECT_TRUE(sandbox->completedJobs(queue).empty());
            EXPECT_TRUE(sandbox->capturedJobs(queue).empty());
        }
    }

    std::optional<CupsSandbox> sandbox;

    static inline std::unique_ptr<WinePrefix> prefix_;
    static inline std::string whySkipped_;
    static inline std::string bootFailure_;
};

TEST_F(WinspoolUnderWine, EachJobArrivesByteForByteUnderItsDocumentName) {
    startWithQueues();
    const unsigned seed = 20261210;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);

    struct Case {
        std::string what;
        std::vector<std::string> arguments;
        std::string queue;
        Bytes expected;
        std::string documentName;
    };
    std::vector<Case> cases;
    // The first choice of every box gives a block with bytes of value 0.
    std::vector<Selections> profiles{Selections{}};
    for (int i = 0; i < 3; ++i)
        profiles.push_back(randomSelections(random));
    for (size_t i = 0; i < profiles.size(); ++i) {
        const FlagSettings block = mdlFlagSettings::fncGetFlagSettings(profiles[i]);
        const std::string profile =
            writeProfile("profile" + std::to_string(i) + ".txt", profileOf(profiles[i]));
        std::vector<std::string> arguments{"apply", profile};
        std::string queue = kQueue;
        if (i % 2 == 1) {
            arguments.insert(arguments.end(), {"-d", kSecondQueue});
            queue = kSecondQueue;
        }
        cases.push_back(
            {"apply " + profileOf(profiles[i]), arguments, queue,
             mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &block),
             kSettingsJob});
    }
    cases.push_back({"restore", {"restore"}, kQueue, bytes({0x1B, 0x19, 0x01}), kSettingsJob});
    cases.push_back({"features page",
                     {"features-page", "-d", kSecondQueue},
                     kSecondQueue,
                     joined(featuresPageChunks()),
                     kFeaturesJob});

    std::map<std::string, size_t> jobsIn;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ProcessResult result = drive(c.arguments);
        EXPECT_EQ(result.exitCode, 0) << shown(result);
        EXPECT_EQ(result.out, c.queue + ": sent\n");
        EXPECT_EQ(result.err, "");
        const size_t count = ++jobsIn[c.queue];
        const auto completed = sandbox->waitForCompletedJobs(c.queue, count);
        ASSERT_EQ(completed.size(), count);
        EXPECT_EQ(completed.back().title, c.documentName);
        const auto captured = sandbox->capturedJobs(c.queue);
        ASSERT_EQ(captured.size(), count);
        EXPECT_EQ(captured.back(), c.expected);
    }
}

TEST_F(WinspoolUnderWine, EachWayOfNotReachingThePrinterIsToldAndSendsNothing) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::vector<std::string> arguments;
        std::string expectedError;
        std::vector<std::string> queues;  // that the arrangement made
    };
    const auto noPrinter = [this] { sandbox->start(); };
    const auto printers = [this] { startWithQueues(); };
    const auto schedulerGone = [this] {
        startWithQueues();
        sandbox->stop();
    };
    const std::vector<std::string> both{kQueue, kSecondQueue};
    const std::vector<Case> cases = {
        {"no printer set up",
         noPrinter,
         {"restore"},
         std::string("default printer: ") + kNoPrinterLine,
         {}},
        {"no printer set up, the features page",
         noPrinter,
         {"features-page"},
         std::string("default printer: ") + kNoPrinterLine,
         {}},
        {"a printer name that does not exist",
         printers,
         {"restore", "-d", "Missing"},
         std::string("Missing: ") + kOpenFailedLine,
         both},
        // Wine forgets the CUPS printers when the scheduler does not answer.
        {"no scheduler answers",
         schedulerGone,
         {"restore"},
         std::string("default printer: ") + kNoPrinterLine,
         both},
        {"no scheduler answers for the named printer",
         schedulerGone,
         {"restore", "-d", kQueue},
         std::string(kQueue) + ": " + kOpenFailedLine,
         both},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sandbox.reset();
        sandbox.emplace();
        c.arrange();
        const ProcessResult result = drive(c.arguments);
        EXPECT_EQ(result.exitCode, 1) << shown(result);
        EXPECT_EQ(result.err, c.expectedError + "\n");
        EXPECT_NE(result.out.find(": not sent"), std::string::npos) << result.out;
        // Up again, if it was down: the scheduler must hold nothing of the refused job.
        sandbox->stop();
        sandbox->start();
        expectNothingArrived(c.queues);
    }
}

// Windows refuses both downloads: the first because the printer is paused, the second because
// the queue holds a job. Through wine neither shows, so both are taken and wait in the stopped
// CUPS queue; they arrive intact once it is resumed.
TEST_F(WinspoolUnderWine, AStoppedCupsQueueTakesTheJobsAndPrintsThemWhenResumed) {
    startWithQueues();
    sandbox->disableQueue(kQueue);
    for (int i = 0; i < 2; ++i) {
        const ProcessResult result = drive({"restore"});
        EXPECT_EQ(result.exitCode, 0) << shown(result);
        EXPECT_EQ(result.err, "");
    }
    EXPECT_EQ(titlesOf(sandbox->activeJobs(kQueue)),
              (std::vector<std::string>{kSettingsJob, kSettingsJob}));
    EXPECT_TRUE(sandbox->capturedJobs(kQueue).empty());

    ProcessRequest resume;
    resume.arguments = {"/usr/sbin/cupsenable", kQueue};
    const ProcessResult resumed = BoundedProcess::run(resume);
    ASSERT_EQ(resumed.exitCode, 0) << shown(resumed);
    ASSERT_EQ(sandbox->waitForCompletedJobs(kQueue, 2).size(), 2u);
    EXPECT_EQ(sandbox->capturedJobs(kQueue),
              (std::vector<Bytes>{bytes({0x1B, 0x19, 0x01}), bytes({0x1B, 0x19, 0x01})}));
}

TEST_F(WinspoolUnderWine, WithPrintersButNoCupsDefaultWineNamesOneOfThemAndTheJobGoesThere) {
    sandbox->start();
    sandbox->addQueue(kSecondQueue, false);
    sandbox->addQueue(kQueue, false);
    const ProcessResult result = drive({"features-page"});
    EXPECT_EQ(result.exitCode, 0) << shown(result);
    const std::string chosen = result.out.substr(0, result.out.find(':'));
    ASSERT_TRUE(chosen == kQueue || chosen == kSecondQueue) << shown(result);
    EXPECT_EQ(titlesOf(sandbox->waitForCompletedJobs(chosen, 1)),
              (std::vector<std::string>{kFeaturesJob}));
}

}  // namespace
}  // namespace orvel::test
