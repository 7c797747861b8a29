// The program as a script sees it, where no spooler is needed: usage errors, help and version,
// show, and -o, which writes the job's bytes and touches no spooler.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/ProgramRun.h"
#include "tests/support/ByteList.h"

namespace orvel::test {
namespace {

namespace fs = std::filesystem;

using Bytes = std::string;

const char kHint[] = "Try 'orvel-settings --help'.\n";
// No scheduler answers here: a run that asked a spooler would fail or wait.
const std::map<std::string, std::string> kNoSpooler = {
    {"CUPS_SERVER", "/nonexistent/orvel/cups.sock"}};

class OrvelSettings : public ::testing::Test {
protected:
    void SetUp() override {
        char folderTemplate[] = "/tmp/orvel-cli.XXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        folder = folderTemplate;
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string file(const std::string& name, const std::string& text) const {
        const std::string path = folder + "/" + name;
        writeBytes(path, text);
        return path;
    }

    ProgramRun run(std::vector<std::string> arguments,
                   std::optional<std::string> standardInput = std::nullopt) const {
        return runProgram(ProgramInput{std::move(arguments), std::move(standardInput), kNoSpooler});
    }

    std::string folder;
};

TEST_F(OrvelSettings, AUsageErrorIsOneLineAndAHintWithStatus2) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no command given"},
        {{"apply", "-x"}, "unknown option \"-x\""},
        {{"apply", "-d", "orvel5", "-d", "Orvel5"}, "printer \"Orvel5\" named twice"},
        {{"restore", "-o", "job.bin", "-d", "orvel5"},
         "-o writes the job instead of sending it: it does not go with -d"},
    };
    for (const auto& [arguments, error] : cases) {
        SCOPED_TRACE(error);
        const ProgramRun result = run(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "orvel-settings: " + error + "\n" + kHint);
    }
}

TEST_F(OrvelSettings, HelpAndVersion) {
    const ProgramRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "orvel-settings 1.00\n");

    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, {"apply", "-d", "orvel5", "--help"}}) {
        const ProgramRun help = run(arguments);
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("usage: orvel-settings COMMAND [ARGUMENTS]\n", 0), 0u) << help.out;
        EXPECT_EQ(help.err, "");
    }
}

TEST_F(OrvelSettings, ShowPrintsWhatTheProfileStoresInTheDecodersWords) {
    const std::string profile = file("export.profile",
                                     "Model: export\n"
                                     "font: courier\n");
    for (const auto& [arguments, input] :
         {std::pair<std::vector<std::string>, std::optional<std::string>>{{"show", profile}, {}},
          {{"show", "-"}, fileBytes(profile)}}) {
        const ProgramRun shown = run(arguments, input);
        EXPECT_EQ(shown.status, 0) << shown.err;
        EXPECT_EQ(shown.out,
                  "# store permanent settings:\n"
                  "Font: Courier\n"
                  "Tearoff: Short Auto\n"
                  "Page Length: 11 Inch\n"
                  "Interface: Autoshare\n"
                  "Baud Rate: 9600\n"
                  "Parity: None\n"
                  "Flow Control: Hardware\n"
                  "Strobe Edge: Falling Edge\n"
                  "Character Table: Graphics\n"
                  "Language: Hindi\n"
                  "Language Standard: 8 bit-ISCII\n"
                  "Space Compensation: Disabled\n"
                  "Input Buffer Size: 64k bytes\n"
                  "Skip Over Perforation: OFF\n"
                  "Print Direction: Bi-D\n"
                  "Slashed Zero: Slashed\n"
                  "Line Spacing: 6 LPI\n"
                  "Auto LineFeed: Disabled\n"
                  "Roll Paper: Disabled\n"
                  "# The block does not carry the model (Domestic or Export): a model acts only "
                  "through its preset of Page Length and Interface.\n");
    }
}

TEST_F(OrvelSettings, TheExampleProfilesAreGoodProfiles) {
    int examples = 0;
    for (const auto& entry : fs::directory_iterator(ORVEL_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".profile")
            continue;
        ++examples;
        const ProgramRun shown = run({"show", entry.path().string()});
        EXPECT_EQ(shown.status, 0) << entry.path();
        EXPECT_EQ(shown.err, "") << entry.path();
    }
    EXPECT_GT(examples, 0);
}

TEST_F(OrvelSettings, ABadProfileIsTold2AndNothingIsWritten) {
    const std::string profile = file("bad.profile", "Font: Arial\nParity Odd\n");
    const std::string job = folder + "/job.bin";
    const ProgramRun result = run({"apply", profile, "-o", job});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "orvel-settings: " + profile +
                  ":1: \"Arial\" is not a choice of Font; the choices are: Roman, Sans Serif, "
                  "Courier, Prestige, Script, OCR-B, OCR-A, ORATOR, ORATOR-S\n"
                  "orvel-settings: " +
                  profile + ":2: \"Parity Odd\" is not a \"Caption: Choice\" line\n");
    EXPECT_FALSE(fs::exists(job));

    const ProgramRun missing = run({"show", folder + "/none.profile"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "orvel-settings: " + folder +
                               "/none.profile: cannot read it: No such file or directory\n");
}

TEST_F(OrvelSettings, OutputWritesTheJobsExactBytesWithoutASpooler) {
    // The defaults encode as 1, 16, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1; 6 LPI is the 16 of value 1,
    // so 8 LPI makes it 48.
    const std::string profile = file("lpi.profile", "Line Spacing: 8 LPI\n");
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        Bytes expected;
    };
    const std::vector<Case> cases = {
        {"defaults", {"apply"}, bytes({0x1B, 0x19, 0x00, 1, 16, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1})},
        {"a profile",
         {"apply", profile},
         bytes({0x1B, 0x19, 0x00, 1, 48, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1})},
        {"restore", {"restore"}, bytes({0x1B, 0x19, 0x01})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> toStandardOutput = c.arguments;
        toStandardOutput.insert(toStandardOutput.end(), {"-o", "-"});
        const ProgramRun piped = run(toStandardOutput);
        EXPECT_EQ(piped.status, 0) << piped.err;
        EXPECT_EQ(piped.out, c.expected);
        EXPECT_EQ(piped.err, "");

        const std::string job = folder + "/job.bin";
        std::vector<std::string> toFile = c.arguments;
        toFile.insert(toFile.end(), {"-o", job});
        const ProgramRun written = run(toFile);
        EXPECT_EQ(written.status, 0) << written.err;
        EXPECT_EQ(written.out, "");
        EXPECT_EQ(fileBytes(job), c.expected);
    }
}

TEST_F(OrvelSettings, TheFeaturesPageToAFileIsThePrintersPage) {
    const ProgramRun page = run({"features-page", "-o", "-"});
    ASSERT_EQ(page.status, 0) << page.err;
    // The title chunk: ESC @, ESC x 1, ESC k 0, ESC P, ESC w 1, ESC W 1, ESC a 1, then the title.
    EXPECT_EQ(page.out.substr(0, 19),
              bytes({0x1B, 0x40, 0x1B, 0x78, 0x01, 0x1B, 0x6B, 0x00, 0x1B, 0x50, 0x1B, 0x77, 0x01,
                     0x1B, 0x57, 0x01, 0x1B, 0x61, 0x01}));
    EXPECT_EQ(page.out.substr(19, 25), "Varnet Orvel FEATURES\r\n\r\n");
    EXPECT_EQ(page.out.substr(44, 10),
              bytes({0x1B, 0x40, 0x1B, 0x78, 0x01, 0x1B, 0x6B, 0x00, 0x1B, 0x50}));
    EXPECT_EQ(page.out.substr(page.out.size() - 4), "\r\n\x1B@");
}

TEST_F(OrvelSettings, AFileThatCannotBeWrittenIsStatus1) {
    const ProgramRun result = run({"restore", "-o", folder + "/no/such/folder/job.bin"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "orvel-settings: cannot write " + folder +
                              "/no/such/folder/job.bin: No such file or directory\n");
}

TEST_F(OrvelSettings, NoSchedulerForTheListIsStatus1) {
    const ProgramRun result = run({"printers"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "orvel-settings: no scheduler answers at /nonexistent/orvel/cups.sock\n");
}

}  // namespace
}  // namespace orvel::test
