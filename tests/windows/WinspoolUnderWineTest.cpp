// orvel-settings.exe, cross-built with mingw-w64, run under wine: it hands its jobs to the real
// winspool backend, whose wine implementation passes them to a private CUPS scheduler. What the
// scheduler's printer receives is compared with what the Linux build of the encoder makes.
//
// Where wine's spooler is not Windows' the cases say so, and check what wine does:
// - EnumJobsA never lists the jobs of the CUPS queue, so the busy check finds no job there; and
//   a stopped CUPS queue reads as a printer with status 0, not paused. Both take the settings.
//   What the download does when Windows reports jobs or a paused printer is tested on the
//   recording spooler (tests/printer/DownloadTest.cpp and the raw job's tests).
// - With printers but no CUPS default, wine makes the first of them the default, where Windows
//   may have no default at all.
// - A scheduler that does not answer makes wine drop the CUPS printers it knew: there is no
//   printer, as when none is set up.
// - The printer list gives every CUPS queue as idle with no jobs, whatever it holds.
// - Two wine programs that print at the same moment in one prefix mix up their jobs: one lands
//   in the other's queue, or is not sent. So the cases run one program at a time; one program
//   serving many printers at once is safe.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/report/PrinterResult.h"
#include "printer/commands/FeaturesPage.h"
#include "printer/commands/mdlFlagSettings.h"
#include "settings/Profile.h"
#include "settings/mdlFlagSettings.h"
#include "tests/cli/SandboxQueues.h"
#include "tests/support/RandomProfiles.h"
#include "tests/windows/UnderWine.h"

namespace orvel::test {
namespace {

using cli::PrinterResult;

constexpr std::chrono::duration<double> kPause{2.5};
constexpr char kSettingsJob[] = "Permanent Settings Configuration";
constexpr char kFeaturesJob[] = "Varnet Orvel FEATURES";
// How the result line and the messages name the default printer when there is none.
constexpr char kNoDefaultLabel[] = "(default printer)";
const Bytes kRestoreBytes = bytes({0x1B, 0x19, 0x01});

Bytes settingsJob(const Selections& selections) {
    const FlagSettings block = mdlFlagSettings::fncGetFlagSettings(selections);
    return mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &block);
}

std::vector<std::string> titlesOf(const std::vector<SpooledJob>& jobs) {
    std::vector<std::string> titles;
    for (const SpooledJob& job : jobs)
        titles.push_back(job.title);
    return titles;
}

// A profile naming all nineteen settings in the window's words.
std::string profileOf(const Selections& selections) {
    return "# written by the wine tests\n" + profileText(selections);
}

// What the Linux build reads from a profile's text.
Selections readOnLinux(const std::string& text) {
    const ProfileReading reading = readProfile(text, "profile");
    EXPECT_TRUE(reading.ok()) << reading.errors.front();
    return profileSelections(reading.profile);
}

// A profile as a Windows editor saves it: a byte order mark and CR LF line ends.
std::string savedOnWindows(const std::string& text) {
    std::string saved = "\xEF\xBB\xBF";
    for (char c : text)
        saved += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return saved;
}

std::string resultLine(const std::string& label, PrinterResult result) {
    return label + ": " + cli::resultWords(result) + "\n";
}

// The two messages that wine lets the program show, as the window shows them, in one line.
constexpr char kNoPrinterText[] = "No printer drivers are installed. Download Failed!!";
constexpr char kOpenFailedText[] = "OpenPrinter Falied!!! Unable to access printer";

std::string messageLine(const std::string& label, const std::string& text) {
    return label + ": " + text + "\n";
}

// The field at that place of a tab-separated line; empty past the last.
std::string fieldOf(const std::string& line, size_t place) {
    std::istringstream split(line);
    std::string field;
    for (size_t i = 0; i <= place; ++i) {
        if (!std::getline(split, field, '\t'))
            return {};
    }
    return field;
}

// Each line's name and default mark: the fields that wine gives as CUPS has them.
std::string namesAndDefault(const std::string& listing) {
    std::istringstream lines(listing);
    std::string kept;
    for (std::string line; std::getline(lines, line);)
        kept += fieldOf(line, 0) + " " + fieldOf(line, 3) + "\n";
    return kept;
}

using WinspoolUnderWine = UnderWine;

TEST_F(WinspoolUnderWine, EachJobArrivesByteForByteUnderItsJobNameAndASettingsJobPauses) {
    startWithQueues();
    const unsigned seed = 20261210;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);

    struct Case {
        std::string what;
        std::vector<std::string> arguments;
        std::string queue;  // where it lands
        std::string label;  // how the result line names the printer
        Bytes expected;
        std::string jobName;
    };
    const std::string exportCounter =
        "Model: Export\n"
        "font: courier\n"
        "  Flow Control :  xon/xoff\n"
        "Line Spacing: 8 LPI\n";
    std::vector<Case> cases = {
        // The first choice of every box gives a block with bytes of value 0.
        {"apply, every first choice",
         {"apply", writeFile("first.txt", profileOf(Selections{}))},
         kQueue,
         kQueue,
         settingsJob(Selections{}),
         kSettingsJob},
        {"apply a profile saved on Windows, to a printer named in other letters",
         {"apply", writeFile("counter.txt", savedOnWindows(exportCounter)), "-d", "second"},
         kSecondQueue,
         "second",
         settingsJob(readOnLinux(exportCounter)),
         kSettingsJob},
    };
    for (int i = 0; i < 2; ++i) {
        const Selections selections = randomSelections(random);
        const std::string profile =
            writeFile("random" + std::to_string(i) + ".txt", profileOf(selections));
        std::vector<std::string> arguments{"apply", profile};
        std::string queue = kQueue;
        if (i == 1) {
            arguments.insert(arguments.end(), {"-d", kSecondQueue});
            queue = kSecondQueue;
        }
        cases.push_back({"apply " + profileOf(selections), arguments, queue, queue,
                         settingsJob(selections), kSettingsJob});
    }
    cases.push_back({"restore", {"restore"}, kQueue, kQueue, kRestoreBytes, kSettingsJob});
    cases.push_back({"features page",
                     {"features-page", "-d", kSecondQueue},
                     kSecondQueue,
                     kSecondQueue,
                     featuresPageBytes(),
                     kFeaturesJob});

    std::map<std::string, size_t> jobsIn;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ProgramAnswer answer = runWindows(c.arguments);
        EXPECT_EQ(answer.exitCode, 0) << shown(answer);
        EXPECT_EQ(answer.out, resultLine(c.label, PrinterResult::Sent));
        EXPECT_EQ(answer.err, "");
        // The pause comes after the job was handed over and before the program ends.
        if (c.jobName == kSettingsJob) {
            EXPECT_GE(answer.elapsed.count(), kPause.count());
        }
        const size_t count = ++jobsIn[c.queue];
        const auto completed = sandbox->waitForCompletedJobs(c.queue, count);
        ASSERT_EQ(completed.size(), count);
        EXPECT_EQ(completed.back().title, c.jobName);
        const auto captured = sandbox->capturedJobs(c.queue);
        ASSERT_EQ(captured.size(), count);
        EXPECT_EQ(captured.back(), c.expected);
    }
}

TEST_F(WinspoolUnderWine, ManyPrintersInOneRunEachGetTheJobOnceInAboutOnePause) {
    sandbox->start();
    const std::vector<std::string> queues = queueNames("fleet", 8);
    for (const std::string& queue : queues)
        sandbox->addQueue(queue, false);
    std::mt19937 random(20261211);
    const Selections selections = randomSelections(random);
    std::vector<std::string> arguments{"apply", writeFile("fleet.txt", profileOf(selections))};
    std::string expectedOut;
    for (size_t i = 0; i < queues.size(); ++i) {
        arguments.insert(arguments.end(), {"-d", queues[i]});
        expectedOut += resultLine(queues[i], PrinterResult::Sent);
        // One that does not exist, amid the others, in its place in the order.
        if (i == 4) {
            arguments.insert(arguments.end(), {"-d", "Missing"});
            expectedOut += resultLine("Missing", PrinterResult::CannotOpen);
        }
    }

    const ProgramAnswer answer = runWindows(arguments);
    EXPECT_EQ(answer.exitCode, 1) << shown(answer);
    EXPECT_EQ(answer.out, expectedOut);
    EXPECT_EQ(answer.err, messageLine("Missing", kOpenFailedText));
    EXPECT_GE(answer.elapsed.count(), kPause.count());
    // One after the other they would take eight pauses.
    EXPECT_LT(answer.elapsed.count(), 4 * kPause.count());
    for (const std::string& queue : queues) {
        SCOPED_TRACE(queue);
        EXPECT_EQ(titlesOf(sandbox->waitForCompletedJobs(queue, 1)),
                  std::vector<std::string>{kSettingsJob});
        EXPECT_EQ(sandbox->capturedJobs(queue), std::vector<Bytes>{settingsJob(selections)});
    }
}

TEST_F(WinspoolUnderWine, EachWayOfNotReachingThePrinterIsToldAndSendsNothing) {
    struct Attempt {
        std::vector<std::string> arguments;
        std::string label;
        const char* message;
        PrinterResult result;
    };
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::vector<std::string> queues;  // that the arrangement made
        std::vector<Attempt> attempts;
        bool stopsTheScheduler = false;
    };
    const std::vector<std::string> both{kQueue, kSecondQueue};
    const std::vector<Case> cases = {
        {"no printer set up",
         [this] { sandbox->start(); },
         {},
         {{{"restore"}, kNoDefaultLabel, kNoPrinterText, PrinterResult::NoPrinter},
          {{"features-page"}, kNoDefaultLabel, kNoPrinterText, PrinterResult::NoPrinter}}},
        {"printers, but not the one named",
         [this] { startWithQueues(); },
         both,
         {{{"apply", "-d", "Missing"}, "Missing", kOpenFailedText, PrinterResult::CannotOpen},
          {{"restore", "-d", "Missing"}, "Missing", kOpenFailedText, PrinterResult::CannotOpen},
          // Wine reaches no shared printer.
          {{"restore", "-d", "\\\\localhost\\Orvel"},
           "\\\\localhost\\Orvel",
           kOpenFailedText,
           PrinterResult::CannotOpen}}},
        // Wine forgets the CUPS printers when the scheduler does not answer.
        {"no scheduler answers",
         [this] {
             startWithQueues();
             sandbox->stop();
         },
         both,
         {{{"restore"}, kNoDefaultLabel, kNoPrinterText, PrinterResult::NoPrinter},
          {{"features-page", "-d", kQueue}, kQueue, kOpenFailedText, PrinterResult::CannotOpen}},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sandbox.reset();
        sandbox.emplace();
        c.arrange();
        for (const Attempt& attempt : c.attempts) {
            SCOPED_TRACE(attempt.arguments.front());
            const ProgramAnswer answer = runWindows(attempt.arguments);
            EXPECT_EQ(answer.exitCode, 1) << shown(answer);
            EXPECT_EQ(answer.err, messageLine(attempt.label, attempt.message));
            EXPECT_EQ(answer.out, resultLine(attempt.label, attempt.result));
            // No pause after a job that was not sent.
            EXPECT_LT(answer.elapsed.count(), kPause.count());
        }
        // Up again, if it was down: the scheduler must hold nothing of the refused jobs.
        if (c.stopsTheScheduler)
            sandbox->start();
        expectNothingArrived(c.queues);
    }
}

// Windows refuses the settings for a paused printer and for a queue that holds any job. Through
// wine neither shows, and both take the settings: a queue that holds a job prints them past it,
// a stopped queue keeps them and prints them once it is resumed.
TEST_F(WinspoolUnderWine, QueuesThatWindowsWouldRefuseTakeTheSettingsUnderWine) {
    startWithQueues();
    sandbox->disableQueue(kQueue);
    holdJob(kSecondQueue, "Invoice");
    const ProgramAnswer answer = runWindows({"restore", "-d", kQueue, "-d", kSecondQueue});
    EXPECT_EQ(answer.exitCode, 0) << shown(answer);
    EXPECT_EQ(answer.out, resultLine(kQueue, PrinterResult::Sent) +
                              resultLine(kSecondQueue, PrinterResult::Sent));
    EXPECT_EQ(answer.err, "");
    EXPECT_EQ(titlesOf(sandbox->waitForCompletedJobs(kSecondQueue, 1)),
              std::vector<std::string>{kSettingsJob});
    EXPECT_EQ(sandbox->capturedJobs(kSecondQueue), std::vector<Bytes>{kRestoreBytes});
    EXPECT_EQ(titlesOf(sandbox->activeJobs(kSecondQueue)), std::vector<std::string>{"Invoice"});
    EXPECT_EQ(titlesOf(sandbox->activeJobs(kQueue)), std::vector<std::string>{kSettingsJob});
    EXPECT_TRUE(sandbox->capturedJobs(kQueue).empty());

    ProcessRequest resume;
    resume.arguments = {"/usr/sbin/cupsenable", kQueue};
    const ProcessResult resumed = BoundedProcess::run(resume);
    ASSERT_EQ(resumed.exitCode, 0) << resumed.err;
    ASSERT_EQ(sandbox->waitForCompletedJobs(kQueue, 1).size(), 1u);
    EXPECT_EQ(sandbox->capturedJobs(kQueue), std::vector<Bytes>{kRestoreBytes});
}

TEST_F(WinspoolUnderWine, WithPrintersButNoCupsDefaultWineNamesOneOfThemAndTheJobGoesThere) {
    sandbox->start();
    sandbox->addQueue(kSecondQueue, false);
    sandbox->addQueue(kQueue, false);
    const ProgramAnswer answer = runWindows({"features-page"});
    EXPECT_EQ(answer.exitCode, 0) << shown(answer);
    const std::string chosen = answer.out.substr(0, answer.out.find(':'));
    ASSERT_TRUE(chosen == kQueue || chosen == kSecondQueue) << shown(answer);
    EXPECT_EQ(titlesOf(sandbox->waitForCompletedJobs(chosen, 1)),
              std::vector<std::string>{kFeaturesJob});
}

// What wine's spooler tells of the queues: their names and which is the default, as CUPS has
// them. Their state and their jobs it does not tell: every queue reads idle and empty.
TEST_F(WinspoolUnderWine, ThePrinterListNamesTheQueuesAndTheDefaultAsTheLinuxBuildDoes) {
    sandbox->start();
    const ProgramAnswer none = runWindows({"printers"});
    EXPECT_EQ(none.exitCode, 0) << shown(none);
    const ProgramAnswer noneOnLinux = runLinux({"printers"});
    EXPECT_EQ(none.out, noneOnLinux.out);
    EXPECT_EQ(none.err, noneOnLinux.err);

    sandbox->addQueue("Zeta", false);
    sandbox->addQueue(kQueue, true);
    sandbox->addQueue(kSecondQueue, false);
    // Idle and empty, the queues read the same through both spoolers.
    const ProgramAnswer idle = runWindows({"printers"});
    EXPECT_EQ(idle.exitCode, 0) << shown(idle);
    const ProgramAnswer idleOnLinux = runLinux({"printers"});
    EXPECT_EQ(idle.out, idleOnLinux.out);
    EXPECT_EQ(idle.out, "Orvel\tidle\t0\tdefault\nSecond\tidle\t0\nZeta\tidle\t0\n");

    sandbox->disableQueue(kSecondQueue);
    holdJob("Zeta", "Invoice");
    const ProgramAnswer busy = runWindows({"printers"});
    EXPECT_EQ(busy.exitCode, 0) << shown(busy);
    EXPECT_EQ(namesAndDefault(busy.out), namesAndDefault(runLinux({"printers"}).out));
}

}  // namespace
}  // namespace orvel::test
