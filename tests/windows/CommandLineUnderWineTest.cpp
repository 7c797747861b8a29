// orvel-settings.exe under wine answers as the Linux build does: the same exit statuses, result
// lines and messages, the same bytes in a job file, and profiles read alike. Where Windows has
// no CUPS server to choose, -h, -E, -U, --wait and printer URIs are refused.
#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "printer/commands/FeaturesPage.h"
#include "printer/commands/mdlFlagSettings.h"
#include "settings/Profile.h"
#include "settings/mdlFlagSettings.h"
#include "tests/support/RandomProfiles.h"
#include "tests/windows/UnderWine.h"

namespace orvel::test {
namespace {

constexpr std::chrono::duration<double> kPause{2.5};

// Both builds' exit statuses.
constexpr int kAllSent = 0;
constexpr int kNotAllSent = 1;
constexpr int kUsageError = 2;

using CommandLineUnderWine = UnderWine;

// The Linux build's result lines in the words of the Windows build, which tells neither a sent
// job's id nor why a printer cannot be opened: winspool's backend does not say.
std::string inWindowsWords(const std::string& linuxLines) {
    static const std::regex kJob(": job [0-9]+");
    static const std::regex kNoSuchPrinter(": not sent: no such printer");
    return std::regex_replace(std::regex_replace(linuxLines, kJob, ""), kNoSuchPrinter,
                              ": not sent: cannot open");
}

// What chooses a CUPS scheduler, or follows its jobs, has nothing to act on here.
TEST_F(CommandLineUnderWine, WhatChoosesASchedulerIsRefusedInOneLineAndNothingIsSent) {
    startWithQueues();
    const std::string hint = "Try 'orvel-settings --help'.\n";
    const std::string noServer =
        "orvel-settings: -h is not available here: name a shared printer as \\\\server\\printer "
        "with -d\n";
    struct Case {
        std::vector<std::string> arguments;
        std::string refusal;
    };
    const std::vector<Case> cases = {
        {{"apply", "-h", "branch.example"}, noServer},
        {{"restore", "-d", kQueue, "-h", "branch.example:631"}, noServer},
        {{"features-page", "-hbranch.example"}, noServer},
        {{"printers", "-h", "localhost"}, noServer},
        {{"restore", "-d", kQueue, "-E"},
         "orvel-settings: -E is not available here: the spooler chooses the encryption\n"},
        {{"printers", "-U", "clerk"},
         "orvel-settings: -U is not available here: jobs are sent as the user who runs this\n"},
        {{"restore", "-d", kQueue, "--wait=5"},
         "orvel-settings: --wait is not available here: the spooler's jobs are not followed\n"},
        {{"restore", "-d", kQueue, "-d", "ipp://localhost/printers/Second"},
         "orvel-settings: printer URIs are not available here: "
         "\"ipp://localhost/printers/Second\"\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        const ProgramAnswer answer = runWindows(c.arguments);
        EXPECT_EQ(answer.exitCode, kUsageError) << shown(answer);
        EXPECT_EQ(answer.out, "");
        EXPECT_EQ(answer.err, c.refusal + hint);
    }
    expectNothingArrived({kQueue, kSecondQueue});
}

TEST_F(CommandLineUnderWine, AJobFileHoldsTheLinuxBuildsBytesAndNothingIsSent) {
    startWithQueues();
    std::mt19937 random(20261212);
    const Selections selections = randomSelections(random);
    const std::string profile = writeFile("random.txt", profileText(selections));
    const FlagSettings block = mdlFlagSettings::fncGetFlagSettings(selections);
    struct Case {
        std::vector<std::string> command;
        Bytes expected;  // as the Linux encoder makes it
    };
    const std::vector<Case> cases = {
        {{"apply", profile},
         mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &block)},
        {{"restore"}, bytes({0x1B, 0x19, 0x01})},
        // CR LF and 0x00 among its bytes: a stream in text mode would change them.
        {{"features-page"}, featuresPageBytes()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command.front());
        const auto with = [&c](const std::string& file) {
            std::vector<std::string> arguments = c.command;
            arguments.insert(arguments.end(), {"-o", file});
            return arguments;
        };
        // A longer file of that name is replaced whole.
        writeFile("windows.bin", std::string(4096, 'x'));
        const ProgramAnswer windows = runWindows(with("windows.bin"));
        EXPECT_EQ(windows.exitCode, kAllSent) << shown(windows);
        EXPECT_EQ(windows.out, "");
        EXPECT_EQ(windows.err, "");
        // No spooler, no pause.
        EXPECT_LT(windows.elapsed.count(), kPause.count());
        const ProgramAnswer onLinux = runLinux(with("linux.bin"));
        EXPECT_EQ(onLinux.exitCode, kAllSent) << shown(onLinux);
        EXPECT_EQ(readFile("windows.bin"), readFile("linux.bin"));
        EXPECT_EQ(readFile("windows.bin"), c.expected);

        const ProgramAnswer toOutput = runWindowsRaw(with("-"));
        EXPECT_EQ(toOutput.exitCode, kAllSent) << shown(toOutput);
        EXPECT_EQ(toOutput.out, runLinux(with("-")).out);
        EXPECT_EQ(toOutput.out, c.expected);
    }
    expectNothingArrived({kQueue, kSecondQueue});
}

TEST_F(CommandLineUnderWine, EveryCommandAnswersAsTheLinuxBuildDoes) {
    startWithQueues();
    writeFile("counter.txt",
              "# the counters\r\n"
              "Model: Domestic\r\n"
              "Font: OCR-B\r\n"
              "interface: usb\r\n");
    writeFile("faulty.txt",
              "Font: Roman\n"
              "Colour: Blue\n"
              "Parity: Sometimes\n"
              "Font: Courier\n"
              "just words\n");
    const FlagSettings defaults =
        mdlFlagSettings::fncGetFlagSettings(profileSelections(readProfile("", "defaults").profile));
    writeFile("settings.bin",
              mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &defaults));
    writeFile("features.bin", featuresPageBytes());
    writeFile("garbage.bin", "\x1B\x19\x07 not a job");

    struct Case {
        std::vector<std::string> arguments;
        int exitCode;  // what both builds give
        int jobsSent = 0;
    };
    const std::vector<Case> cases = {
        {{"--version"}, kAllSent},
        {{"restore", "--help"}, kAllSent},
        {{}, kUsageError},
        {{"frobnicate"}, kUsageError},
        {{"apply", "-x"}, kUsageError},
        {{"show"}, kAllSent},
        {{"show", "counter.txt"}, kAllSent},
        {{"show", "faulty.txt"}, kUsageError},
        {{"apply", "faulty.txt", "-d", kQueue}, kUsageError},
        {{"apply", "no-such.txt"}, kUsageError},
        {{"restore", "-o", "x.bin", "-d", kQueue}, kUsageError},
        {{"restore", "-d", kQueue, "-d", "orvel"}, kUsageError},
        {{"apply", "counter.txt", "-o", "."}, kNotAllSent},
        {{"decode", "settings.bin"}, kAllSent},
        {{"decode", "features.bin"}, kAllSent},
        {{"decode", "garbage.bin"}, kNotAllSent},
        {{"decode", "no-such.bin"}, kUsageError},
        {{"features-page", "-d", "Missing"}, kNotAllSent},
        {{"restore", "-d", kQueue, "-d", "Missing"}, kNotAllSent, 1},
        // Patterns over the names that printers lists.
        {{"restore", "-d", "orv*"}, kAllSent, 1},
        {{"features-page", "-d", "Zz*"}, kNotAllSent},
    };
    int sent = 0;
    for (const Case& c : cases) {
        std::string words;
        for (const std::string& argument : c.arguments)
            words += " " + argument;
        SCOPED_TRACE("orvel-settings" + words);
        const auto [windows, onLinux] = runBoth(c.arguments);
        EXPECT_EQ(windows.exitCode, c.exitCode) << shown(windows);
        EXPECT_EQ(onLinux.exitCode, c.exitCode) << shown(onLinux);
        EXPECT_EQ(windows.out, inWindowsWords(onLinux.out));
        EXPECT_EQ(windows.err, onLinux.err);
        sent += 2 * c.jobsSent;
    }
    EXPECT_EQ(sandbox->waitForCompletedJobs(kQueue, sent).size(), static_cast<size_t>(sent));
    EXPECT_EQ(sandbox->capturedJobs(kQueue).size(), static_cast<size_t>(sent));
    expectNothingArrived({kSecondQueue});
}

// What decode prints, kept in a file as a Windows console writes it (CR LF), is a profile that
// stores the same settings.
TEST_F(CommandLineUnderWine, ADecodedSettingsJobKeptInAFileIsAProfileOfTheSameBytes) {
    std::mt19937 random(20261213);
    for (int i = 0; i < 3; ++i) {
        const Selections selections = randomSelections(random);
        const FlagSettings block = mdlFlagSettings::fncGetFlagSettings(selections);
        const Bytes job =
            mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &block);
        SCOPED_TRACE(profileText(selections));
        writeFile("captured.bin", job);
        const ProgramAnswer decoded = runWindowsRaw({"decode", "captured.bin"});
        ASSERT_EQ(decoded.exitCode, kAllSent) << shown(decoded);
        writeFile("kept.profile", decoded.out);
        const ProgramAnswer written = runWindowsRaw({"apply", "kept.profile", "-o", "-"});
        EXPECT_EQ(written.exitCode, kAllSent) << shown(written);
        EXPECT_EQ(written.out, job);
    }
}

}  // namespace
}  // namespace orvel::test
