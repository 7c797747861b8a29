// The Qt implementations of the platform services and the picture control's mouse arguments.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ui/qt/buttons/PictureControl.h"
#include "ui/qt/services/QtMessageBox.h"
#include "ui/qt/services/QtSleep.h"

namespace orvel {
namespace {

struct BoxCase {
    MessageButtons buttons;
    MessageIcon icon;
    QMessageBox::StandardButtons standardButtons;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::StandardButton closeAnswer;  // what closing the box or Escape chooses
    QMessageBox::Icon standardIcon;
};

TEST(QtMessageBox, HasTheRequestedButtonsDefaultIconAndTitle) {
    const BoxCase cases[] = {
        {MessageButtons::OK, MessageIcon::Critical, QMessageBox::Ok, QMessageBox::Ok,
         QMessageBox::Ok, QMessageBox::Critical},
        {MessageButtons::OKCancel, MessageIcon::Information, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Information},
        {MessageButtons::YesNo, MessageIcon::Question, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Yes, QMessageBox::No, QMessageBox::Question},
    };
    for (const BoxCase& c : cases) {
        QMessageBox box;
        QtMessageBox::prepare(box, "first\r\n\r\nsecond", c.buttons, c.icon, std::string("Title"));
        EXPECT_EQ(box.standardButtons(), c.standardButtons);
        EXPECT_EQ(box.defaultButton(), box.button(c.defaultButton));
        EXPECT_EQ(box.escapeButton(), box.button(c.closeAnswer));
        EXPECT_EQ(box.icon(), c.standardIcon);
        EXPECT_EQ(box.windowTitle(), "Title");
        EXPECT_EQ(box.text(), "first\n\nsecond");
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
    }
}

TEST(QtMessageBox, WithoutATitleCarriesTheApplicationsTitle) {
    QMessageBox box;
    QtMessageBox::prepare(box, "text", MessageButtons::OK, MessageIcon::Critical, std::nullopt);
    EXPECT_EQ(box.windowTitle(), "Varnet Orvel Printer Utility");
}

TEST(QtMessageBox, AnswersFollowTheButtonChosen) {
    EXPECT_EQ(QtMessageBox::answerFor(QMessageBox::Ok), MessageAnswer::OK);
    EXPECT_EQ(QtMessageBox::answerFor(QMessageBox::Cancel), MessageAnswer::Cancel);
    EXPECT_EQ(QtMessageBox::answerFor(QMessageBox::Yes), MessageAnswer::Yes);
    EXPECT_EQ(QtMessageBox::answerFor(QMessageBox::No), MessageAnswer::No);
}

TEST(QtSleep, BlocksTheThreadWithoutProcessingEvents) {
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    QtSleep().sleep(120);
    EXPECT_GE(clock.elapsed(), 115);
    EXPECT_FALSE(timerRan);
    QCoreApplication::processEvents();
    EXPECT_TRUE(timerRan);
}

// Counts a widget's paints and notes when the first and the last came.
class PaintClock : public QObject {
public:
    explicit PaintClock(QWidget* widget) {
        widget->installEventFilter(this);
        clock.start();
    }
    int paints = 0;
    qint64 first = -1;
    qint64 last = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            last = clock.elapsed();
            if (first < 0)
                first = last;
        }
        return false;
    }

private:
    QElapsedTimer clock;
};

// The pause processes no events, yet the shown windows stay painted: at once, and on through
// the pause.
TEST(QtSleep, RepaintsTheShownWindowsAsItBlocks) {
    QWidget shown;
    auto* control = new QPushButton(QStringLiteral("shown"), &shown);
    shown.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    QWidget hidden;
    auto* hiddenControl = new QPushButton(QStringLiteral("hidden"), &hidden);
    QCoreApplication::processEvents();
    bool timerRan = false;
    // The timer is dropped with the test: run later, it would write to a variable long gone.
    QObject testScope;
    QTimer::singleShot(0, &testScope, [&] { timerRan = true; });

    PaintClock shownPaints(control);
    PaintClock hiddenPaints(hiddenControl);
    QtSleep().sleep(450);

    EXPECT_FALSE(timerRan);
    EXPECT_GE(shownPaints.paints, 2);
    EXPECT_LT(shownPaints.first, 100);
    EXPECT_GT(shownPaints.last, 150);
    EXPECT_EQ(hiddenPaints.paints, 0);
}

struct Release {
    int Button = -1, Shift = -1;
    float X = 0, Y = 0;
};

// Counts the mouse releases that reach the parent.
class ReleaseCounter : public QObject {
public:
    int releases = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease)
            ++releases;
        return false;
    }
};

TEST(PictureControl, ReportsButtonShiftStateAndTwipsAndKeepsTheReleaseToItself) {
    struct Case {
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        int Button, Shift;
    };
    const Case cases[] = {
        {Qt::LeftButton, Qt::NoModifier, 1, 0},
        {Qt::RightButton, Qt::ShiftModifier, 2, 1},
        {Qt::MiddleButton, Qt::ControlModifier, 4, 2},
        {Qt::LeftButton, Qt::AltModifier, 1, 4},
        {Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 1, 7},
    };
    QWidget parent;
    ReleaseCounter parentReleases;
    parent.installEventFilter(&parentReleases);
    PictureControl picture(&parent, PictureControl::Sizing::ClipsPicture);
    picture.setGeometry(0, 0, 100, 30);
    Release got;
    picture.setMouseUp([&](int Button, int Shift, float X, float Y) {
        got = {Button, Shift, X, Y};
    });
    parent.show();
    for (const Case& c : cases) {
        QTest::mouseClick(&picture, c.button, c.modifiers, QPoint(10, 4));
        EXPECT_EQ(got.Button, c.Button);
        EXPECT_EQ(got.Shift, c.Shift);
        EXPECT_FLOAT_EQ(got.X, 150.0f);
        EXPECT_FLOAT_EQ(got.Y, 60.0f);
    }
    EXPECT_EQ(parentReleases.releases, 0);
}

TEST(PictureControl, APictureTakesItsPicturesSizeAPictureBoxClipsIt) {
    QWidget parent;
    QPixmap picture(40, 12);
    PictureControl image(&parent, PictureControl::Sizing::TakesPictureSize);
    image.setGeometry(0, 0, 100, 100);
    image.setPicture(picture);
    EXPECT_EQ(image.size(), QSize(40, 12));
    PictureControl box(&parent, PictureControl::Sizing::ClipsPicture);
    box.setGeometry(0, 0, 20, 10);
    box.setPicture(picture);
    EXPECT_EQ(box.size(), QSize(20, 10));
}

TEST(PictureControl, ShowsItsPictureUnchangedWhileDisabled) {
    QPixmap picture(30, 10);
    picture.fill(QColor(40, 90, 200));
    PictureControl control(nullptr, PictureControl::Sizing::TakesPictureSize);
    control.setPicture(picture);
    const QImage enabled = control.grab().toImage();
    control.setEnabled(false);
    EXPECT_EQ(control.grab().toImage(), enabled);
    EXPECT_EQ(enabled.pixelColor(15, 5), QColor(40, 90, 200));
}

}  // namespace
}  // namespace orvel
