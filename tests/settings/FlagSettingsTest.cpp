#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "settings/SettingsModel.h"
#include "settings/mdlFlagSettings.h"

namespace orvel {
namespace {

using S = Setting;
using mdlFlagSettings::fncGetFlagSettings;

// The start selections with some boxes changed, set as the program would (ignoring interlocks,
// since the encoder reads every box whatever its enabled state).
Selections defaultsWith(const std::map<S, int>& changes) {
    SettingsModel m;
    m.IntializeSelectionBoxes();
    for (const auto& [setting, choice] : changes)
        m.setSelection(setting, choice);
    return m.selections();
}

struct BlockCase {
    const char* name;
    std::map<S, int> changes;
    std::array<int, 12> expected;
};

void PrintTo(const BlockCase& c, std::ostream* os) {
    *os << c.name;
}

class EncodedBlock : public ::testing::TestWithParam<BlockCase> {};

TEST_P(EncodedBlock, MatchesThePrintersLayout) {
    const FlagSettings block = fncGetFlagSettings(defaultsWith(GetParam().changes));
    for (int i = 0; i < FlagSettings::kSize; ++i) {
        EXPECT_EQ(block.values[i], GetParam().expected[i]) << "value " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, EncodedBlock,
    ::testing::Values(
        BlockCase{"Defaults", {}, {1, 16, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1}},
        BlockCase{"Export", {{S::cboPageLength, 8}}, {1, 16, 2, 0, 15, 120, 0, 8, 2, 1, 1, 1}},
        BlockCase{"FirstFlagByteFull",
                  {{S::cboPrintDir, 0},
                   {S::cboSlaZero, 1},
                   {S::cboSOP, 0},
                   {S::cboRollPaper, 0},
                   {S::cboLineSpc, 3},
                   {S::cboTearOff, 3}},
                  {1, 255, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1}},
        BlockCase{"SecondFlagByteFull",
                  {{S::cboStrobeEdge, 0},
                   {S::cboCharTable, 2},
                   {S::cboALF, 0},
                   {S::cboSpcComp, 0},
                   {S::cboLanStd, 2}},
                  {1, 16, 93, 0, 16, 224, 0, 8, 2, 1, 1, 1}},
        BlockCase{"TearOffDisabledDiffersFromShortAutoOnlyInValue3",
                  {{S::cboTearOff, 4}},
                  {1, 16, 2, 2, 16, 224, 0, 8, 2, 1, 1, 1}},
        BlockCase{"ParallelKeepsTheSerialCodes",
                  {{S::cboInterface, 0}},
                  {1, 16, 2, 0, 16, 224, 1, 8, 2, 1, 1, 1}},
        BlockCase{
            "LineCodesOutOfListOrder",
            {{S::cboInterface, 2}, {S::cboBaudRate, 0}, {S::cboParity, 1}, {S::cboFlowCtrl, 0}},
            {1, 16, 2, 0, 16, 224, 3, 1, 3, 0, 1, 1}},
        BlockCase{"PunjabiAnd32K",
                  {{S::cboLanguage, 7}, {S::cboInputBS, 0}, {S::cboFont, 8}},
                  {8, 16, 2, 0, 16, 224, 0, 8, 2, 1, 8, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncodedBlock, EveryPageLengthGivesItsTwoBytesHighFirst) {
    const std::vector<std::pair<int, int>> bytes = {{4, 56},   {5, 40},   {5, 160},  {7, 188},
                                                    {8, 112},  {9, 216},  {11, 64},  {11, 244},
                                                    {15, 120}, {16, 101}, {16, 224}, {19, 176}};
    for (int choice = 0; choice < static_cast<int>(bytes.size()); ++choice) {
        const FlagSettings block = fncGetFlagSettings(defaultsWith({{S::cboPageLength, choice}}));
        EXPECT_EQ(block.values[4], bytes[choice].first) << "choice " << choice;
        EXPECT_EQ(block.values[5], bytes[choice].second) << "choice " << choice;
    }
}

TEST(EncodedBlock, ChangingOneBoxChangesOnlyTheValuesItFeeds) {
    const FlagSettings base = fncGetFlagSettings(defaultsWith({}));
    EXPECT_EQ(fncGetFlagSettings(defaultsWith({})), base);
    for (const BlockField& field : blockFields()) {
        const SettingInfo& info = settingInfo(field.setting);
        const int other = (info.defaultChoice + 1) % static_cast<int>(info.choices.size());
        const FlagSettings changed = fncGetFlagSettings(defaultsWith({{field.setting, other}}));
        for (int i = 0; i < FlagSettings::kSize; ++i) {
            bool fed = false;
            for (const BlockField& f : blockFields()) {
                fed = fed || (f.setting == field.setting && f.valueIndex == i);
            }
            if (!fed) {
                EXPECT_EQ(changed.values[i], base.values[i]) << info.box << " value " << i;
            }
        }
    }
}

TEST(EncodedBlock, ABoxWithoutSelectionIsAProgrammingError) {
    SettingsModel created;
    EXPECT_THROW(fncGetFlagSettings(created.selections()), std::out_of_range);
}

}  // namespace
}  // namespace orvel
