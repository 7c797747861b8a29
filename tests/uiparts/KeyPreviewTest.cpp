#include "ui/qt/input/KeyPreview.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/core/input/ShortcutTables.h"
#include "ui/qt/input/KeyCodes.h"

namespace orvel {
namespace {

using Calls = std::vector<std::string>;

bool isModifierKeyCall(const std::string& call);

// Records the handlers' calls, and discards the character of a CTRL combination as the main
// window does.
class RecordingHandler : public KeyPreviewHandler {
public:
    Calls calls;
    int intCtrlKey = 0;
    std::function<void(int KeyCode, int Shift)> onKeyUp;

    void Form_KeyDown(int& KeyCode, int& Shift) override {
        calls.push_back("down " + std::to_string(KeyCode) + " " + std::to_string(Shift));
        markCtrlKeyDown(intCtrlKey, Shift);
    }
    void Form_KeyPress(int& KeyAscii) override {
        calls.push_back("press " + std::to_string(KeyAscii));
        discardCtrlCharacter(intCtrlKey, KeyAscii);
    }
    // The calls of the other keys than SHIFT, CTRL and ALT.
    Calls keys() const {
        Calls result;
        for (const std::string& call : calls) {
            if (!isModifierKeyCall(call))
                result.push_back(call);
        }
        return result;
    }

    void Form_KeyUp(int& KeyCode, int& Shift) override {
        calls.push_back("up " + std::to_string(KeyCode) + " " + std::to_string(Shift));
        if (onKeyUp)
            onKeyUp(KeyCode, Shift);
    }
};

const QStringList kItems = {"Alpha", "Bravo", "Charlie", "Foxtrot", "Romeo"};
constexpr int kBravo = 1;

// The X11 text of a CTRL+letter: the control character.
QString controlCharacter(char letter) {
    return QString(QChar(letter - 'A' + 1));
}

// Keys go to the focus widget, as the platform sends them; QTest adds the presses and releases
// of the modifier keys themselves.
void press(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers) {
    QTest::sendKeyEvent(QTest::Press, QApplication::focusWidget(), key, text, modifiers);
}
void release(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers) {
    QTest::sendKeyEvent(QTest::Release, QApplication::focusWidget(), key, text, modifiers);
}
// A held key: X11 repeats it as releases and presses marked autorepeat.
void repeat(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers) {
    for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent event(type, key, modifiers, text, true);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    }
}

bool isModifierKeyCall(const std::string& call) {
    for (const char* code : {" 16 ", " 17 ", " 18 "}) {
        if (call.find(code) != std::string::npos)
            return true;
    }
    return false;
}

class KeyPreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        for (QComboBox* box : {first, second}) {
            box->addItems(kItems);
            box->setCurrentIndex(kBravo);
            layout->addWidget(box);
        }
        layout->addWidget(domestic);
        preview = new KeyPreview(&window, handler);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        first->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), first);
    }

    RecordingHandler handler;
    QWidget window;
    QComboBox* first = new QComboBox(&window);
    QComboBox* second = new QComboBox(&window);
    QRadioButton* domestic = new QRadioButton(QStringLiteral("&Domestic"), &window);
    KeyPreview* preview = nullptr;
};

TEST_F(KeyPreviewTest, CtrlLetterIsSeenAndItsCharacterNeverReachesTheBox) {
    press(Qt::Key_A, controlCharacter('A'), Qt::ControlModifier);
    release(Qt::Key_A, controlCharacter('A'), Qt::ControlModifier);
    EXPECT_EQ(handler.keys(), (Calls{"down 65 2", "press 1", "up 65 2"}));
    EXPECT_EQ(first->currentIndex(), kBravo);
}

// As on Windows: CTRL's own key-down carries CTRL, its key-up does not.
TEST_F(KeyPreviewTest, ModifierKeysCarryTheirOwnBitOnlyWhilePressed) {
    press(Qt::Key_A, controlCharacter('A'), Qt::ControlModifier | Qt::ShiftModifier);
    release(Qt::Key_A, controlCharacter('A'), Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(handler.calls, (Calls{"down 16 1", "down 17 3", "down 65 3", "press 1", "up 65 3",
                                    "up 17 1", "up 16 0"}));
}

TEST_F(KeyPreviewTest, PlainCharacterPassesToTheBox) {
    press(Qt::Key_R, QStringLiteral("r"), Qt::NoModifier);
    EXPECT_EQ(handler.calls, (Calls{"down 82 0", "press 114"}));
    EXPECT_EQ(first->currentText(), QStringLiteral("Romeo"));
}

// On its own the box's type-ahead takes ALT+F for F: the fault the preview keeps away.
TEST_F(KeyPreviewTest, AltLetterWithoutAccessKeyNeverReachesTheBox) {
    press(Qt::Key_F, QStringLiteral("f"), Qt::AltModifier);
    EXPECT_EQ(handler.keys(), (Calls{"down 70 4"}));
    EXPECT_EQ(first->currentIndex(), kBravo);

    delete preview;
    press(Qt::Key_F, QStringLiteral("f"), Qt::AltModifier);
    EXPECT_EQ(first->currentText(), QStringLiteral("Foxtrot"));
}

TEST_F(KeyPreviewTest, AltLetterReleaseMovesTheFocusOnce) {
    handler.onKeyUp = [&](int KeyCode, int Shift) {
        if (KeyCode == 'F' && Shift == kAltMask)
            second->setFocus();
    };
    press(Qt::Key_F, QStringLiteral("f"), Qt::AltModifier);
    release(Qt::Key_F, QStringLiteral("f"), Qt::AltModifier);
    EXPECT_EQ(handler.keys(), (Calls{"down 70 4", "up 70 4"}));
    EXPECT_EQ(QApplication::focusWidget(), second);
    EXPECT_EQ(first->currentIndex(), kBravo);
    EXPECT_EQ(second->currentIndex(), kBravo);
}

// Access keys are shortcuts that Qt handles before any press reaches a widget; the option button
// takes the focus and clicks itself a moment later.
TEST_F(KeyPreviewTest, OptionButtonAccessKeyStillWorks) {
    press(Qt::Key_D, QStringLiteral("d"), Qt::AltModifier);
    release(Qt::Key_D, QStringLiteral("d"), Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return domestic->isChecked(); }, 2000));
    EXPECT_EQ(first->currentIndex(), kBravo);
    EXPECT_EQ(handler.keys(), (Calls{"up 68 4"}));
}

// The box ignores F1 and hands it on to the window: still one call each.
TEST_F(KeyPreviewTest, KeyHandedOnToTheWindowIsSeenOnce) {
    press(Qt::Key_F1, {}, Qt::ControlModifier);
    release(Qt::Key_F1, {}, Qt::ControlModifier);
    EXPECT_EQ(handler.keys(), (Calls{"down 112 2", "up 112 2"}));
}

TEST_F(KeyPreviewTest, F4HasNoCharacterAndOpensTheList) {
    press(Qt::Key_F4, {}, Qt::NoModifier);
    EXPECT_EQ(handler.calls, (Calls{"down 115 0"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->view()->isVisible(); }, 2000));

    handler.calls.clear();  // the open list is a window of its own
    QTest::keyClick(first->view(), Qt::Key_Down);
    EXPECT_TRUE(handler.calls.empty());
    first->hidePopup();
}

// X11 gives Tab the text of a tab. The focus move is no character: it is neither discarded nor
// does it use up the mark of an earlier CTRL key.
TEST_F(KeyPreviewTest, TabMovesTheFocusWithoutACharacterEvent) {
    QTest::keyClick(first, Qt::Key_Control);
    ASSERT_EQ(handler.intCtrlKey, kCtrlMask);
    handler.calls.clear();
    press(Qt::Key_Tab, QStringLiteral("\t"), Qt::NoModifier);
    EXPECT_EQ(handler.calls, (Calls{"down 9 0"}));
    EXPECT_EQ(QApplication::focusWidget(), second);
    EXPECT_EQ(handler.intCtrlKey, kCtrlMask);

    press(Qt::Key_Backtab, {}, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(handler.intCtrlKey, kCtrlMask);
}

// The list belongs to the box: its CTRL and ALT keys are the window's, its other keys its own.
TEST_F(KeyPreviewTest, CtrlAndAltKeysGivenToAnOpenListAreSeen) {
    first->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->view()->isVisible(); }, 2000));
    handler.calls.clear();
    QWidget* list = QApplication::focusWidget();
    ASSERT_EQ(list->window(), QApplication::activePopupWidget());

    press(Qt::Key_A, controlCharacter('A'), Qt::ControlModifier);
    release(Qt::Key_A, controlCharacter('A'), Qt::ControlModifier);
    press(Qt::Key_F, QStringLiteral("f"), Qt::AltModifier);
    release(Qt::Key_F, QStringLiteral("f"), Qt::AltModifier);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(handler.keys(), (Calls{"down 65 2", "press 1", "up 65 2", "down 70 4", "up 70 4"}));
    EXPECT_EQ(handler.intCtrlKey, 0);
    first->hidePopup();
    EXPECT_EQ(first->currentIndex(), kBravo);
}

TEST_F(KeyPreviewTest, HeldCtrlLetterRunsItsKeyUpOnce) {
    press(Qt::Key_Z, controlCharacter('Z'), Qt::ControlModifier);
    repeat(Qt::Key_Z, controlCharacter('Z'), Qt::ControlModifier);
    repeat(Qt::Key_Z, controlCharacter('Z'), Qt::ControlModifier);
    release(Qt::Key_Z, controlCharacter('Z'), Qt::ControlModifier);
    EXPECT_EQ(handler.keys(), (Calls{"down 90 2", "press 26", "down 90 2", "press 26", "down 90 2",
                                     "press 26", "up 90 2"}));
    EXPECT_EQ(first->currentIndex(), kBravo);
}

// CTRL+S creates the features window, and with it a preview of its own, while the key is still
// being delivered: the shortcut must run once.
TEST_F(KeyPreviewTest, AWindowCreatedByAShortcutGetsTheNextKeysAndTheShortcutRunsOnce) {
    RecordingHandler otherHandler;
    std::unique_ptr<QWidget> other;
    handler.onKeyUp = [&](int KeyCode, int Shift) {
        if (KeyCode == 'S' && Shift == kCtrlMask && !other) {
            other = std::make_unique<QWidget>();
            new KeyPreview(other.get(), otherHandler);
        }
    };
    press(Qt::Key_S, controlCharacter('S'), Qt::ControlModifier);
    release(Qt::Key_S, controlCharacter('S'), Qt::ControlModifier);
    EXPECT_EQ(handler.keys(), (Calls{"down 83 2", "press 19", "up 83 2"}));

    auto* box = new QComboBox(other.get());
    other->show();
    QTest::sendKeyEvent(QTest::Press, box, Qt::Key_F1, {}, Qt::NoModifier);
    EXPECT_EQ(otherHandler.calls, (Calls{"down 112 0"}));
    other.reset();  // its preview goes with it; this window's stays
    press(Qt::Key_F2, {}, Qt::NoModifier);
    EXPECT_EQ(handler.keys().back(), "down 113 0");
}

TEST_F(KeyPreviewTest, IgnoresAnotherWindow) {
    QWidget other;
    auto* box = new QComboBox(&other);
    box->addItems(kItems);
    other.show();
    QTest::sendKeyEvent(QTest::Press, box, Qt::Key_A, controlCharacter('A'), Qt::ControlModifier);
    QTest::sendKeyEvent(QTest::Release, box, Qt::Key_A, controlCharacter('A'), Qt::ControlModifier);
    QTest::sendKeyEvent(QTest::Press, &other, Qt::Key_F1, {}, Qt::NoModifier);
    EXPECT_TRUE(handler.calls.empty());
}

}  // namespace
}  // namespace orvel
