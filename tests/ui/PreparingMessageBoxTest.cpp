// The question before a printer command prepares the spooler while it waits for the user: once
// the box is painted, in the box's own loop, once per box, and never for another message.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "tests/support/FakeServices.h"
#include "tests/ui/windows/UserInput.h"
#include "ui/qt/desktop/PreparingMessageBox.h"
#include "ui/qt/input/KeyCodes.h"
#include "ui/qt/input/KeyPreview.h"
#include "ui/qt/services/QtMessageBox.h"
#include "ui/core/windows/Confirmations.h"

namespace orvel::test {
namespace {

// Counts the paints of the modal box and does what a test asks at the first one.
class BoxPaints : public QObject {
public:
    BoxPaints() { qApp->installEventFilter(this); }
    ~BoxPaints() override { qApp->removeEventFilter(this); }

    int paints = 0;
    std::function<void(QMessageBox&)> atFirstPaint;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (event->type() == QEvent::Paint && box != nullptr && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == box) {
            if (++paints == 1 && atFirstPaint)
                atFirstPaint(*box);
        }
        return false;
    }
};

// Answers the box with its default button a while after it was first painted, as a user
// would, and paints it once more before: a second paint prepares nothing more.
void answerAfterAWhile(QMessageBox& box) {
    QTimer::singleShot(20, &box, [&box] {
        box.repaint();
        QTest::keyClick(&box, Qt::Key_Return);
    });
}

MessageAnswer ask(MessageBoxService& boxes, const Message& message) {
    return showMessage(boxes, message);
}

TEST(PreparingMessageBox, PreparesOnceAfterTheQuestionIsPaintedWhileItWaits) {
    QtMessageBox boxes;
    BoxPaints box;
    box.atFirstPaint = answerAfterAWhile;
    int preparations = 0;
    int paintsBefore = -1;
    bool boxWasUp = false;
    PreparingMessageBox question(boxes, confirmations::kConfirmPrinterReady, [&] {
        ++preparations;
        paintsBefore = box.paints;
        boxWasUp = QApplication::activeModalWidget() != nullptr;
    });

    EXPECT_EQ(ask(question, confirmations::kConfirmPrinterReady), MessageAnswer::OK);
    EXPECT_EQ(preparations, 1);
    EXPECT_GE(paintsBefore, 1);
    EXPECT_TRUE(boxWasUp);
    EXPECT_GE(box.paints, 2);

    // Each time the question comes up again.
    box.paints = 0;
    EXPECT_EQ(ask(question, confirmations::kConfirmPrinterReady), MessageAnswer::OK);
    EXPECT_EQ(preparations, 2);
}

TEST(PreparingMessageBox, AnotherMessageShowsWithoutPreparing) {
    QtMessageBox boxes;
    BoxPaints box;
    box.atFirstPaint = answerAfterAWhile;
    int preparations = 0;
    PreparingMessageBox question(boxes, confirmations::kConfirmPrinterReady,
                                 [&] { ++preparations; });
    EXPECT_EQ(ask(question, confirmations::kConfirmQuit), MessageAnswer::Yes);
    EXPECT_GE(box.paints, 1);
    EXPECT_EQ(preparations, 0);
}

TEST(PreparingMessageBox, ABoxGoneBeforeItsLoopComesToThePreparationPreparesNothing) {
    QtMessageBox boxes;
    BoxPaints box;
    box.atFirstPaint = [](QMessageBox& shown) { shown.done(QMessageBox::Cancel); };
    int preparations = 0;
    PreparingMessageBox question(boxes, confirmations::kConfirmPrinterReady,
                                 [&] { ++preparations; });
    EXPECT_EQ(ask(question, confirmations::kConfirmPrinterReady), MessageAnswer::Cancel);
    QCoreApplication::processEvents();
    EXPECT_EQ(preparations, 0);
}

// A window whose CTRL+A runs a command, as the main window's shortcuts do: on the key's release,
// from inside the key filter that every window shares.
class ShortcutWindow : public QWidget, public KeyPreviewHandler {
public:
    explicit ShortcutWindow(std::function<void()> command) : command_(std::move(command)) {
        new KeyPreview(this, *this);
    }

    void Form_KeyUp(int& KeyCode, int& Shift) override {
        if (KeyCode == 'A' && Shift == kCtrlMask)
            command_();
    }

private:
    std::function<void()> command_;
};

// The question's watch must not join the application's filters while the shared key filter is
// working through them: Qt would then hand the key's release to that filter once more, and the
// first shortcut after start-up would ask, prepare and run its command twice.
TEST(PreparingMessageBox, AShortcutAskingFromTheKeyFilterAsksAndPreparesOnce) {
    QtMessageBox boxes;
    BoxPaints box;
    box.atFirstPaint = answerAfterAWhile;
    int preparations = 0;
    PreparingMessageBox question(boxes, confirmations::kConfirmPrinterReady,
                                 [&] { ++preparations; });
    int questions = 0;
    ShortcutWindow window([&] {
        ++questions;
        box.paints = 0;  // every question is answered after its own first paint
        ask(question, confirmations::kConfirmPrinterReady);
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    pressKey(window, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(preparations, 1);

    pressKey(window, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(preparations, 2);
}

TEST(PreparingMessageBox, PassesEveryMessageOnAsItIs) {
    ScriptedMessageBox boxes;
    boxes.answers = {MessageAnswer::Cancel, MessageAnswer::No};
    int preparations = 0;
    PreparingMessageBox question(boxes, confirmations::kConfirmPrinterReady,
                                 [&] { ++preparations; });
    EXPECT_EQ(ask(question, confirmations::kConfirmPrinterReady), MessageAnswer::Cancel);
    EXPECT_EQ(ask(question, confirmations::kConfirmQuit), MessageAnswer::No);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, confirmations::kConfirmPrinterReady.text());
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::OKCancel);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(boxes.shown[0].title, std::optional<std::string>("Printer Configuration Utility"));
    EXPECT_EQ(boxes.shown[1].text, confirmations::kConfirmQuit.text());
    // Nothing was painted: a box that answers at once leaves nothing to prepare in.
    QCoreApplication::processEvents();
    EXPECT_EQ(preparations, 0);
}

}  // namespace
}  // namespace orvel::test
