#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/SettingsModel.h"

namespace orvel {
namespace {

using S = Setting;

// Writes down every notification as one line, in the order it arrives.
class RecordingObserver : public SettingsObserver {
public:
    std::vector<std::string> events;

    void selectionSet(Setting setting, int choice) override {
        events.push_back("select " + settingInfo(setting).box + " " + std::to_string(choice));
    }
    void enabledSet(Setting setting, bool enabled) override {
        events.push_back((enabled ? "enable " : "disable ") + settingInfo(setting).box);
    }
    void modelSet(Model model) override {
        events.push_back(model == Model::OptDomestic ? "model OptDomestic" : "model OptExport");
    }
};

struct State {
    Selections selections;
    std::array<bool, kSettingCount> enabled;
    Model model;
    bool operator==(const State& o) const {
        return selections == o.selections && enabled == o.enabled && model == o.model;
    }
};

State stateOf(const SettingsModel& m) {
    State s{m.selections(), {}, m.model()};
    for (int i = 0; i < kSettingCount; ++i)
        s.enabled[i] = m.isEnabled(settingAt(i));
    return s;
}

State initializedState() {
    SettingsModel m;
    m.IntializeSelectionBoxes();
    return stateOf(m);
}

TEST(SettingsModelStart, CreatedStateHasNoSelectionNoModelAndEveryBoxEnabled) {
    SettingsModel m;
    EXPECT_EQ(m.model(), Model::None);
    for (int i = 0; i < kSettingCount; ++i) {
        EXPECT_EQ(m.selection(settingAt(i)), SettingsModel::kNoSelection);
        EXPECT_TRUE(m.isEnabled(settingAt(i)));
    }
}

TEST(SettingsModelStart, InitialisationSelectsEveryDefaultWithTheStartEnabledStates) {
    SettingsModel m;
    m.IntializeSelectionBoxes();
    EXPECT_EQ(m.model(), Model::OptDomestic);
    for (const SettingInfo& info : settingsTable()) {
        EXPECT_EQ(m.choiceText(info.id), info.choices[info.defaultChoice]) << info.box;
    }
    EXPECT_EQ(m.choiceText(S::cboPageLength), "12 Inch");
    const std::vector<S> disabled = {S::cboLanguage, S::cboLanStd, S::cboSpcComp};
    for (const SettingInfo& info : settingsTable()) {
        const bool expectDisabled =
            std::find(disabled.begin(), disabled.end(), info.id) != disabled.end();
        EXPECT_EQ(m.isEnabled(info.id), !expectDisabled) << info.box;
    }
}

TEST(SettingsModelStart, EveryStartingCaseEndsInTheSameState) {
    SettingsModel fromDomestic;
    fromDomestic.IntializeSelectionBoxes();
    fromDomestic.userSelect(S::cboPageLength, 4);
    fromDomestic.IntializeSelectionBoxes();

    SettingsModel fromExport;
    fromExport.IntializeSelectionBoxes();
    fromExport.selectModel(Model::OptExport);
    fromExport.IntializeSelectionBoxes();

    EXPECT_EQ(stateOf(fromDomestic), initializedState());
    EXPECT_EQ(stateOf(fromExport), initializedState());
}

TEST(SettingsModelStart, InitialisingTwiceEqualsOnce) {
    SettingsModel m;
    m.IntializeSelectionBoxes();
    m.IntializeSelectionBoxes();
    EXPECT_EQ(stateOf(m), initializedState());
}

TEST(SettingsModelStart, FirstRunLeavesPageLengthToTheDomesticPreset) {
    SettingsModel m;
    RecordingObserver rec;
    m.addObserver(&rec);
    m.IntializeSelectionBoxes();
    const std::vector<std::string> expected = {
        "select cboFont 1",
        "select cboTearOff 0",
        // no page length: no model is selected yet
        "select cboInterface 3",
        "enable cboParity",
        "enable cboBaudRate",
        "enable cboFlowCtrl",
        "select cboBaudRate 3",
        "select cboParity 2",
        "select cboFlowCtrl 1",
        "select cboStrobeEdge 1",
        "select cboCharTable 1",
        "disable cboLanguage",
        "disable cboLanStd",
        "disable cboSpcComp",
        "select cboLanguage 0",
        "select cboLanStd 0",
        "select cboSpcComp 1",
        "select cboInputBS 1",
        "select cboSOP 1",
        "select cboPrintDir 1",
        "select cboSlaZero 0",
        "select cboLineSpc 1",
        "select cboALF 1",
        "model OptDomestic",
        "select cboPageLength 10",
        "select cboInterface 3",
        "enable cboParity",
        "enable cboBaudRate",
        "enable cboFlowCtrl",
        "select cboRollPaper 1",
        "enable cboTearOff",
    };
    EXPECT_EQ(rec.events, expected);
}

// A rule's effect, seen by the observer in the order it acts.
struct RuleCase {
    S box;
    int choice;
    std::vector<std::string> events;
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << settingInfo(c.box).box << " = " << c.choice;
}

class InterlockRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(InterlockRule, ActsOnItsBoxesInOrderAndChangesNoSelection) {
    SettingsModel m;
    m.IntializeSelectionBoxes();
    const Selections before = m.selections();
    RecordingObserver rec;
    m.addObserver(&rec);

    m.setSelection(GetParam().box, GetParam().choice);

    std::vector<std::string> expected = {"select " + settingInfo(GetParam().box).box + " " +
                                         std::to_string(GetParam().choice)};
    expected.insert(expected.end(), GetParam().events.begin(), GetParam().events.end());
    EXPECT_EQ(rec.events, expected);
    for (int i = 0; i < kSettingCount; ++i) {
        if (settingAt(i) != GetParam().box) {
            EXPECT_EQ(m.selections()[i], before[i]);
        }
    }
}

const std::vector<std::string> kSerialOff = {"disable cboParity", "disable cboBaudRate",
                                             "disable cboFlowCtrl"};
const std::vector<std::string> kSerialOn = {"enable cboParity", "enable cboBaudRate",
                                            "enable cboFlowCtrl"};
const std::vector<std::string> kLanguageOff = {"disable cboLanguage", "disable cboLanStd",
                                               "disable cboSpcComp"};
const std::vector<std::string> kLanguageOn = {"enable cboLanguage", "enable cboLanStd",
                                              "enable cboSpcComp"};

INSTANTIATE_TEST_SUITE_P(
    Rules, InterlockRule,
    ::testing::Values(RuleCase{S::cboInterface, 0, kSerialOff},    // Parallel
                      RuleCase{S::cboInterface, 1, kSerialOn},     // Serial
                      RuleCase{S::cboInterface, 2, kSerialOff},    // USB
                      RuleCase{S::cboInterface, 3, kSerialOn},     // Autoshare
                      RuleCase{S::cboCharTable, 0, kLanguageOff},  // Italic
                      RuleCase{S::cboCharTable, 1, kLanguageOff},  // Graphics
                      RuleCase{S::cboCharTable, 2, kLanguageOn},   // Indian Language
                      RuleCase{S::cboRollPaper, 0, {"disable cboTearOff"}},
                      RuleCase{S::cboRollPaper, 1, {"enable cboTearOff"}},
                      RuleCase{S::cboFont, 0, {}}, RuleCase{S::cboTearOff, 4, {}}));

TEST(SettingsModelInterlocks, DisabledBoxesKeepTheirSelectionsAndGetThemBack) {
    SettingsModel m;
    m.IntializeSelectionBoxes();
    m.userSelect(S::cboBaudRate, 4);
    m.userSelect(S::cboInterface, 0);
    EXPECT_FALSE(m.isEnabled(S::cboBaudRate));
    EXPECT_EQ(m.choiceText(S::cboBaudRate), "19200");
    EXPECT_EQ(m.choiceText(S::cboParity), "None");
    m.userSelect(S::cboInterface, 1);
    EXPECT_TRUE(m.isEnabled(S::cboBaudRate));
    EXPECT_EQ(m.choiceText(S::cboBaudRate), "19200");
}

TEST(SettingsModelInterlocks, TheUserCannotChangeADisabledBoxButTheProgramCan) {
    SettingsModel m;
    m.IntializeSelectionBoxes();
    ASSERT_FALSE(m.isEnabled(S::cboLanguage));
    EXPECT_FALSE(m.userSelect(S::cboLanguage, 3));
    EXPECT_EQ(m.selection(S::cboLanguage), 0);
    m.setSelection(S::cboLanguage, 3);
    EXPECT_EQ(m.selection(S::cboLanguage), 3);
    EXPECT_FALSE(m.isEnabled(S::cboLanguage));
}

TEST(SettingsModelInterlocks, ChoicesOutsideTheListAreRefusedOrRejected) {
    SettingsModel m;
    m.IntializeSelectionBoxes();
    EXPECT_FALSE(m.userSelect(S::cboFont, 9));
    EXPECT_FALSE(m.userSelect(S::cboFont, -1));
    EXPECT_EQ(m.selection(S::cboFont), 1);
    EXPECT_THROW(m.setSelection(S::cboParity, 3), std::out_of_range);
}

TEST(SettingsModelPresets, ExportAfterParallelSelectsElevenInchAutoshareAndEnablesSerial) {
    SettingsModel m;
    m.IntializeSelectionBoxes();
    m.userSelect(S::cboInterface, 0);
    RecordingObserver rec;
    m.addObserver(&rec);
    m.selectModel(Model::OptExport);
    const std::vector<std::string> expected = {"model OptExport",       "select cboPageLength 8",
                                               "select cboInterface 3", "enable cboParity",
                                               "enable cboBaudRate",    "enable cboFlowCtrl"};
    EXPECT_EQ(rec.events, expected);

    m.selectModel(Model::OptDomestic);
    EXPECT_EQ(m.choiceText(S::cboPageLength), "12 Inch");
    EXPECT_EQ(m.choiceText(S::cboInterface), "Autoshare");
}

TEST(SettingsModelPresets, TheUsersLaterChoiceStandsUntilAModelIsChosenAgain) {
    SettingsModel m;
    m.IntializeSelectionBoxes();
    m.selectModel(Model::OptExport);
    m.userSelect(S::cboPageLength, 4);
    EXPECT_EQ(m.choiceText(S::cboPageLength), "6 Inch");
    m.selectModel(Model::OptDomestic);
    EXPECT_EQ(m.choiceText(S::cboPageLength), "12 Inch");
}

TEST(SettingsModelPresets, ChoosingTheSelectedModelAgainDoesNothing) {
    SettingsModel m;
    m.IntializeSelectionBoxes();
    m.userSelect(S::cboPageLength, 4);
    m.userSelect(S::cboInterface, 0);
    RecordingObserver rec;
    m.addObserver(&rec);
    m.selectModel(Model::OptDomestic);
    EXPECT_TRUE(rec.events.empty());
    EXPECT_EQ(m.choiceText(S::cboPageLength), "6 Inch");
    EXPECT_EQ(m.choiceText(S::cboInterface), "Parallel");
}

TEST(SettingsModelRestore, AfterEveryKindOfEditReturnsExactlyToTheStartState) {
    SettingsModel m;
    m.IntializeSelectionBoxes();
    m.selectModel(Model::OptExport);
    m.userSelect(S::cboInterface, 0);
    m.userSelect(S::cboCharTable, 2);
    m.userSelect(S::cboLanguage, 5);
    m.userSelect(S::cboTearOff, 3);
    m.userSelect(S::cboRollPaper, 0);
    m.userSelect(S::cboFont, 7);
    m.IntializeSelectionBoxes();
    EXPECT_EQ(stateOf(m), initializedState());
    EXPECT_EQ(m.choiceText(S::cboPageLength), "12 Inch");
}

TEST(SettingsModelObservers, ARemovedObserverHearsNothingMore) {
    SettingsModel m;
    RecordingObserver rec;
    m.addObserver(&rec);
    m.removeObserver(&rec);
    m.IntializeSelectionBoxes();
    EXPECT_TRUE(rec.events.empty());
}

}  // namespace
}  // namespace orvel
