// The command line, read and checked before anything runs.
#include <gtest/gtest.h>

#include "cli/command/CommandLine.h"

namespace orvel::cli {
namespace {

using Words = std::vector<std::string>;

struct GoodLine {
    const char* name;
    Words words;
    Command command;
    std::optional<std::string> file;
    Words printers;
    std::optional<std::string> server;
    std::optional<std::string> output;
};

void PrintTo(const GoodLine& c, std::ostream* os) {
    *os << c.name;
}

class AcceptedCommandLine : public ::testing::TestWithParam<GoodLine> {};

TEST(SendingOptions, AreReadWithTheirValues) {
    const CommandLineReading reading =
        CommandLine::read({"apply", "--json", "-E", "-U", "clerk", "--wait=30", "-d", "q1"});
    ASSERT_TRUE(reading.ok()) << reading.error;
    EXPECT_TRUE(reading.invocation.json);
    EXPECT_TRUE(reading.invocation.encrypt);
    EXPECT_EQ(reading.invocation.user, "clerk");
    EXPECT_EQ(reading.invocation.waitSeconds, 30);
    EXPECT_EQ(CommandLine::read({"restore", "--wait"}).invocation.waitSeconds, 60);
    EXPECT_EQ(CommandLine::read({"printers", "-E", "-Uclerk"}).error, "");
    const Invocation plain = CommandLine::read({"restore"}).invocation;
    EXPECT_FALSE(plain.json || plain.encrypt || plain.user || plain.waitSeconds);
}

TEST_P(AcceptedCommandLine, GivesTheInvocation) {
    const CommandLineReading reading = CommandLine::read(GetParam().words);
    ASSERT_TRUE(reading.ok()) << reading.error;
    const Invocation& invocation = reading.invocation;
    EXPECT_EQ(invocation.command, GetParam().command);
    EXPECT_EQ(invocation.file, GetParam().file);
    EXPECT_EQ(invocation.printers, GetParam().printers);
    EXPECT_EQ(invocation.server, GetParam().server);
    EXPECT_EQ(invocation.output, GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, AcceptedCommandLine,
    ::testing::Values(
        GoodLine{"ShowDefaults", {"show"}, Command::Show, {}, {}, {}, {}},
        GoodLine{"ShowStandardInput", {"show", "-"}, Command::Show, "-", {}, {}, {}},
        GoodLine{"ApplyToPrintersInOrder",
                 {"apply", "-d", "orvel6", "office.profile", "-dorvel5", "-h", "cups.example:631"},
                 Command::Apply,
                 "office.profile",
                 {"orvel6", "orvel5"},
                 "cups.example:631",
                 {}},
        GoodLine{"ApplyToAFile", {"apply", "-o", "-"}, Command::Apply, {}, {}, {}, "-"},
        GoodLine{"ProfileThatLooksLikeAnOption",
                 {"apply", "--", "-d"},
                 Command::Apply,
                 "-d",
                 {},
                 {},
                 {}},
        GoodLine{"WindowsSharedPrinter",
                 {"restore", "-d", "\\\\server\\Orvel 5"},
                 Command::Restore,
                 {},
                 {"\\\\server\\Orvel 5"},
                 {},
                 {}},
        GoodLine{"FeaturesPageToFile",
                 {"features-page", "-opage.bin"},
                 Command::FeaturesPage,
                 {},
                 {},
                 {},
                 "page.bin"},
        GoodLine{"DecodeFile", {"decode", "job.bin"}, Command::Decode, "job.bin", {}, {}, {}},
        GoodLine{"PrintersOfAServer",
                 {"printers", "-h", "/run/cups/cups.sock"},
                 Command::Printers,
                 {},
                 {},
                 "/run/cups/cups.sock",
                 {}},
        GoodLine{"URIsAndPatternsAreNamesHere",
                 {"restore", "-d", "ipp://print.example/printers/q1", "-d", "branch*"},
                 Command::Restore,
                 {},
                 {"ipp://print.example/printers/q1", "branch*"},
                 {},
                 {}},
        GoodLine{"HelpWinsAnywhere", {"apply", "-x", "--help"}, Command::Help, {}, {}, {}, {}},
        GoodLine{"Version", {"--version"}, Command::Version, {}, {}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadLine {
    const char* name;
    Words words;
    std::string error;
};

void PrintTo(const BadLine& c, std::ostream* os) {
    *os << c.name;
}

class RejectedCommandLine : public ::testing::TestWithParam<BadLine> {};

TEST_P(RejectedCommandLine, SaysWhyInOneLine) {
    EXPECT_EQ(CommandLine::read(GetParam().words).error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, RejectedCommandLine,
    ::testing::Values(
        BadLine{"NoCommand", {}, "no command given"},
        BadLine{"UnknownCommand", {"aply"}, "unknown command \"aply\""},
        BadLine{"UnknownOption", {"apply", "-x"}, "unknown option \"-x\""},
        BadLine{
            "UnknownLongOption", {"apply", "--dest=orvel5"}, "unknown option \"--dest=orvel5\""},
        BadLine{"PrinterMissing", {"apply", "-d"}, "-d needs a printer name"},
        BadLine{"ServerMissing", {"restore", "-h"}, "-h needs a server"},
        BadLine{"FileMissing", {"features-page", "-o"}, "-o needs a file"},
        BadLine{"EmptyFile", {"apply", "-o", ""}, "-o needs a file"},
        BadLine{"PrinterForShow", {"show", "-d", "orvel5"}, "-d does not go with show"},
        BadLine{"ServerForDecode", {"decode", "-h", "x"}, "-h does not go with decode"},
        BadLine{"OutputForPrinters", {"printers", "-o", "x"}, "-o does not go with printers"},
        BadLine{"FileForRestore",
                {"restore", "office.profile"},
                "restore takes no file: \"office.profile\""},
        BadLine{"TwoProfiles",
                {"apply", "a.profile", "b.profile"},
                "apply takes one PROFILE at most: \"b.profile\""},
        BadLine{"TwoJobs", {"decode", "a", "b"}, "decode takes one FILE at most: \"b\""},
        BadLine{"ServerTwice", {"apply", "-h", "a", "-h", "b"}, "-h given twice"},
        BadLine{"OutputTwice", {"apply", "-o", "a", "-o", "b"}, "-o given twice"},
        BadLine{"OutputWithPrinter",
                {"apply", "-o", "job.bin", "-d", "orvel5"},
                "-o writes the job instead of sending it: it does not go with -d"},
        BadLine{"OutputWithServer",
                {"restore", "-h", "s", "-o", "job.bin"},
                "-o writes the job instead of sending it: it does not go with -h"},
        BadLine{"JsonForShow", {"show", "--json"}, "--json does not go with show"},
        BadLine{"WaitForPrinters", {"printers", "--wait"}, "--wait does not go with printers"},
        BadLine{"WaitTwice", {"apply", "--wait", "--wait=5"}, "--wait given twice"},
        BadLine{"WaitZero", {"apply", "--wait=0"}, "--wait takes 1 to 600 seconds: \"--wait=0\""},
        BadLine{"WaitTooLong",
                {"apply", "--wait=601"},
                "--wait takes 1 to 600 seconds: \"--wait=601\""},
        BadLine{"WaitNotANumber",
                {"apply", "--wait=1m"},
                "--wait takes 1 to 600 seconds: \"--wait=1m\""},
        BadLine{"EncryptForDecode", {"decode", "-E"}, "-E does not go with decode"},
        BadLine{"UserMissing", {"restore", "-U"}, "-U needs a user name"},
        BadLine{"UserTwice", {"restore", "-U", "a", "-Ub"}, "-U given twice"},
        BadLine{"EmptyUser", {"restore", "-U", ""}, "empty user name"},
        BadLine{"OutputWithJson",
                {"restore", "--json", "-o", "job.bin"},
                "-o writes the job instead of sending it: it does not go with --json"},
        BadLine{"OutputWithEncryption",
                {"restore", "-o", "job.bin", "-E"},
                "-o writes the job instead of sending it: it does not go with -E"},
        BadLine{"EmptyPrinter", {"apply", "-d", ""}, "empty printer name"},
        BadLine{"ControlCharacterInPrinter",
                {"apply", "-d", "orvel\x1B[2J"},
                "a control character in the printer name"},
        BadLine{"LongPrinter",
                {"apply", "-d", std::string(256, 'q')},
                "printer name longer than 255 bytes"},
        BadLine{"EmptyServer", {"printers", "-h", ""}, "empty server name"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvel::cli
