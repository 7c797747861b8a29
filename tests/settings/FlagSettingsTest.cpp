#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "settings/SettingsModel.h"
#include "settings/mdlFlagSettings.h"
#include "tests/support/BlockVectors.h"

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

class EncodedBlock : public ::testing::TestWithParam<test::BlockVector> {};

TEST_P(EncodedBlock, MatchesThePrintersLayout) {
    const FlagSettings block = fncGetFlagSettings(defaultsWith(GetParam().changes));
    for (int i = 0; i < FlagSettings::kSize; ++i) {
        EXPECT_EQ(block.values[i], GetParam().values[i]) << "value " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Vectors, EncodedBlock, ::testing::ValuesIn(test::blockVectors()),
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
