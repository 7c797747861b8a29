// Both windows at open against their layout tables: geometry in twips at 15 to the pixel,
// captions, pictures, fonts, colours, stacking, focus and enabled states.
#include <QAbstractItemView>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>

#include "tests/ui/windows/WindowFixture.h"
#include "ui/qt/buttons/PictureControl.h"

namespace orvel::test {
namespace {

// To the nearest pixel.
int px(int twips) {
    return (twips + 7) / 15;
}

QRect fromTwips(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

struct ControlCase {
    const char* name;
    int left, top, width, height;
    QSize picture;  // empty for controls that show none
};

void expectGeometry(const QWidget& window, const ControlCase& control) {
    const auto* widget = window.findChild<QWidget*>(QLatin1String(control.name));
    ASSERT_NE(widget, nullptr) << control.name;
    EXPECT_EQ(widget->geometry(),
              fromTwips(control.left, control.top, control.width, control.height))
        << control.name;
    if (control.picture.isEmpty())
        return;
    const auto* picture = qobject_cast<const QLabel*>(widget);
    ASSERT_NE(picture, nullptr) << control.name;
    EXPECT_EQ(picture->pixmap().deviceIndependentSize().toSize(), control.picture) << control.name;
}

const ControlCase kMainControls[] = {
    {"imgBackground", 0, 0, 10965, 5295, {731, 353}},
    {"Picture1", 120, 120, 3015, 255, {204, 16}},
    {"Image1", 120, 660, 1770, 3960, {118, 264}},
    {"Image2", 4200, 1080, 1875, 3570, {125, 238}},
    {"Shape1", 4200, 555, 4215, 375, {}},
    {"imgApplySettings", 8820, 2520, 1920, 390, {128, 26}},
    {"imgDefault", 8820, 2970, 1920, 390, {128, 26}},
    {"imgSFeatures", 8820, 3420, 1920, 390, {128, 26}},
    {"imgPFeatures", 8820, 3870, 1920, 390, {128, 26}},
    {"imgExit", 8820, 4320, 1920, 390, {128, 26}},
    {"OptDomestic", 4320, 630, 1695, 255, {}},
    {"OptExport", 6480, 630, 1815, 255, {}},
    {"imgWarning", 2520, 2160, 5250, 570, {346, 34}},
    {"cboFont", 1605, 675, 2415, 315, {}},
    {"cboTearOff", 1605, 1080, 2415, 315, {}},
    {"cboPageLength", 1605, 1485, 2415, 315, {}},
    {"cboInterface", 1605, 1875, 2415, 315, {}},
    {"cboBaudRate", 1605, 2280, 2415, 315, {}},
    {"cboParity", 1605, 2685, 2415, 315, {}},
    {"cboFlowCtrl", 1605, 3090, 2415, 315, {}},
    {"cboStrobeEdge", 1605, 3480, 2415, 315, {}},
    {"cboCharTable", 1605, 3885, 2415, 315, {}},
    {"cboLanguage", 1605, 4290, 2415, 315, {}},
    {"cboLanStd", 6030, 1080, 2415, 315, {}},
    {"cboSpcComp", 6030, 1485, 2415, 315, {}},
    {"cboInputBS", 6030, 1875, 2415, 315, {}},
    {"cboSOP", 6030, 2280, 2415, 315, {}},
    {"cboPrintDir", 6030, 2685, 2415, 315, {}},
    {"cboSlaZero", 6030, 3090, 2415, 315, {}},
    {"cboLineSpc", 6030, 3480, 2415, 315, {}},
    {"cboALF", 6030, 3885, 2415, 315, {}},
    {"cboRollPaper", 6030, 4310, 2415, 315, {}},
};

const ControlCase kFeaturesControls[] = {
    {"imgBackground", 0, 0, 11070, 6825, {738, 455}},
    {"Image2", 2760, 480, 3690, 480, {246, 32}},
    {"imgPrintFeatures", 9000, 5400, 1920, 390, {128, 26}},
    {"imgClose", 9000, 5880, 1890, 360, {126, 24}},
    {"Picture1", 120, 0, 2535, 375, {338, 25}},
    {"txtFeatures", 120, 1320, 8655, 4875, {}},
};

void expectFixedSingleWindow(const QWidget& window, QSize client) {
    EXPECT_EQ(window.size(), client);
    EXPECT_EQ(window.minimumSize(), client);
    EXPECT_EQ(window.maximumSize(), client);
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(window.windowIcon().isNull());
}

void expectCentred(const QWidget& window) {
    const QRect available = window.screen()->availableGeometry();
    EXPECT_LE((window.geometry().center() - available.center()).manhattanLength(), 1);
}

void expectVerdana(const QWidget& widget, qreal points, bool bold) {
    EXPECT_DOUBLE_EQ(widget.font().pointSizeF(), points) << widget.objectName().toStdString();
    EXPECT_EQ(widget.font().bold(), bold) << widget.objectName().toStdString();
    const QString family = QFontInfo(widget.font()).family();
    EXPECT_TRUE(family == "Verdana" || family == "DejaVu Sans") << family.toStdString();
}

// The stacking position among the window's children: higher is nearer the user.
int stackingOf(const QWidget& window, const QWidget* control) {
    return static_cast<int>(window.children().indexOf(const_cast<QWidget*>(control)));
}

using MainWindowLayout = WindowTest;

TEST_F(MainWindowLayout, EveryControlSitsWhereTheTableSays) {
    for (const ControlCase& control : kMainControls)
        expectGeometry(*window, control);
}

TEST_F(MainWindowLayout, WindowIsFixedMinimisableCentredAndCaptioned) {
    EXPECT_EQ(window->windowTitle(), " Varnet Orvel  Printer Configuration Utility");
    expectFixedSingleWindow(*window, {728, 353});
    expectCentred(*window);
}

TEST_F(MainWindowLayout, NotesAreTransparentVerdanaLabelsAsLargeAsTheirText) {
    struct Note {
        QLabel* label;
        const char* text;
        bool bold;
        QPoint place;
    };
    for (const Note& note : {Note{window->Label1, "Note:", true, {8, 320}},
                             Note{window->Label3,
                                  "Use CTRL+Underlined letter to select command buttons.",
                                  false,
                                  {56, 320}},
                             Note{window->Label2,
                                  "Use ALT+Underlined letter to select printer permanent "
                                  "settings.",
                                  false,
                                  {56, 336}}}) {
        EXPECT_EQ(note.label->text(), note.text);
        EXPECT_EQ(note.label->pos(), note.place);
        EXPECT_EQ(note.label->size(), note.label->sizeHint());
        EXPECT_FALSE(note.label->autoFillBackground());
        EXPECT_EQ(note.label->palette().color(QPalette::WindowText), QColor(Qt::black));
        expectVerdana(*note.label, 8.25, note.bold);
    }
}

TEST_F(MainWindowLayout, OptionButtonsAndFrame) {
    EXPECT_EQ(window->OptDomestic->text(), "&Domestic Model");
    EXPECT_EQ(window->OptExport->text(), "E&xport Model");
    EXPECT_TRUE(window->OptDomestic->isChecked());
    EXPECT_FALSE(window->OptExport->isChecked());
    for (QRadioButton* option : {window->OptDomestic, window->OptExport}) {
        expectVerdana(*option, 8.25, false);
        EXPECT_TRUE(option->autoFillBackground());
        EXPECT_EQ(option->palette().color(option->backgroundRole()), QColor(Qt::white));
    }
    EXPECT_EQ(window->Shape1->palette().color(QPalette::WindowText), QColor(192, 192, 255));
}

TEST_F(MainWindowLayout, BoxesHoldTheirListsDefaultsColoursAndEnabledStates) {
    const QColor dark(0, 0, 64);
    for (const SettingInfo& info : settingsTable()) {
        SCOPED_TRACE(info.box);
        QComboBox* box = window->selectionBox(info.id);
        EXPECT_EQ(box->objectName().toStdString(), info.box);
        EXPECT_FALSE(box->isEditable());
        ASSERT_EQ(box->count(), static_cast<int>(info.choices.size()));
        for (int choice = 0; choice < box->count(); ++choice)
            EXPECT_EQ(box->itemText(choice).toStdString(), info.choices[choice]);
        EXPECT_EQ(box->currentIndex(), info.defaultChoice);
        expectVerdana(*box, 8.25, false);
        // The open list shows its choices in the box's font.
        expectVerdana(*box->view(), 8.25, false);

        const bool language = info.id == Setting::cboLanguage || info.id == Setting::cboLanStd ||
                              info.id == Setting::cboSpcComp;
        EXPECT_EQ(box->isEnabled(), !language);

        const QPalette palette = box->palette();
        if (info.id == Setting::cboFlowCtrl) {
            EXPECT_NE(palette.color(QPalette::Active, QPalette::ButtonText), dark);
        } else {
            EXPECT_EQ(palette.color(QPalette::Active, QPalette::ButtonText), dark);
        }
        // A disabled box keeps the greyed look.
        EXPECT_NE(palette.color(QPalette::Disabled, QPalette::ButtonText), dark);
        const bool white = info.id == Setting::cboFont || info.id == Setting::cboRollPaper;
        EXPECT_EQ(palette.color(QPalette::Button),
                  white ? QColor(Qt::white) : window->palette().color(QPalette::Base));
    }
}

TEST_F(MainWindowLayout, FocusStartsOnFontAndFollowsTheTabIndex) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), window->cboFont);

    std::vector<QWidget*> order;
    for (const SettingInfo& info : settingsTable())
        order.push_back(window->selectionBox(info.id));
    order.push_back(window->OptDomestic);
    order.push_back(window->OptExport);
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        QWidget* next = order[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        EXPECT_EQ(next, order[i + 1]) << order[i]->objectName().toStdString();
    }
}

TEST_F(MainWindowLayout, BackgroundLowestBoxesAbovePicturesBannerOnTop) {
    const int background = stackingOf(*window, window->imgBackground);
    EXPECT_EQ(background, 0);
    const std::vector<QWidget*> low = {
        window->Image1,       window->Image2,       window->Shape1,           window->Label1,
        window->Label2,       window->Label3,       window->imgApplySettings, window->imgDefault,
        window->imgSFeatures, window->imgPFeatures, window->imgExit};
    std::vector<QWidget*> high = {window->Picture1, window->OptDomestic, window->OptExport};
    for (const SettingInfo& info : settingsTable())
        high.push_back(window->selectionBox(info.id));
    for (QWidget* picture : low) {
        EXPECT_GT(stackingOf(*window, picture), background);
        for (QWidget* control : high)
            EXPECT_LT(stackingOf(*window, picture), stackingOf(*window, control));
    }
    for (QWidget* control : high)
        EXPECT_LT(stackingOf(*window, control), stackingOf(*window, window->imgWarning));

    // Where the banner lies over a box, the banner is what the pointer meets.
    const QPoint overBaudRate(window->imgWarning->x() + 5, window->cboBaudRate->y() + 5);
    EXPECT_EQ(window->childAt(overBaudRate), window->cboBaudRate);
    window->imgWarning->show();
    EXPECT_EQ(window->childAt(overBaudRate), window->imgWarning);
}

TEST_F(MainWindowLayout, BannerIsHiddenWithItsSunkenBorderAndEveryOtherControlEnabled) {
    EXPECT_FALSE(window->imgWarning->isVisible());
    EXPECT_EQ(window->imgWarning->frameShape(), QFrame::Panel);
    EXPECT_EQ(window->imgWarning->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(window->imgWarning->lineWidth(), 2);
    const std::vector<QWidget*> controls = {
        window->imgBackground, window->imgApplySettings, window->imgDefault,  window->imgSFeatures,
        window->imgPFeatures,  window->imgExit,          window->OptDomestic, window->OptExport};
    for (QWidget* control : controls)
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
}

using FeaturesWindowLayout = FeaturesWindowTest;

TEST_F(FeaturesWindowLayout, EveryControlSitsWhereTheTableSays) {
    for (const ControlCase& control : kFeaturesControls)
        expectGeometry(*features, control);
    EXPECT_EQ(features->windowTitle(), "Varnet Orvel Printer Configuration Utility");
    expectFixedSingleWindow(*features, {738, 453});
    expectCentred(*features);
}

TEST_F(FeaturesWindowLayout, TextBoxIsReadOnlyWhiteUnscrolledAndWraps) {
    QPlainTextEdit* text = features->txtFeatures;
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_TRUE(text->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    EXPECT_TRUE(text->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(text->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(text->palette().color(QPalette::Text), QColor(0, 0, 64));
    expectVerdana(*text, 9.75, false);
}

TEST_F(FeaturesWindowLayout, PicturesLieBelowTheTitleBoxAndTheTextBox) {
    EXPECT_EQ(stackingOf(*features, features->imgBackground), 0);
    for (QWidget* picture : {features->Image2, features->imgPrintFeatures, features->imgClose}) {
        EXPECT_LT(stackingOf(*features, picture), stackingOf(*features, features->Picture1));
        EXPECT_LT(stackingOf(*features, picture), stackingOf(*features, features->txtFeatures));
    }
    QWidget* next = features->Picture1->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus)
        next = next->nextInFocusChain();
    EXPECT_EQ(next, features->txtFeatures);
}

}  // namespace
}  // namespace orvel::test
