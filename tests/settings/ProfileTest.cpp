// Reading and writing profiles: the window's captions and choices, the model preset, the errors.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "settings/Profile.h"
#include "settings/mdlFlagSettings.h"
#include "tests/support/BlockVectors.h"
#include "tests/support/RandomProfiles.h"

namespace orvel {
namespace {

using Block = std::array<int, 12>;

Block blockOf(const std::string& text) {
    const ProfileReading reading = readProfile(text, "office.profile");
    EXPECT_TRUE(reading.ok()) << (reading.errors.empty() ? "" : reading.errors.front());
    const FlagSettings block =
        mdlFlagSettings::fncGetFlagSettings(profileSelections(reading.profile));
    Block values{};
    for (int i = 0; i < FlagSettings::kSize; ++i)
        values[i] = block.values[i];
    return values;
}

// The printer's settings as the window shows them: caption and choices in list order.
struct DesignSetting {
    const char* caption;
    std::vector<const char*> choices;
};

const std::vector<DesignSetting>& designSettings() {
    static const std::vector<DesignSetting> settings = {
        {"Font",
         {"Roman", "Sans Serif", "Courier", "Prestige", "Script", "OCR-B", "OCR-A", "ORATOR",
          "ORATOR-S"}},
        {"Tearoff", {"Short Auto", "Short Manual", "True Auto", "True Manual", "Disabled"}},
        {"Page Length",
         {"3 Inch", "3.67 Inch", "4 Inch", "5.5 Inch", "6 Inch", "7 Inch", "8 Inch", "8.5 Inch",
          "11 Inch", "11.66 Inch", "12 Inch", "14 Inch"}},
        {"Interface", {"Parallel", "Serial", "USB", "Autoshare"}},
        {"Baud Rate", {"300", "1200", "4800", "9600", "19200"}},
        {"Parity", {"Even", "Odd", "None"}},
        {"Flow Control", {"Xon/Xoff ", "Hardware", "None"}},
        {"Strobe Edge", {"Rising Edge", "Falling Edge"}},
        {"Character Table", {"Italic", "Graphics", "Indian Language"}},
        {"Language",
         {"Hindi", "Bengali", "Tamil", "Telugu", "Kannada", "Malayalam", "Gujarathi", "Punjabi"}},
        {"Language Standard", {"8 bit-ISCII", "PC-ISCII", "EA-ISCII"}},
        {"Space Compensation", {"Enabled", "Disabled"}},
        {"Input Buffer Size", {"32K bytes", "64k bytes"}},
        {"Skip Over Perforation", {"1 Inch", "OFF"}},
        {"Print Direction", {"Uni-D", "Bi-D"}},
        {"Slashed Zero", {"Slashed", "Normal"}},
        {"Line Spacing", {"5 LPI", "6 LPI", "7 LPI", "8 LPI"}},
        {"Auto LineFeed", {"Enabled", "Disabled"}},
        {"Roll Paper", {"Enabled", "Disabled"}},
    };
    return settings;
}

std::string flippedCase(const std::string& text) {
    std::string flipped = text;
    for (char& c : flipped) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return flipped;
}

TEST(ProfileCaptionsAndChoices, EveryChoiceOfTheWindowIsReadWhateverItsCaseAndBlanks) {
    ASSERT_EQ(designSettings().size(), static_cast<size_t>(kSettingCount));
    for (size_t row = 0; row < designSettings().size(); ++row) {
        const DesignSetting& setting = designSettings()[row];
        for (size_t choice = 0; choice < setting.choices.size(); ++choice) {
            for (const std::string& line :
                 {std::string(setting.caption) + ": " + setting.choices[choice],
                  " \t" + flippedCase(setting.caption) + " :\t " +
                      flippedCase(setting.choices[choice]) + "  \r"}) {
                SCOPED_TRACE(line);
                const ProfileReading reading = readProfile(line, "p");
                ASSERT_TRUE(reading.ok()) << reading.errors.front();
                ASSERT_EQ(reading.profile.settings.size(), 1u);
                EXPECT_EQ(index(reading.profile.settings[0].setting), static_cast<int>(row));
                EXPECT_EQ(reading.profile.settings[0].choice, static_cast<int>(choice));
            }
        }
    }
}

TEST(ProfileCaptionsAndChoices, WrittenLinesAreTheWindowsTextsInDisplayOrder) {
    Selections last{};
    for (const SettingInfo& info : settingsTable())
        last[index(info.id)] = static_cast<int>(info.choices.size()) - 1;
    const std::vector<std::string> lines = profileLines(last);
    ASSERT_EQ(lines.size(), designSettings().size());
    for (size_t row = 0; row < lines.size(); ++row) {
        const DesignSetting& setting = designSettings()[row];
        EXPECT_EQ(lines[row], std::string(setting.caption) + ": " + setting.choices.back());
    }
}

struct ValidProfile {
    const char* name;
    std::string text;
    Block block;
};

void PrintTo(const ValidProfile& c, std::ostream* os) {
    *os << c.name;
}

class StoredBlock : public ::testing::TestWithParam<ValidProfile> {};

TEST_P(StoredBlock, IsTheBlockOfTheDefaultsThePresetAndTheNamedSettings) {
    EXPECT_EQ(blockOf(GetParam().text), GetParam().block);
}

// The blocks written out from the printer's layout: the defaults are 1, 16, 2, 0, 16, 224, 0, 8,
// 2, 1, 1, 1; the Export model's 11 inch page is 15, 120.
INSTANTIATE_TEST_SUITE_P(
    Forms, StoredBlock,
    ::testing::Values(
        ValidProfile{"CommentsAndBlankLines",
                     "# office counters\n\n   \n\t# Font: Roman\nFont: Sans Serif\n",
                     test::kDefaultBlock},
        ValidProfile{"ExportModel", "Model: Export\n", {1, 16, 2, 0, 15, 120, 0, 8, 2, 1, 1, 1}},
        ValidProfile{"DomesticModel", "model:domestic", test::kDefaultBlock},
        ValidProfile{"ModelPresetThenTheNamedPageLength",
                     "Page Length: 6 Inch\nModel: Export\n",
                     {1, 16, 2, 0, 8, 112, 0, 8, 2, 1, 1, 1}},
        ValidProfile{"NamedInterfaceWinsOverThePresetAfterIt",
                     "Interface: Parallel\nModel: Export\n",
                     {1, 16, 2, 0, 15, 120, 1, 8, 2, 1, 1, 1}},
        ValidProfile{"SerialBoxesThatParallelDisablesStillCount",
                     "Interface: USB\nBaud Rate: 300\nParity: Odd\nFlow Control: xon/xoff\n",
                     {1, 16, 2, 0, 16, 224, 3, 1, 3, 0, 1, 1}},
        ValidProfile{"LanguageBoxesThatGraphicsDisablesStillCount",
                     "Language: Punjabi\nLanguage Standard: EA-ISCII\nSpace Compensation: "
                     "Enabled\n",
                     {1, 16, 2 + 16 + 64, 0, 16, 224, 0, 8, 2, 1, 8, 1}},
        ValidProfile{"TearoffThatRollPaperDisablesStillCounts",
                     "Roll Paper: Enabled\nTearoff: True Manual\n",
                     {1, 16 + 8 + 192, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1}},
        ValidProfile{"WindowsLineEndsAndAByteOrderMark",
                     "\xEF\xBB\xBF"
                     "Font: Courier\r\nInput Buffer Size: 32k BYTES\r\n",
                     {2, 16, 2, 0, 16, 224, 0, 8, 2, 1, 1, 0}},
        ValidProfile{"NoLineEndAfterTheLastLine",
                     "Slashed Zero: Normal",
                     {1, 16 + 2, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadProfile {
    const char* name;
    std::string text;
    std::vector<std::string> errors;
};

void PrintTo(const BadProfile& c, std::ostream* os) {
    *os << c.name;
}

class RejectedProfile : public ::testing::TestWithParam<BadProfile> {};

TEST_P(RejectedProfile, NamesTheFileTheLineAndTheWordAtFault) {
    const ProfileReading reading = readProfile(GetParam().text, "office.profile");
    EXPECT_FALSE(reading.ok());
    EXPECT_EQ(reading.errors, GetParam().errors);
}

const char kSettingsList[] =
    "Model, Font, Tearoff, Page Length, Interface, Baud Rate, Parity, Flow Control, Strobe Edge, "
    "Character Table, Language, Language Standard, Space Compensation, Input Buffer Size, Skip "
    "Over Perforation, Print Direction, Slashed Zero, Line Spacing, Auto LineFeed, Roll Paper";

INSTANTIATE_TEST_SUITE_P(
    Errors, RejectedProfile,
    ::testing::Values(
        BadProfile{"UnknownCaption",
                   "# ok\nFnt: Roman\n",
                   {std::string("office.profile:2: unknown setting \"Fnt\"; the settings are: ") +
                    kSettingsList}},
        BadProfile{"ChoiceNotInItsList",
                   "Flow Control: Xon\n",
                   {"office.profile:1: \"Xon\" is not a choice of Flow Control; the choices are: "
                    "Xon/Xoff, Hardware, None"}},
        BadProfile{"NoChoice",
                   "Parity:\n",
                   {"office.profile:1: \"\" is not a choice of Parity; the choices are: Even, "
                    "Odd, None"}},
        BadProfile{"SettingNamedTwice",
                   "Font: Roman\n\nfont: roman\n",
                   {"office.profile:3: Font is named twice, first on line 1"}},
        BadProfile{"NotACaptionChoiceLine",
                   "Font Roman\n",
                   {"office.profile:1: \"Font Roman\" is not a \"Caption: Choice\" line"}},
        BadProfile{"NoCaption",
                   "  : Roman\n",
                   {"office.profile:1: \": Roman\" is not a \"Caption: Choice\" line"}},
        BadProfile{"UnknownModel",
                   "Model: Domestic Model\n",
                   {"office.profile:1: \"Domestic Model\" is not a choice of Model; the choices "
                    "are: Domestic, Export"}},
        BadProfile{"ModelNamedTwice",
                   "Model: Export\nModel: Export\n",
                   {"office.profile:2: Model is named twice, first on line 1"}},
        BadProfile{"EveryFaultyLineInOrder",
                   "Font: Arial\nTear off: Disabled\nRoll Paper: Enabled\nRoll Paper: Disabled\n",
                   {"office.profile:1: \"Arial\" is not a choice of Font; the choices are: Roman, "
                    "Sans Serif, Courier, Prestige, Script, OCR-B, OCR-A, ORATOR, ORATOR-S",
                    std::string("office.profile:2: unknown setting \"Tear off\"; the settings "
                                "are: ") +
                        kSettingsList,
                    "office.profile:4: Roll Paper is named twice, first on line 3"}},
        BadProfile{"LongWordIsCut",
                   "Font: " + std::string(100, 'x') + "\n",
                   {"office.profile:1: \"" + std::string(60, 'x') +
                    "...\" is not a choice of Font; the choices are: Roman, Sans Serif, Courier, "
                    "Prestige, Script, OCR-B, OCR-A, ORATOR, ORATOR-S"}},
        BadProfile{"NulByte",
                   "Font: Roman\nParity: No" + std::string(1, '\0') + "ne\n",
                   {"office.profile:2: a control byte 0x00, not a profile"}},
        BadProfile{"EscapeByte",
                   "Font: \x1B[31mRoman\n",
                   {"office.profile:1: a control byte 0x1B, not a profile"}},
        // What "decode captured.bin > counters.profile" leaves when the file is no settings
        // job: storing the defaults from it would reset every printer named.
        BadProfile{"Empty",
                   "",
                   {"office.profile: names no setting, not a profile (without a "
                    "profile, the defaults are stored)"}},
        BadProfile{"OnlyCommentsAndBlankLines",
                   "\xEF\xBB\xBF# office counters\r\n\n   \n\t# Font: Roman\n",
                   {"office.profile: names no setting, not a profile (without a profile, the "
                    "defaults are stored)"}},
        BadProfile{"LargerThan64KiB",
                   std::string(64 * 1024 + 1, '#'),
                   {"office.profile: larger than 65536 bytes, not a profile"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileSize, AProfileOfExactly64KiBIsRead) {
    std::string text = "Font: Roman\n";
    text += std::string(64 * 1024 - text.size(), '#');
    const ProfileReading reading = readProfile(text, "p");
    EXPECT_TRUE(reading.ok());
    EXPECT_EQ(reading.profile.settings.size(), 1u);
}

TEST(ProfileRoundTrip, WrittenLinesOfRandomSelectionsReadBackToThemselves) {
    const unsigned seed = 20261211;
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (int round = 0; round < 2000; ++round) {
        const Selections selections = test::randomSelections(random);
        const std::string text = test::profileText(selections);
        const ProfileReading reading = readProfile(text, "p");
        ASSERT_TRUE(reading.ok()) << "round " << round << ": " << reading.errors.front();
        ASSERT_EQ(profileSelections(reading.profile), selections) << "round " << round;
    }
}

}  // namespace
}  // namespace orvel
