#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "printer/commands/FeaturesPage.h"
#include "printer/commands/JobDecoder.h"
#include "printer/commands/Maker.h"
#include "printer/commands/mdlFlagSettings.h"
#include "settings/Profile.h"
#include "settings/mdlFlagSettings.h"
#include "tests/support/BlockVectors.h"
#include "tests/support/RandomProfiles.h"

namespace orvel {
namespace {

using S = Setting;

Selections defaultsWith(const std::map<S, int>& changes) {
    Selections selections{};
    for (const SettingInfo& info : settingsTable())
        selections[index(info.id)] = info.defaultChoice;
    for (const auto& [setting, choice] : changes)
        selections[index(setting)] = choice;
    return selections;
}

FlagSettings blockOf(const std::array<int, 12>& values) {
    FlagSettings block;
    for (int i = 0; i < FlagSettings::kSize; ++i)
        block.values[i] = static_cast<std::int16_t>(values[i]);
    return block;
}

Bytes storeJob(const std::array<int, 12>& values) {
    Bytes job = "\x1B\x19";
    job += '\0';
    for (int value : values)
        job += static_cast<char>(value);
    return job;
}

const std::array<int, 12> kDefaults = test::kDefaultBlock;

std::array<int, 12> defaultsWithValue(int valueIndex, int value) {
    std::array<int, 12> values = kDefaults;
    values[valueIndex] = value;
    return values;
}

class DecodedVector : public ::testing::TestWithParam<test::BlockVector> {};

TEST_P(DecodedVector, GivesBackTheSelectionsThatEncodeIt) {
    const BlockDecodeResult decoded = decodeSettingsBlock(blockOf(GetParam().values));
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.selections, defaultsWith(GetParam().changes));
}

INSTANTIATE_TEST_SUITE_P(Vectors, DecodedVector, ::testing::ValuesIn(test::blockVectors()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsBlockRoundTrip, RandomSelectionsDecodeToThemselves) {
    const unsigned seed = 20261210;
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (int round = 0; round < 5000; ++round) {
        const Selections selections = test::randomSelections(random);
        const BlockDecodeResult decoded =
            decodeSettingsBlock(mdlFlagSettings::fncGetFlagSettings(selections));
        ASSERT_TRUE(decoded.ok()) << "round " << round << ": " << decoded.error;
        ASSERT_EQ(decoded.selections, selections) << "round " << round;
    }
}

TEST(DecodeJob, StoreSettingsListsTheNineteenInDisplayOrderThenTheModelNote) {
    const FlagSettings block = mdlFlagSettings::fncGetFlagSettings(defaultsWith({}));
    const DecodeResult result =
        decodeJob(mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &block));
    ASSERT_TRUE(result.ok()) << result.error;
    const std::vector<std::string> expected = {
        "# store permanent settings:",
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
        "# The block does not carry the model (Domestic or Export): a model acts only through its "
        "preset of Page Length and Interface.",
    };
    EXPECT_EQ(result.lines, expected);
}

std::string textOf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

TEST(DecodeJob, TheDecodingOfASettingsJobIsAProfileThatStoresTheSameBytes) {
    const unsigned seed = 424242;
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (int round = 0; round < 2000; ++round) {
        const Selections selections = test::randomSelections(random);
        const FlagSettings block = mdlFlagSettings::fncGetFlagSettings(selections);
        const Bytes job =
            mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &block);
        const DecodeResult decoded = decodeJob(job);
        ASSERT_TRUE(decoded.ok()) << "round " << round << ": " << decoded.error;
        const ProfileReading profile = readProfile(textOf(decoded.lines), "decoded");
        ASSERT_TRUE(profile.ok()) << "round " << round << ": " << profile.errors.front();
        const FlagSettings again =
            mdlFlagSettings::fncGetFlagSettings(profileSelections(profile.profile));
        ASSERT_EQ(mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &again), job)
            << "round " << round;
    }
}

TEST(DecodeJob, RestoreCommand) {
    const DecodeResult result =
        decodeJob(mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kRestoreDefaults, nullptr));
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.lines, std::vector<std::string>{"restore factory settings"});
}

struct BadInput {
    const char* name;
    Bytes job;
    std::string error;
};

void PrintTo(const BadInput& c, std::ostream* os) {
    *os << c.name;
}

class RejectedJob : public ::testing::TestWithParam<BadInput> {};

TEST_P(RejectedJob, IsAOneLineError) {
    const DecodeResult result = decodeJob(GetParam().job);
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.lines.empty());
    EXPECT_EQ(result.error, GetParam().error);
}

const Bytes kStore = Bytes("\x1B\x19\x00", 3);

INSTANTIATE_TEST_SUITE_P(
    BadInputs, RejectedJob,
    ::testing::Values(
        BadInput{"Empty", "", "empty input"},
        BadInput{"PlainText", "A", "not a job for this printer: it starts with 0x41, not with ESC"},
        BadInput{"LoneEsc", "\x1B", "truncated control sequence at byte 0: ESC without a command"},
        BadInput{"SettingsCommandWithoutParameter", "\x1B\x19",
                 "truncated control sequence ESC EM at byte 0: 1 parameter(s) expected"},
        BadInput{"UnknownSettingsParameter", "\x1B\x19\x02",
                 "unknown permanent settings command ESC EM 2"},
        BadInput{"RestoreWithTrailingByte", Bytes("\x1B\x19\x01\x00", 4),
                 "restore command with 1 byte(s) after it, expected none"},
        BadInput{"StoreWithoutBlock", kStore, "settings command with 0 block bytes, expected 12"},
        BadInput{"ShortBlock", storeJob(kDefaults).substr(0, 14),
                 "settings command with 11 block bytes, expected 12"},
        BadInput{"LongBlock", storeJob(kDefaults) + "\x01",
                 "settings command with 13 block bytes, expected 12"},
        BadInput{"UnknownCommandByte", "\x1Bz", "unknown control sequence ESC 0x7A at byte 0"},
        BadInput{"UnknownSequenceInAPage", "\x1B@ab\x1Bz",
                 "unknown control sequence ESC 0x7A at byte 4"},
        BadInput{"TruncatedSequence", "\x1B@\x1Bk",
                 "truncated control sequence ESC k at byte 2: 1 parameter(s) expected"},
        BadInput{"TrailingEsc", "\x1B@\x1B",
                 "truncated control sequence at byte 2: ESC without a command"},
        BadInput{"SettingsCommandInsideAPage", "\x1B@\x1B\x19\x01",
                 "settings command ESC EM inside a page at byte 2"},
        BadInput{"FontNine", storeJob(defaultsWithValue(0, 9)),
                 "Font: no choice encodes value 0 = 9"},
        BadInput{"PageLengthNotInTheTable", storeJob(defaultsWithValue(5, 100)),
                 "Page Length: no choice encodes value 4 = 16 and value 5 = 100"},
        BadInput{"InterfaceFour", storeJob(defaultsWithValue(6, 4)),
                 "Interface: no choice encodes value 6 = 4"},
        BadInput{"SecondFlagByteBit7", storeJob(defaultsWithValue(2, 2 + 128)),
                 "value 2 has bits 0x80 that no setting uses"},
        BadInput{"LanguageZero", storeJob(defaultsWithValue(10, 0)),
                 "Language: no choice encodes value 10 = 0"},
        BadInput{"TearOffDisabledWithShortManualBits",
                 storeJob({1, 16 + 64, 2, 2, 16, 224, 0, 8, 2, 1, 1, 1}),
                 "Tearoff: no choice encodes value 1 bits 0xC0 = 64 and value 3 bits 0x02 = 2"},
        BadInput{"StrayBitInValue3", storeJob(defaultsWithValue(3, 1)),
                 "value 3 has bits 0x01 that no setting uses"},
        BadInput{"CharacterTableBothBits", storeJob(defaultsWithValue(2, 10)),
                 "Character Table: no choice encodes value 2 bits 0x0A = 10"},
        BadInput{"LanguageStandardBothBits", storeJob(defaultsWithValue(2, 2 + 96)),
                 "Language Standard: no choice encodes value 2 bits 0x60 = 96"},
        BadInput{"InputBufferTwo", storeJob(defaultsWithValue(11, 2)),
                 "Input Buffer Size: no choice encodes value 11 = 2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeSettingsBlock, AValueOutsideAByteIsAnError) {
    FlagSettings block = blockOf(kDefaults);
    block.values[7] = 256;
    EXPECT_EQ(decodeSettingsBlock(block).error, "value 7 is 256, not a byte");
    block.values[7] = -8;
    EXPECT_EQ(decodeSettingsBlock(block).error, "value 7 is -8, not a byte");
}

TEST(DecodeJob, FeaturesPageShowsItsTextWithReadableTokens) {
    const DecodeResult result = decodeJob(featuresPageBytes());
    ASSERT_TRUE(result.ok()) << result.error;
    const std::vector<std::string>& lines = result.lines;
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "print an ESC/P page:");
    EXPECT_EQ(lines[1],
              "<ESC @><ESC x 1><ESC k 0><ESC P><ESC w 1><ESC W 1><ESC a 1>Varnet Orvel FEATURES");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3],
              "<ESC @><ESC x 1><ESC k 0><ESC P>1.24 Pin 80 column Dot Matrix Printer with speed "
              "300 CPS at HSD 10 CPI.");
    const std::string web = maker::kWebAddress;
    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("<ESC k 0><TAB><TAB>Roman<ESC k 1><TAB><TAB>Sans Serif<ESC k 2><TAB>Courier"));
    EXPECT_TRUE(
        has("<ESC k 6><TAB><TAB>OCR-A<ESC k 7><TAB><TAB>ORATOR<ESC k 8><TAB><TAB>ORATOR-s <ESC k "
            "0>"));
    EXPECT_TRUE(has("<ESC E>For Further Details Contact...."));
    EXPECT_TRUE(has("<TAB>Web:<TAB>" + web));
    EXPECT_EQ(lines.back(), "<ESC @>");
}

TEST(DecodeJob, OtherControlBytesAndALoneCarriageReturnAreShownAsHex) {
    const DecodeResult result = decodeJob("\x1B@A\x0C\rB\nC\r\n\x7F\xE9");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.lines,
              (std::vector<std::string>{"print an ESC/P page:", "<ESC @>A<0x0C><0x0D>B<0x0A>C",
                                        "<0x7F><0xE9>"}));
}

Bytes randomBytes(std::mt19937& random, int length) {
    // Weighted towards the bytes the decoder looks at, so that random jobs reach deep into it.
    static const Bytes kInteresting = Bytes("\x1B\x19\x00\x01@xkPwWaE\r\n\t\x0C", 17);
    auto pick = std::uniform_int_distribution<int>(0, 1);
    auto any = std::uniform_int_distribution<int>(0, 255);
    auto interesting = std::uniform_int_distribution<size_t>(0, kInteresting.size() - 1);
    Bytes bytes;
    for (int i = 0; i < length; ++i)
        bytes +=
            pick(random) == 0 ? kInteresting[interesting(random)] : static_cast<char>(any(random));
    return bytes;
}

// A store command of random valid selections with up to two bytes of its block changed.
Bytes nearlyValidStoreJob(std::mt19937& random) {
    const Selections selections = test::randomSelections(random);
    const FlagSettings block = mdlFlagSettings::fncGetFlagSettings(selections);
    Bytes job = mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &block);
    const int changes = std::uniform_int_distribution<int>(0, 2)(random);
    for (int i = 0; i < changes; ++i) {
        const size_t at = std::uniform_int_distribution<size_t>(3, job.size() - 1)(random);
        job[at] = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
    }
    return job;
}

Bytes randomJob(std::mt19937& random) {
    const int length = std::uniform_int_distribution<int>(0, 40)(random);
    switch (std::uniform_int_distribution<int>(0, 3)(random)) {
        case 0:
            return nearlyValidStoreJob(random);
        case 1:
            return "\x1B\x19" + randomBytes(random, length);
        default:
            return randomBytes(random, length);
    }
}

TEST(DecodeJob, RandomBytesGiveADecodingOrOneLineError) {
    const unsigned seed = 777;
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (int round = 0; round < 20000; ++round) {
        const Bytes job = randomJob(random);
        const DecodeResult result = decodeJob(job);
        if (!result.ok()) {
            ASSERT_TRUE(result.lines.empty()) << "round " << round;
            ASSERT_EQ(result.error.find('\n'), std::string::npos) << "round " << round;
            continue;
        }
        ASSERT_FALSE(result.lines.empty()) << "round " << round;
        // A block that decodes stores exactly the selections it names: encoding them again
        // gives the same bytes.
        if (job.size() == 15 && job.compare(0, 3, kStore) == 0) {
            FlagSettings block;
            for (int i = 0; i < FlagSettings::kSize; ++i)
                block.values[i] = static_cast<unsigned char>(job[3 + i]);
            const BlockDecodeResult decoded = decodeSettingsBlock(block);
            ASSERT_TRUE(decoded.ok()) << "round " << round;
            ASSERT_EQ(mdlFlagSettings::fncGetFlagSettings(decoded.selections), block)
                << "round " << round;
        }
    }
}

// --- The decode command ---------------------------------------------------------------------

struct ToolRun {
    int status;
    std::string output;  // standard output and standard error together
};

ToolRun runTool(const std::string& arguments) {
    // Bounded, so that a decoder that reads on without end fails the test instead of holding it.
    const std::string command =
        std::string("timeout -k 5 60 '") + ORVEL_SETTINGS_PATH + "' decode " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {-1, "popen failed"};
    ToolRun run{0, {}};
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, count);
    const int wait = pclose(pipe);
    run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    return run;
}

// The files a test gives the command, in a folder of its own that goes with it: a fixed name in
// the shared temporary folder could be a link planted by another user.
class JobFiles {
public:
    JobFiles() {
        std::string folderTemplate = ::testing::TempDir() + "orvel-decode.XXXXXX";
        if (mkdtemp(&folderTemplate[0]) != nullptr)
            folder_ = folderTemplate;
    }
    ~JobFiles() {
        std::error_code ignored;
        if (!folder_.empty())
            std::filesystem::remove_all(folder_, ignored);
    }
    JobFiles(const JobFiles&) = delete;
    JobFiles& operator=(const JobFiles&) = delete;

    std::string write(const std::string& name, const Bytes& bytes) const {
        const std::string path = folder_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

private:
    std::string folder_;
};

TEST(DecodeCommand, ReadsAFileOrStandardInputAndExitsByOutcome) {
    const JobFiles files;
    const std::string page = files.write("page.bin", featuresPageBytes());
    const std::string shortBlock = files.write("short.bin", storeJob(kDefaults).substr(0, 14));
    std::string decodedPage;
    for (const std::string& line : decodeJob(featuresPageBytes()).lines)
        decodedPage += line + "\n";

    const ToolRun fromFile = runTool("'" + page + "'");
    EXPECT_EQ(fromFile.status, 0);
    EXPECT_EQ(fromFile.output, decodedPage);

    const ToolRun fromStdin = runTool("< '" + page + "'");
    EXPECT_EQ(fromStdin.status, 0);
    EXPECT_EQ(fromStdin.output, decodedPage);

    const ToolRun bad = runTool("< '" + shortBlock + "'");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.output,
              "orvel-settings: standard input: settings command with 11 block bytes, expected "
              "12\n");

    const ToolRun missing = runTool("'" + page + ".missing'");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.output,
              "orvel-settings: cannot read " + page + ".missing: No such file or directory\n");
}

// No job of this printer comes near 1 MiB: reading stops there, whatever the input.
TEST(DecodeCommand, StopsReadingAt1MiBWithOneLine) {
    const std::string tooLarge =
        "too large: more than 1048576 bytes, no job for this printer is near that\n";
    const Bytes largest = "\x1B@" + Bytes(1024 * 1024 - 2, 'A');
    const JobFiles files;
    const std::string atTheCap = files.write("cap.bin", largest);
    const std::string overTheCap = files.write("over.bin", largest + "A");
    struct Case {
        const char* what;
        std::string arguments;
        int status;
        std::string output;
    };
    const std::vector<Case> cases = {
        {"an endless file", "/dev/zero", 1, "orvel-settings: /dev/zero: " + tooLarge},
        {"an endless standard input", "< /dev/zero", 1,
         "orvel-settings: standard input: " + tooLarge},
        {"one byte over", "- < '" + overTheCap + "'", 1,
         "orvel-settings: standard input: " + tooLarge},
        {"exactly 1 MiB", "'" + atTheCap + "'", 0,
         "print an ESC/P page:\n<ESC @>" + std::string(1024 * 1024 - 2, 'A') + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.output, c.output);
    }
}

}  // namespace
}  // namespace orvel
