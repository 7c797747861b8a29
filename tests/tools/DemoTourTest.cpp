// tools/demo without a display: the tour of orvel-settings on its own private scheduler. What
// each step prints must be the job that reached the pretend printer, and the user's own printer
// setup (a scheduler, LPDEST, PRINTER, lpoptions) must get nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "tests/cups/CupsSandbox.h"
#include "tests/support/TextLines.h"

namespace orvel::test {
namespace {

namespace fs = std::filesystem;

constexpr char kDemo[] = ORVEL_DEMO_SCRIPT;
constexpr char kSettingsProgram[] = ORVEL_SETTINGS_PATH;
constexpr char kQueue[] = "Varnet_Orvel";
// The user's own default printer, which the tour must leave alone.
constexpr char kOwnPrinter[] = "Elsewhere";
constexpr size_t kMaxOutput = 1024 * 1024;

struct ScriptRun {
    int status = -1;
    std::string output;
};

// Runs the demo with the words given before it (an environment), bounded in time, with its
// standard output and error together.
ScriptRun runDemo(const std::string& environment, const std::string& arguments) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + environment +
                                " timeout -k 5 240 " + kDemo + " " + arguments + " </dev/null 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {};
    ScriptRun run;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0 && run.output.size() < kMaxOutput)
        run.output.append(buffer, got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// A job as the tour shows it: decoded under its printer's line, or said to have the same bytes
// as the job of the step's first printer.
struct ShownJob {
    std::string queue;
    std::vector<std::string> decoded;  // without the decoder's comment lines
    std::string sameAs;
};

struct ShownStep {
    std::string command;
    std::vector<std::string> resultLines;
    std::vector<ShownJob> jobs;
};

// The tour's steps, each from its numbered title to the next; what comes before the first and
// after the last ("demo: that was the tour ...") belongs to no step.
std::vector<ShownStep> stepsOf(const std::string& output) {
    static const std::regex kTitle(R"([0-9]+\. .*)");
    static const std::regex kCommand(R"(   \$ (.*))");
    // A sent job's line names its id, which the tour's scheduler chooses: kept out.
    static const std::regex kResult(R"(   ([A-Za-z0-9_]+: (sent|not sent.*?))(: job [0-9]+)?)");
    static const std::regex kJob(
        R"(   ([A-Za-z0-9_]+): job [0-9]+ arrived, (decoded:|the same bytes as ([A-Za-z0-9_]+)'s))");
    std::vector<ShownStep> steps;
    bool inStep = false;
    bool inDecoded = false;
    for (const std::string& line : linesOf(output)) {
        std::smatch parts;
        if (std::regex_match(line, kTitle)) {
            steps.emplace_back();
            inStep = true;
            inDecoded = false;
        } else if (line.rfind("demo: ", 0) == 0) {
            inStep = false;
        } else if (!inStep) {
            continue;
        } else if (inDecoded && line.rfind("       ", 0) == 0) {
            if (line.size() > 7 && line[7] != '#')
                steps.back().jobs.back().decoded.push_back(line.substr(7));
        } else if (std::regex_match(line, parts, kJob)) {
            steps.back().jobs.push_back({parts[1], {}, parts[3]});
            inDecoded = parts[3].length() == 0;
        } else if (std::regex_match(line, parts, kCommand)) {
            steps.back().command = parts[1];
        } else if (std::regex_match(line, parts, kResult)) {
            steps.back().resultLines.push_back(parts[1]);
        }
    }
    return steps;
}

// The nineteen defaults, in the window's order.
const std::vector<std::string> kDefaults = {
    "Font: Sans Serif",
    "Tearoff: Short Auto",
    "Page Length: 12 Inch",
    "Interface: Autoshare",
    "Baud Rate: 9600",
    "Parity: None",
    "Flow Control: Hardware",
    "Strobe Edge: Falling Edge",
    "Character Table: Graphics",
    "Language: Hindi",
    "Language Standard: 8 bit-ISCII",
    "Space Compensation: Disabled",
    "Input Buffer Size: 64k bytes",
    "Skip Over Perforation: OFF",
    "Print Direction: Bi-D",
    "Slashed Zero: Slashed",
    "Line Spacing: 6 LPI",
    "Auto LineFeed: Disabled",
    "Roll Paper: Disabled",
};

// The branch office's profile: the Domestic model (12 inch, Autoshare, then its own USB), the
// Roman typeface, an inch skipped over the perforation and plain zeros; the rest the defaults.
std::vector<std::string> branchOfficeSettings() {
    const std::map<std::string, std::string> named = {
        {"Font", "Roman"},          {"Page Length", "12 Inch"},
        {"Interface", "USB"},       {"Skip Over Perforation", "1 Inch"},
        {"Slashed Zero", "Normal"},
    };
    std::vector<std::string> settings;
    for (const std::string& line : kDefaults) {
        const std::string caption = line.substr(0, line.find(':'));
        const auto choice = named.find(caption);
        settings.push_back(choice == named.end() ? line : caption + ": " + choice->second);
    }
    return settings;
}

bool isFeaturesPage(const std::vector<std::string>& decoded) {
    if (decoded.empty() || decoded.front() != "print an ESC/P page:")
        return false;
    for (const std::string& line : decoded) {
        if (line.find("Varnet Orvel FEATURES") != std::string::npos)
            return true;
    }
    return false;
}

struct PromisedStep {
    const char* what;
    std::string command;
    std::vector<std::string> queues;
    // What the job that each of them received must decode to; empty for the features page.
    std::vector<std::string> settings;
};

// Whether any process names the folder on its command line.
bool anyProcessUses(const std::string& folder) {
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream file(entry.path() / "cmdline", std::ios::binary);
        const std::string words((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
        if (words.find(folder) != std::string::npos)
            return true;
    }
    return false;
}

TEST(DemoTour, WithoutADisplayEachStepShowsTheJobItPromisedAndNothingElseIsTouched) {
    const std::string why = CupsSandbox::whyUnavailable();
    if (!why.empty())
        GTEST_SKIP() << why;
    // The user's own scheduler, with a queue of the tour's name too, and a default printer that
    // CUPS_SERVER, LPDEST, PRINTER and lpoptions each lead to: should any of them reach the tour,
    // its first step goes astray.
    CupsSandbox own;
    own.start();
    own.addQueue(kQueue, false);
    own.addQueue(kOwnPrinter, true);
    const fs::path home = std::getenv("HOME");
    fs::create_directories(home / ".cups");
    std::ofstream(home / ".cups" / "lpoptions") << "Default " << kOwnPrinter << "\n";

    const ScriptRun run = runDemo(std::string("ORVEL_SETTINGS_PROGRAM=") + kSettingsProgram +
                                      " LPDEST=" + kOwnPrinter + " PRINTER=" + kOwnPrinter,
                                  "");
    ASSERT_EQ(run.status, 0) << run.output;

    const std::string profile = "docs/examples/branch-office.profile";
    const std::vector<std::string> fleet = {"orvel001", "orvel002", "orvel003"};
    const std::vector<PromisedStep> promised = {
        {"the defaults stored on the default printer", "apply", {kQueue}, kDefaults},
        {"the example profile stored",
         "apply " + profile + " -d " + kQueue,
         {kQueue},
         branchOfficeSettings()},
        {"the factory settings restored",
         std::string("restore -d ") + kQueue,
         {kQueue},
         {"restore factory settings"}},
        {"the features page", std::string("features-page -d ") + kQueue, {kQueue}, {}},
        {"the profile stored in three printers at once",
         "apply " + profile + " -d orvel001 -d orvel002 -d orvel003", fleet,
         branchOfficeSettings()},
    };
    const std::vector<ShownStep> shown = stepsOf(run.output);
    ASSERT_EQ(shown.size(), promised.size()) << run.output;
    for (size_t i = 0; i < promised.size(); ++i) {
        const PromisedStep& step = promised[i];
        SCOPED_TRACE(step.what);
        EXPECT_EQ(shown[i].command, "orvel-settings " + step.command);
        std::vector<std::string> sent;
        for (const std::string& queue : step.queues)
            sent.push_back(queue + ": sent");
        EXPECT_EQ(shown[i].resultLines, sent);
        ASSERT_EQ(shown[i].jobs.size(), step.queues.size()) << run.output;
        for (size_t j = 0; j < step.queues.size(); ++j) {
            const ShownJob& job = shown[i].jobs[j];
            EXPECT_EQ(job.queue, step.queues[j]);
            if (j > 0 && !job.sameAs.empty()) {
                EXPECT_EQ(job.sameAs, step.queues[0]);
            } else if (step.settings.empty()) {
                EXPECT_TRUE(isFeaturesPage(job.decoded)) << run.output;
            } else {
                EXPECT_EQ(job.decoded, step.settings);
            }
        }
    }
    EXPECT_NE(run.output.find("./tools/demo from a desktop session"), std::string::npos);
    EXPECT_NE(run.output.find("./tools/run.sh"), std::string::npos);

    // The user's scheduler got nothing; the tour's is gone with everything it had.
    for (const char* queue : {kQueue, kOwnPrinter}) {
        EXPECT_TRUE(own.completedJobs(queue).empty()) << queue;
        EXPECT_TRUE(own.activeJobs(queue).empty()) << queue;
    }
    std::smatch folder;
    ASSERT_TRUE(
        std::regex_search(run.output, folder, std::regex(R"((/tmp/orvel\.[A-Za-z0-9]+)/run/sock)")))
        << run.output;
    EXPECT_FALSE(fs::exists(folder[1].str()));
    EXPECT_FALSE(anyProcessUses(folder[1].str())) << "something of the tour still runs";
}

TEST(DemoTour, TheOptionsChooseTheWindowOrTheTour) {
    struct Case {
        const char* arguments;
        int status;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"--help", 0, "--window"},
        {"--help", 0, "--tour"},
        {"--window", 1, "no display"},
        {"--window --tour", 2, "usage: tools/demo [--window | --tour]"},
        {"--colour", 2, "usage: tools/demo [--window | --tour]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ScriptRun run = runDemo("", c.arguments);
        EXPECT_EQ(run.status, c.status) << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
    }
}

}  // namespace
}  // namespace orvel::test
