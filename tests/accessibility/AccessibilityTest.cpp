// What assistive technology reads from both windows, through Qt's accessibility interfaces.
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <cctype>

#include "tests/ui/windows/WindowFixture.h"
#include "ui/qt/desktop/Accessibility.h"

namespace orvel::test {
namespace {

QAccessibleInterface* accessible(QWidget* widget) {
    QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(widget);
    EXPECT_NE(interface, nullptr) << qPrintable(widget->objectName());
    return interface;
}

struct NamedButton {
    PictureControl* ConfigUtilityView::*control;
    const char* name;
    const char* shortcut;
};

const NamedButton kMainButtons[] = {
    {&ConfigUtilityView::imgApplySettings, "Apply Settings", "Ctrl+A"},
    {&ConfigUtilityView::imgDefault, "Restore Default", "Ctrl+D"},
    {&ConfigUtilityView::imgSFeatures, "Show Features", "Ctrl+S"},
    {&ConfigUtilityView::imgPFeatures, "Print Features", "Ctrl+P"},
    {&ConfigUtilityView::imgExit, "Exit", "Ctrl+X"},
};

class Accessibility : public WindowTest {
protected:
    void SetUp() override {
        installAccessibility();
        WindowTest::SetUp();
    }

    static void expectButton(QWidget* control, const QString& name, const QString& shortcut) {
        QAccessibleInterface* button = accessible(control);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->role(), QAccessible::Button) << qPrintable(name);
        EXPECT_EQ(button->text(QAccessible::Name), name);
        EXPECT_EQ(button->text(QAccessible::Accelerator), shortcut);
        ASSERT_NE(button->actionInterface(), nullptr);
        EXPECT_TRUE(button->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
    }

    static void press(QWidget* control) {
        accessible(control)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
    }
};

TEST_F(Accessibility, MainWindowPictureButtonsArePushButtonsNamedByCaptionAndShortcut) {
    for (const NamedButton& button : kMainButtons)
        expectButton(window.get()->*button.control, QLatin1String(button.name),
                     QLatin1String(button.shortcut));
}

TEST_F(Accessibility, FeaturesWindowPictureButtonsArePushButtonsNamedByCaptionAndShortcut) {
    showFeatures();
    expectButton(window->features()->imgPrintFeatures, QStringLiteral("Print Features"),
                 QStringLiteral("Ctrl+P"));
    expectButton(window->features()->imgClose, QStringLiteral("Close"), QStringLiteral("Ctrl+C"));
}

TEST_F(Accessibility, PressingAButtonRunsItsCommandAsALeftClickDoes) {
    messageBox.answers = {MessageAnswer::Cancel};
    press(window->imgApplySettings);
    ASSERT_EQ(messageBox.shown.size(), 1u);
    EXPECT_EQ(messageBox.shown[0].text, kPrinterReadyText);
    EXPECT_TRUE(spooler.calls.empty());
}

TEST_F(Accessibility, PressingADisabledButtonDoesNothing) {
    window->imgApplySettings->setEnabled(false);
    press(window->imgApplySettings);
    EXPECT_TRUE(messageBox.shown.empty());
}

TEST_F(Accessibility, SelectionBoxesAreNamedByTheirCaptionsWithTheirAltShortcuts) {
    for (const SettingInfo& info : settingsTable()) {
        QComboBox* box = window->selectionBox(info.id);
        QAccessibleInterface* combo = accessible(box);
        ASSERT_NE(combo, nullptr);
        const QString letter(QChar(std::toupper(static_cast<unsigned char>(info.underlined))));
        EXPECT_EQ(combo->role(), QAccessible::ComboBox) << info.box;
        EXPECT_EQ(combo->text(QAccessible::Name), QString::fromStdString(info.caption));
        EXPECT_EQ(combo->text(QAccessible::Accelerator), QStringLiteral("Alt+") + letter);
        EXPECT_EQ(combo->text(QAccessible::Value), box->currentText()) << info.box;
        EXPECT_EQ(combo->state().disabled, !box->isEnabled()) << info.box;
    }
}

TEST_F(Accessibility, SelectionBoxKeepsItsListAsItsChildAndTellsTheNewChoice) {
    QAccessibleInterface* combo = accessible(window->cboFont);
    ASSERT_EQ(combo->childCount(), 1);
    ASSERT_NE(combo->child(0), nullptr);
    EXPECT_EQ(combo->child(0)->object(), static_cast<QObject*>(window->cboFont->view()));
    EXPECT_EQ(combo->indexOfChild(combo->child(0)), 0);

    pick(Setting::cboFont, 2);
    EXPECT_EQ(combo->text(QAccessible::Value),
              QString::fromStdString(settingInfo(Setting::cboFont).choices[2]));
}

TEST_F(Accessibility, BannerIsTextThatSaysWhatItShows) {
    QAccessibleInterface* banner = accessible(window->imgWarning);
    EXPECT_EQ(banner->role(), QAccessible::StaticText);
    EXPECT_EQ(banner->text(QAccessible::Name),
              QStringLiteral("Please wait, while printer settings being applied."));
    // Hidden until Apply Settings shows it.
    EXPECT_TRUE(banner->state().invisible);
    window->imgWarning->show();
    EXPECT_FALSE(banner->state().invisible);
}

TEST_F(Accessibility, NotesStayTextAndTitlesAreNamedPlainly) {
    for (QLabel* note : {window->Label1, window->Label3, window->Label2}) {
        QAccessibleInterface* text = accessible(note);
        EXPECT_EQ(text->role(), QAccessible::StaticText);
        EXPECT_EQ(text->text(QAccessible::Name), note->text());
    }
    EXPECT_EQ(accessible(window->Picture1)->text(QAccessible::Name),
              QStringLiteral("Printer Permanent Settings"));
    showFeatures();
    EXPECT_EQ(accessible(window->features()->Picture1)->text(QAccessible::Name),
              QStringLiteral("Varnet Orvel FEATURES"));
    EXPECT_EQ(accessible(window->features()->txtFeatures)->text(QAccessible::Name),
              QStringLiteral("Varnet Orvel FEATURES"));
}

TEST_F(Accessibility, DecorativePicturesAreHiddenFromAssistiveTechnology) {
    for (QWidget* picture :
         {static_cast<QWidget*>(window->imgBackground), static_cast<QWidget*>(window->Image1),
          static_cast<QWidget*>(window->Image2)})
        EXPECT_TRUE(accessible(picture)->state().invisible) << qPrintable(picture->objectName());
    showFeatures();
    for (QWidget* picture : {static_cast<QWidget*>(window->features()->imgBackground),
                             static_cast<QWidget*>(window->features()->Image2)})
        EXPECT_TRUE(accessible(picture)->state().invisible) << qPrintable(picture->objectName());
}

// The features window builds its controls anew after its own close button: the new controls
// are described as the first were.
TEST_F(Accessibility, FeaturesWindowControlsBuiltAnewAreDescribedAgain) {
    showFeatures();
    window->features()->close();
    showFeatures();
    expectButton(window->features()->imgClose, QStringLiteral("Close"), QStringLiteral("Ctrl+C"));
}

}  // namespace
}  // namespace orvel::test
