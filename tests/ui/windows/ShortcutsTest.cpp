// The keyboard shortcuts of both real windows, with the keys as X11 delivers them: the modifiers
// held around the letter, CTRL+letter carrying its control character.
#include <optional>
#include <string>
#include <vector>

#include "tests/ui/windows/UserInput.h"
#include "tests/ui/windows/WindowFixture.h"

namespace orvel::test {
namespace {

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

const Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
const Qt::KeyboardModifiers Alt = Qt::AltModifier;
const Qt::KeyboardModifiers Shift = Qt::ShiftModifier;

// What the window looks like before the keys.
enum class Arrange {
    Defaults,
    TearOffDisabled,  // roll paper enabled
    SerialDisabled,   // parallel interface
    LanguageEnabled,  // Indian-language character table
    ExportModel,      // Export chosen with the mouse
    OwnPageLength,    // the user's own page length under the Domestic model
    FeaturesShown,    // the features window shown by Show Features
    // The list of the box with the focus is open, and takes the keys:
    ListOpen,
    ListOpenTearOffDisabled,
};

bool opensTheList(Arrange how) {
    return how == Arrange::ListOpen || how == Arrange::ListOpenTearOffDisabled;
}

struct KeyCase {
    const char* name;
    Arrange arrange;
    Setting focused;  // the box that has the focus before the keys (main window)
    std::vector<Key> keys = {};
    std::vector<MessageAnswer> answers = {};
    // After the keys:
    const char* focusOn = nullptr;  // the control with the focus; none: where it was
    std::vector<std::string> messages = {};
    bool featuresShown = false;
    int endings = 0;
    std::optional<Model> model = {};  // the model chosen; none: the selections are unchanged
    // Whether the character reaches the box that had the focus, or its open list (main window).
    bool characterReachesBox = false;
    bool listStaysOpen = false;
};

// Failures name the case.
void PrintTo(const KeyCase& row, std::ostream* out) {
    *out << row.name;
}

// Counts the characters that reach a control.
class CharacterCounter : public QObject {
public:
    explicit CharacterCounter(QWidget* control) { control->installEventFilter(this); }
    int characters = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->text().isEmpty())
            ++characters;
        return false;
    }
};

class ShortcutTest : public WindowTest, public ::testing::WithParamInterface<KeyCase> {
protected:
    void arrange(Arrange how) {
        switch (how) {
            case Arrange::Defaults:
                break;
            case Arrange::TearOffDisabled:
                pick(Setting::cboRollPaper, 0);
                ASSERT_FALSE(window->cboTearOff->isEnabled());
                break;
            case Arrange::SerialDisabled:
                pick(Setting::cboInterface, 0);
                ASSERT_FALSE(window->cboBaudRate->isEnabled());
                break;
            case Arrange::LanguageEnabled:
                pick(Setting::cboCharTable, 2);
                ASSERT_TRUE(window->cboLanguage->isEnabled());
                break;
            case Arrange::ExportModel:
                QTest::mouseClick(window->OptExport, Qt::LeftButton);
                ASSERT_EQ(core->settings().model(), Model::OptExport);
                break;
            case Arrange::OwnPageLength:
                pick(Setting::cboPageLength, 0);
                break;
            case Arrange::FeaturesShown:
                showFeatures();
                break;
            case Arrange::ListOpen:
                break;
            case Arrange::ListOpenTearOffDisabled:
                arrange(Arrange::TearOffDisabled);
                break;
        }
    }

    static void openList(QComboBox* box) {
        box->showPopup();
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    }

    QWidget& shownWindow() const {
        FeaturesView* features = window->features();
        return features && features->isVisible() ? static_cast<QWidget&>(*features) : *window;
    }

    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : messageBox.shown)
            texts.push_back(message.text);
        return texts;
    }
};

TEST_P(ShortcutTest, KeysActOnlyAsTheTablesSay) {
    const KeyCase& keyCase = GetParam();
    arrange(keyCase.arrange);
    if (keyCase.arrange != Arrange::FeaturesShown) {
        window->selectionBox(keyCase.focused)->setFocus();
    }
    if (opensTheList(keyCase.arrange)) {
        openList(window->selectionBox(keyCase.focused));
    }
    QWidget* focusBefore = shownWindow().focusWidget();
    const CharacterCounter reaching(keyboardTarget(shownWindow()));
    const std::vector<int> before = selections();
    messageBox.answers.assign(keyCase.answers.begin(), keyCase.answers.end());

    for (const Key& key : keyCase.keys)
        pressKey(shownWindow(), key.key, key.modifiers);
    // An option button's access key clicks it a moment later.
    QTest::qWait(keyCase.model ? 250 : 0);

    EXPECT_EQ(shownTexts(), keyCase.messages);
    if (keyCase.arrange != Arrange::FeaturesShown) {
        EXPECT_EQ(reaching.characters, keyCase.characterReachesBox ? 1 : 0);
    }
    EXPECT_EQ(window->features() != nullptr && window->features()->isVisible(),
              keyCase.featuresShown);
    EXPECT_EQ(window->isVisible(), !keyCase.featuresShown);
    EXPECT_EQ(program.endings, keyCase.endings);
    const QString expectedFocus =
        keyCase.focusOn ? QLatin1String(keyCase.focusOn) : focusBefore->objectName();
    EXPECT_EQ(shownWindow().focusWidget()->objectName(), expectedFocus);
    if (keyCase.model) {
        EXPECT_EQ(core->settings().model(), *keyCase.model);
    } else {
        EXPECT_EQ(selections(), before);
    }
    QWidget* popup = QApplication::activePopupWidget();
    EXPECT_EQ(popup != nullptr, keyCase.listStaysOpen);
    if (popup != nullptr)
        popup->close();
}

const std::string kReady = kPrinterReadyText;
const std::string kQuit = kQuitText;
constexpr MessageAnswer Cancel = MessageAnswer::Cancel;
constexpr MessageAnswer No = MessageAnswer::No;
constexpr MessageAnswer Yes = MessageAnswer::Yes;

INSTANTIATE_TEST_SUITE_P(
    MainWindow, ShortcutTest,
    ::testing::Values(
        KeyCase{"CtrlAFromABoxAsksTheConfirmationAndLeavesTheBox",
                Arrange::Defaults,
                Setting::cboCharTable,
                {{Qt::Key_A, Ctrl}},
                {Cancel},
                {},
                {kReady}},
        KeyCase{"CtrlDAsksTheConfirmation",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_D, Ctrl}},
                {Cancel},
                {},
                {kReady}},
        KeyCase{"CtrlPAsksTheConfirmation",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_P, Ctrl}},
                {Cancel},
                {},
                {kReady}},
        KeyCase{"CtrlZReachesNothing", Arrange::Defaults, Setting::cboFont, {{Qt::Key_Z, Ctrl}}},
        KeyCase{"CtrlLetterOfAChoiceDoesNotTypeIntoTheBox",
                Arrange::Defaults,
                Setting::cboBaudRate,
                {{Qt::Key_N, Ctrl}, {Qt::Key_B, Ctrl}}},
        // SHIFT went down before CTRL, so no key-down had exactly CTRL: the character passes,
        // and a box's type-ahead finds no choice for a control character.
        KeyCase{"CtrlShiftADoesNothing",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_A, Ctrl | Shift}},
                {},
                {},
                {},
                false,
                0,
                {},
                true},
        KeyCase{
            "CtrlAltADoesNothing", Arrange::Defaults, Setting::cboFont, {{Qt::Key_A, Ctrl | Alt}}},
        KeyCase{"CtrlF1IsNotCtrlP", Arrange::Defaults, Setting::cboFont, {{Qt::Key_F1, Ctrl}}},
        KeyCase{"CtrlXAnsweredNo",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_X, Ctrl}},
                {No},
                {},
                {kQuit}},
        KeyCase{"CtrlXAnsweredYesEndsTheProgram",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_X, Ctrl}},
                {Yes},
                {},
                {kQuit},
                false,
                1},
        KeyCase{"CtrlSShowsTheFeatures",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_S, Ctrl}},
                {},
                "Picture1",
                {},
                true},
        KeyCase{"CtrlSThenCtrlCReturns",
                Arrange::Defaults,
                Setting::cboPageLength,
                {{Qt::Key_S, Ctrl}, {Qt::Key_C, Ctrl}}},
        KeyCase{"CtrlOChoosesDomestic",
                Arrange::ExportModel,
                Setting::cboFont,
                {{Qt::Key_O, Ctrl}},
                {},
                {},
                {},
                false,
                0,
                Model::OptDomestic},
        KeyCase{"CtrlEChoosesExport",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_E, Ctrl}},
                {},
                {},
                {},
                false,
                0,
                Model::OptExport},
        // Choosing the model that is chosen already keeps the user's page length.
        KeyCase{"CtrlOOnTheChosenModelChangesNothing",
                Arrange::OwnPageLength,
                Setting::cboFont,
                {{Qt::Key_O, Ctrl}}},
        KeyCase{"AltXChoosesExportByItsAccessKey",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_X, Alt}},
                {},
                "OptExport",
                {},
                false,
                0,
                Model::OptExport},
        KeyCase{"AltDChoosesDomesticByItsAccessKey",
                Arrange::ExportModel,
                Setting::cboFont,
                {{Qt::Key_D, Alt}},
                {},
                "OptDomestic",
                {},
                false,
                0,
                Model::OptDomestic},
        KeyCase{"AltFFocusesFont",
                Arrange::Defaults,
                Setting::cboPageLength,
                {{Qt::Key_F, Alt}},
                {},
                "cboFont"},
        KeyCase{"AltPFocusesPageLength",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_P, Alt}},
                {},
                "cboPageLength"},
        KeyCase{"AltSFocusesStrobeEdge",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_S, Alt}},
                {},
                "cboStrobeEdge"},
        KeyCase{"AltOFocusesRollPaper",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_O, Alt}},
                {},
                "cboRollPaper"},
        KeyCase{"AltShiftFLeavesTheFocus",
                Arrange::Defaults,
                Setting::cboPageLength,
                {{Qt::Key_F, Alt | Shift}}},
        KeyCase{"AltF4IsNotAltS", Arrange::Defaults, Setting::cboPageLength, {{Qt::Key_F4, Alt}}},
        KeyCase{"AltTFocusesTearOffWhileEnabled",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_T, Alt}},
                {},
                "cboTearOff"},
        KeyCase{"AltTWhileTearOffDisabled",
                Arrange::TearOffDisabled,
                Setting::cboFont,
                {{Qt::Key_T, Alt}}},
        KeyCase{"AltBWhileSerialDisabled",
                Arrange::SerialDisabled,
                Setting::cboFont,
                {{Qt::Key_B, Alt}}},
        KeyCase{"AltYWhileSerialDisabled",
                Arrange::SerialDisabled,
                Setting::cboFont,
                {{Qt::Key_Y, Alt}}},
        KeyCase{"AltWWhileSerialDisabled",
                Arrange::SerialDisabled,
                Setting::cboFont,
                {{Qt::Key_W, Alt}}},
        KeyCase{"AltWFocusesFlowControlWhileEnabled",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_W, Alt}},
                {},
                "cboFlowCtrl"},
        KeyCase{
            "AltLWhileLanguageDisabled", Arrange::Defaults, Setting::cboFont, {{Qt::Key_L, Alt}}},
        KeyCase{
            "AltGWhileLanguageDisabled", Arrange::Defaults, Setting::cboFont, {{Qt::Key_G, Alt}}},
        KeyCase{
            "AltCWhileLanguageDisabled", Arrange::Defaults, Setting::cboFont, {{Qt::Key_C, Alt}}},
        KeyCase{"AltGFocusesLanguageStandardWhileEnabled",
                Arrange::LanguageEnabled,
                Setting::cboFont,
                {{Qt::Key_G, Alt}},
                {},
                "cboLanStd"},
        // A letter that names no setting must not reach the box's type-ahead either.
        KeyCase{"AltQDoesNothing", Arrange::Defaults, Setting::cboFont, {{Qt::Key_Q, Alt}}},
        // A focus move is no character: the Tab moves on and the mark stays for the "t", which
        // would choose "True Auto".
        KeyCase{"CtrlAloneThenTabMovesTheFocusAndTheNextCharacterIsDiscarded",
                Arrange::Defaults,
                Setting::cboFont,
                {{Qt::Key_Control, Ctrl}, {Qt::Key_Tab, {}}, {Qt::Key_T, {}}},
                {},
                "cboTearOff",
                {},
                false,
                0,
                {},
                true},  // the Tab passes through the box it leaves
        // ... and "c" would choose "Courier".
        KeyCase{"CtrlHomeThenShiftTabMovesTheFocusBack",
                Arrange::Defaults,
                Setting::cboTearOff,
                {{Qt::Key_Home, Ctrl}, {Qt::Key_Backtab, Shift}, {Qt::Key_C, {}}},
                {},
                "cboFont"},
        // The open list belongs to the box: the shortcuts close it and act.
        KeyCase{"AltFInAnOpenListClosesItAndFocusesFont",
                Arrange::ListOpen,
                Setting::cboPageLength,
                {{Qt::Key_F, Alt}},
                {},
                "cboFont"},
        KeyCase{"AltPInPageLengthsOpenListClosesIt",
                Arrange::ListOpen,
                Setting::cboPageLength,
                {{Qt::Key_P, Alt}},
                {},
                "cboPageLength"},
        KeyCase{"CtrlAInAnOpenListClosesItAndAsksTheConfirmation",
                Arrange::ListOpen,
                Setting::cboCharTable,
                {{Qt::Key_A, Ctrl}},
                {Cancel},
                {},
                {kReady}},
        KeyCase{"CtrlSInAnOpenListClosesItAndShowsTheFeatures",
                Arrange::ListOpen,
                Setting::cboFont,
                {{Qt::Key_S, Ctrl}},
                {},
                "Picture1",
                {},
                true},
        KeyCase{"CtrlZInAnOpenListReachesNothingAndLeavesItOpen",
                Arrange::ListOpen,
                Setting::cboFont,
                {{Qt::Key_Z, Ctrl}},
                {},
                {},
                {},
                false,
                0,
                {},
                false,
                true},
        KeyCase{"AltTInAnOpenListWhileTearOffDisabledLeavesItOpen",
                Arrange::ListOpenTearOffDisabled,
                Setting::cboFont,
                {{Qt::Key_T, Alt}},
                {},
                {},
                {},
                false,
                0,
                {},
                false,
                true}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    FeaturesWindow, ShortcutTest,
    ::testing::Values(
        KeyCase{"CtrlCCloses",
                Arrange::FeaturesShown,
                Setting::cboFont,
                {{Qt::Key_C, Ctrl}},
                {},
                "cboFont"},
        KeyCase{"CtrlPAsksTheConfirmation",
                Arrange::FeaturesShown,
                Setting::cboFont,
                {{Qt::Key_P, Ctrl}},
                {Cancel},
                {},
                {kReady},
                true},
        KeyCase{"OtherCtrlLettersDoNothing",
                Arrange::FeaturesShown,
                Setting::cboFont,
                {{Qt::Key_A, Ctrl}, {Qt::Key_X, Ctrl}, {Qt::Key_S, Ctrl}, {Qt::Key_D, Ctrl}},
                {},
                {},
                {},
                true},
        KeyCase{"AltLettersDoNothing",
                Arrange::FeaturesShown,
                Setting::cboFont,
                {{Qt::Key_C, Alt}, {Qt::Key_P, Alt}, {Qt::Key_F, Alt}},
                {},
                {},
                {},
                true},
        KeyCase{"CtrlShiftCDoesNothing",
                Arrange::FeaturesShown,
                Setting::cboFont,
                {{Qt::Key_C, Ctrl | Shift}},
                {},
                {},
                {},
                true}),
    [](const auto& info) { return std::string(info.param.name); });

using ShortcutKeys = WindowTest;

// The shortcut acts on the letter's release while CTRL is still held.
TEST_F(ShortcutKeys, ReleasingCtrlBeforeTheLetterRunsNothing) {
    QWidget* box = window->cboFont;
    box->setFocus();
    const QString text = x11Text(Qt::Key_A, Ctrl);
    QTest::sendKeyEvent(QTest::Press, box, Qt::Key_A, text, Ctrl);
    QTest::keyRelease(box, Qt::Key_Control);
    QTest::sendKeyEvent(QTest::Release, box, Qt::Key_A, x11Text(Qt::Key_A, {}), Qt::NoModifier);
    EXPECT_TRUE(messageBox.shown.empty());
}

// A held combination repeats its press; the command runs once, at the release.
TEST_F(ShortcutKeys, HoldingCtrlARunsItOnce) {
    messageBox.answers = {MessageAnswer::Cancel};
    QWidget* box = window->cboFont;
    box->setFocus();
    const QString text = x11Text(Qt::Key_A, Ctrl);
    QTest::sendKeyEvent(QTest::Press, box, Qt::Key_A, text, Ctrl);
    for (int repeat = 0; repeat < 3; ++repeat) {
        for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
            QKeyEvent event(type, Qt::Key_A, Ctrl, text, true);
            QApplication::sendEvent(box, &event);
        }
    }
    QTest::sendKeyEvent(QTest::Release, box, Qt::Key_A, text, Ctrl);
    EXPECT_EQ(messageBox.shown.size(), 1u);
    EXPECT_EQ(window->cboFont->currentIndex(), core->settings().selection(Setting::cboFont));
}

// The mark lives until the next character, however much later that comes.
TEST_F(ShortcutKeys, ALoneCtrlTapSwallowsTheNextCharacter) {
    QTest::keyClick(window->cboFont, Qt::Key_Control);
    EXPECT_EQ(core->intCtrlKey, 2);
    QWidget* box = window->cboRollPaper;
    box->setFocus();
    const int before = window->cboRollPaper->currentIndex();
    // "e" would choose "Enabled" by type-ahead.
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_E, QStringLiteral("e"), Qt::NoModifier);
    EXPECT_EQ(core->intCtrlKey, 0);
    EXPECT_EQ(window->cboRollPaper->currentIndex(), before);
}

}  // namespace
}  // namespace orvel::test
