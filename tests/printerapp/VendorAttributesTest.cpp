// The settings as the printer application's IPP attributes: their checks as a user's choices
// (interlocks, presets), their file, and the paper named after the page lengths.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "printerapp/driver/Media.h"
#include "printerapp/settings/SettingsStore.h"
#include "printerapp/settings/VendorAttributes.h"

namespace orvel::printerapp {
namespace {

TEST(VendorAttributes, ChoiceTextsAsKeywords) {
    const std::pair<const char*, const char*> cases[] = {
        {"Xon/Xoff ", "xon-xoff"},  {"3.67 Inch", "3-67-inch"}, {"8 bit-ISCII", "8-bit-iscii"},
        {"32K bytes", "32k-bytes"}, {"ORATOR-S", "orator-s"},   {"Auto LineFeed", "auto-linefeed"},
    };
    for (const auto& [text, keyword] : cases)
        EXPECT_EQ(keywordOf(text), keyword) << text;
    EXPECT_EQ(settingOfAttribute("orvel-baud-rate-default"), Setting::cboBaudRate);
    EXPECT_EQ(settingOfAttribute("orvel-baud-rate"), Setting::cboBaudRate);
    EXPECT_EQ(settingOfAttribute("orvel-baud"), std::nullopt);
    EXPECT_EQ(choiceOfKeyword(Setting::cboParity, "odd"), 1);
    EXPECT_EQ(choiceOfKeyword(Setting::cboParity, "Odd"), -1);
}

StoredSettings withInterface(int choice) {
    StoredSettings stored = defaultSettings();
    stored.selections[index(Setting::cboInterface)] = choice;
    return stored;
}

TEST(VendorAttributes, ChangesAreCheckedAsTheUsersChoices) {
    const int parallel = 0, serial = 1, baud1200 = 1;
    // Baud rate is disabled while the interface is parallel...
    ChangeOutcome refused =
        applyChanges(withInterface(parallel), std::nullopt, {{Setting::cboBaudRate, baud1200}});
    EXPECT_FALSE(refused.accepted);
    EXPECT_EQ(refused.refused, Setting::cboBaudRate);
    EXPECT_EQ(refused.result.selections, withInterface(parallel).selections);
    // ...but the same request choosing serial enables it first, whatever the order given.
    ChangeOutcome taken =
        applyChanges(withInterface(parallel), std::nullopt,
                     {{Setting::cboBaudRate, baud1200}, {Setting::cboInterface, serial}});
    ASSERT_TRUE(taken.accepted);
    EXPECT_EQ(taken.result.selections[index(Setting::cboBaudRate)], baud1200);
    // A disabled box named with the choice it holds changes nothing and is no fault.
    EXPECT_TRUE(
        applyChanges(withInterface(parallel), std::nullopt, {{Setting::cboBaudRate, 3}}).accepted);
    // Roll Paper "Enabled" and a Tearoff choice in one request: Tearoff is then disabled.
    EXPECT_FALSE(applyChanges(defaultSettings(), std::nullopt,
                              {{Setting::cboRollPaper, 0}, {Setting::cboTearOff, 2}})
                     .accepted);
}

TEST(VendorAttributes, AModelAppliesItsPresetBeforeTheChanges) {
    // Export: "11 Inch" and "Autoshare"; a page length chosen with it stands.
    ChangeOutcome exported = applyChanges(withInterface(0), Model::OptExport, {});
    ASSERT_TRUE(exported.accepted);
    EXPECT_EQ(exported.result.model, Model::OptExport);
    EXPECT_EQ(exported.result.selections[index(Setting::cboPageLength)], 8);
    EXPECT_EQ(exported.result.selections[index(Setting::cboInterface)], 3);
    ChangeOutcome sixInch =
        applyChanges(exported.result, Model::OptExport, {{Setting::cboPageLength, 4}});
    EXPECT_EQ(sixInch.result.selections[index(Setting::cboPageLength)], 4);
}

TEST(SettingsStore, KeptAndReadBackAndADamagedFileGivesTheDefaults) {
    const std::string path = ::testing::TempDir() + "/orvel-settings-store-test";
    StoredSettings stored = applyChanges(defaultSettings(), Model::OptExport,
                                         {{Setting::cboFlowCtrl, 0}, {Setting::cboFont, 8}})
                                .result;
    ASSERT_TRUE(saveSettings(path, stored));
    const StoredSettings read = loadSettings(path);
    EXPECT_EQ(read.selections, stored.selections);
    EXPECT_EQ(read.model, Model::OptExport);
    std::ofstream(path) << "Font: Comic\n";
    EXPECT_EQ(loadSettings(path).selections, defaultSettings().selections);
    std::remove(path.c_str());
    EXPECT_EQ(loadSettings(path).selections, defaultSettings().selections);
}

TEST(Media, ContinuousPaperOfEveryPageLengthAndTheUsualSheets) {
    // The page length choices and the printer's numbers for them, in 1/360 inch.
    const std::pair<const char*, int> lengths[] = {
        {"3", 1080}, {"3.67", 1320}, {"4", 1440},  {"5.5", 1980},   {"6", 2160},  {"7", 2520},
        {"8", 2880}, {"8.5", 3060},  {"11", 3960}, {"11.66", 4197}, {"12", 4320}, {"14", 5040},
    };
    for (std::size_t i = 0; i < std::size(lengths); ++i) {
        const MediaSize& size = continuousMedia(static_cast<int>(i));
        EXPECT_TRUE(size.continuous);
        EXPECT_EQ(size.pwgName.substr(size.pwgName.rfind('_')),
                  std::string("_8.5x") + lengths[i].first + "in");
        EXPECT_EQ(size.lengthIn360ths, lengths[i].second);
        EXPECT_EQ(lengthIn360thsFor(size.pwgName, 0), lengths[i].second);
    }
    EXPECT_EQ(lengthIn360thsFor("iso_a4_210x297mm", 29700), 4209);
    EXPECT_EQ(lengthIn360thsFor("custom_x", 25400), 3600);  // 10 inches
}

}  // namespace
}  // namespace orvel::printerapp
