#include "ui/windows/frmConfigUtility.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <exception>

#include "printer/commands/FeaturesPage.h"
#include "printer/job/Messages.h"
#include "settings/mdlFlagSettings.h"
#include "ui/buttons/PictureControl.h"
#include "ui/input/CommandInputBlock.h"
#include "ui/input/MouseButtons.h"
#include "ui/layout/Twips.h"
#include "ui/layout/UiFonts.h"
#include "ui/layout/WindowPlacement.h"
#include "ui/loading/BuiltInPictures.h"
#include "ui/core/windows/Confirmations.h"
#include "ui/windows/frmFeatures.h"

namespace orvel {

namespace {

using Handler = void (frmConfigUtility::*)(int Button, int Shift, float X, float Y);

const char kCaption[] = " Varnet Orvel  Printer Configuration Utility";

// Left, Top, Width, Height within the client area, in twips.
struct Place {
    int left;
    int top;
    int width;
    int height;

    QRect pixelRect() const { return twipsRect(left, top, width, height); }
};

struct PicturePlace {
    PictureControl* frmConfigUtility::*control;
    const char* name;
    const char* picture;
    Place place;
};

// The background is 45 twips wider than the client area; the window cuts the excess off.
const PicturePlace kBackground = {
    &frmConfigUtility::imgBackground, "imgBackground", "main_background", {0, 0, 10965, 5295}};

// The caption columns beside the boxes: the captions are drawn, so their letters are underlined.
const PicturePlace kCaptionColumns[] = {
    {&frmConfigUtility::Image1, "Image1", "main_captions_left", {120, 660, 1770, 3960}},
    {&frmConfigUtility::Image2, "Image2", "main_captions_right", {4200, 1080, 1875, 3570}},
};

// The title picture box, drawn over the background's title strip and clipped to the box.
const PicturePlace kTitle = {
    &frmConfigUtility::Picture1, "Picture1", "main_title", {120, 120, 3015, 255}};

// The please-wait banner: its picture inside a 2-pixel sunken border.
const PicturePlace kBanner = {
    &frmConfigUtility::imgWarning, "imgWarning", "banner", {2520, 2160, 5250, 570}};
constexpr int kBannerBorder = 2;

struct ButtonPlace {
    PicturePlace picture;
    ButtonFace face;
    Handler mouseUp;
    Handler mouseMove;
    MainCommand command;  // the CTRL shortcut's command
};

// One column, 450 twips apart.
const ButtonPlace kPictureButtons[] = {
    {{&frmConfigUtility::imgApplySettings,
      "imgApplySettings",
      "Apply_Settings1",
      {8820, 2520, 1920, 390}},
     ButtonFace::ApplySettings,
     &frmConfigUtility::imgApplySettings_MouseUp,
     &frmConfigUtility::imgApplySettings_MouseMove,
     MainCommand::ApplySettings},
    {{&frmConfigUtility::imgDefault, "imgDefault", "Restore_Default1", {8820, 2970, 1920, 390}},
     ButtonFace::RestoreDefault,
     &frmConfigUtility::imgDefault_MouseUp,
     &frmConfigUtility::imgDefault_MouseMove,
     MainCommand::RestoreDefault},
    {{&frmConfigUtility::imgSFeatures, "imgSFeatures", "Show_Features1", {8820, 3420, 1920, 390}},
     ButtonFace::ShowFeatures,
     &frmConfigUtility::imgSFeatures_MouseUp,
     &frmConfigUtility::imgSFeatures_MouseMove,
     MainCommand::ShowFeatures},
    {{&frmConfigUtility::imgPFeatures, "imgPFeatures", "Print_Features1", {8820, 3870, 1920, 390}},
     ButtonFace::PrintFeatures,
     &frmConfigUtility::imgPFeatures_MouseUp,
     &frmConfigUtility::imgPFeatures_MouseMove,
     MainCommand::PrintFeatures},
    {{&frmConfigUtility::imgExit, "imgExit", "Exit_Button1", {8820, 4320, 1920, 390}},
     ButtonFace::Exit,
     &frmConfigUtility::imgExit_MouseUp,
     &frmConfigUtility::imgExit_MouseMove,
     MainCommand::Exit},
};

struct NotePlace {
    QLabel* frmConfigUtility::*label;
    const char* name;
    const char* text;
    bool bold;
    int left;
    int top;
};

// Transparent over the bottom strip; each as large as its text.
const NotePlace kNotes[] = {
    {&frmConfigUtility::Label1, "Label1", "Note:", true, 120, 4800},
    {&frmConfigUtility::Label3, "Label3", "Use CTRL+Underlined letter to select command buttons.",
     false, 840, 4800},
    {&frmConfigUtility::Label2, "Label2",
     "Use ALT+Underlined letter to select printer permanent settings.", false, 840, 5040},
};

// The frame around the model option.
const Place kShape1 = {4200, 555, 4215, 375};
const QColor kShape1Colour(192, 192, 255);

struct OptionPlace {
    QRadioButton* frmConfigUtility::*button;
    const char* name;
    const char* caption;
    Model model;
    Place place;
    MainCommand command;  // the CTRL shortcut that sets it to True
};

const OptionPlace kOptionButtons[] = {
    {&frmConfigUtility::OptDomestic,
     "OptDomestic",
     "&Domestic Model",
     Model::OptDomestic,
     {4320, 630, 1695, 255},
     MainCommand::SelectDomestic},
    {&frmConfigUtility::OptExport,
     "OptExport",
     "E&xport Model",
     Model::OptExport,
     {6480, 630, 1815, 255},
     MainCommand::SelectExport},
};

enum class TextColour { Dark, System };
enum class Background { System, White };

struct BoxPlace {
    QComboBox* frmConfigUtility::*box;
    Setting setting;
    int left;
    int top;
    TextColour text;
    Background background;
};

// In focus order: the tab index is the position in this list.
const BoxPlace kSelectionBoxes[] = {
    {&frmConfigUtility::cboFont, Setting::cboFont, 1605, 675, TextColour::Dark, Background::White},
    {&frmConfigUtility::cboTearOff, Setting::cboTearOff, 1605, 1080, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboPageLength, Setting::cboPageLength, 1605, 1485, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboInterface, Setting::cboInterface, 1605, 1875, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboBaudRate, Setting::cboBaudRate, 1605, 2280, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboParity, Setting::cboParity, 1605, 2685, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboFlowCtrl, Setting::cboFlowCtrl, 1605, 3090, TextColour::System,
     Background::System},
    {&frmConfigUtility::cboStrobeEdge, Setting::cboStrobeEdge, 1605, 3480, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboCharTable, Setting::cboCharTable, 1605, 3885, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboLanguage, Setting::cboLanguage, 1605, 4290, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboLanStd, Setting::cboLanStd, 6030, 1080, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboSpcComp, Setting::cboSpcComp, 6030, 1485, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboInputBS, Setting::cboInputBS, 6030, 1875, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboSOP, Setting::cboSOP, 6030, 2280, TextColour::Dark, Background::System},
    {&frmConfigUtility::cboPrintDir, Setting::cboPrintDir, 6030, 2685, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboSlaZero, Setting::cboSlaZero, 6030, 3090, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboLineSpc, Setting::cboLineSpc, 6030, 3480, TextColour::Dark,
     Background::System},
    {&frmConfigUtility::cboALF, Setting::cboALF, 6030, 3885, TextColour::Dark, Background::System},
    {&frmConfigUtility::cboRollPaper, Setting::cboRollPaper, 6030, 4310, TextColour::Dark,
     Background::White},
};
constexpr int kBoxWidth = 2415;
constexpr int kBoxHeight = 315;
const QColor kBoxTextColour(0, 0, 64);

// The enabled look only: a disabled box keeps the style's greyed text.
void setLiveColour(QPalette& palette, QPalette::ColorRole role, const QColor& colour) {
    palette.setColor(QPalette::Active, role, colour);
    palette.setColor(QPalette::Inactive, role, colour);
}

void colourBox(QComboBox& box, const BoxPlace& place) {
    QPalette palette = box.palette();
    if (place.text == TextColour::Dark) {
        for (QPalette::ColorRole role :
             {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
            setLiveColour(palette, role, kBoxTextColour);
    }
    // The system's window colour is the palette's base, the colour of a text field.
    const QColor background =
        place.background == Background::White ? QColor(Qt::white) : palette.color(QPalette::Base);
    palette.setColor(QPalette::Button, background);
    palette.setColor(QPalette::Base, background);
    box.setPalette(palette);
}

PictureControl* createPicture(QWidget& window, const PicturePlace& place,
                              PictureControl::Sizing sizing) {
    auto* picture = new PictureControl(&window, sizing);
    picture->setObjectName(QLatin1String(place.name));
    picture->setGeometry(place.place.pixelRect());
    picture->setPicture(builtInPicture(QLatin1String(place.picture)));
    return picture;
}

}  // namespace

frmConfigUtility::frmConfigUtility(const UiServices& services)
    : services_(services),
      printerServices_{services.spooler, services.messageBox, services.sleep},
      hover_(HoverWindow::ConfigUtility, services.pictures, services.programFolder) {
    setObjectName(QStringLiteral("frmConfigUtility"));
    makeFixedSingleWindow(*this, kClientWidth, kClientHeight);
    setWindowTitle(QLatin1String(kCaption));
    setWindowIcon(printerIcon());
    // The boxes take the window's font: a font set on each box would make Qt build every box's
    // list at once, nineteen lists before the window is first shown.
    setFont(verdana(kControlPointSize));

    // Created lowest first: the stacking order is the order of creation.
    createPictures();
    createNotes();
    createPictureButtons();
    Picture1 = createPicture(*this, kTitle, PictureControl::Sizing::ClipsPicture);
    createSelectionBoxes();
    createOptionButtons();
    createBanner();
    arrangeTabOrder();

    new KeyPreview(this, *this);
    model_.addObserver(this);
    Form_Load();
    cboFont->setFocus();
    centreOnScreen(*this);
}

frmConfigUtility::~frmConfigUtility() {
    model_.removeObserver(this);
}

void frmConfigUtility::createPictures() {
    imgBackground = createPicture(*this, kBackground, PictureControl::Sizing::TakesPictureSize);
    imgBackground->setMouseMove([this](int Button, int Shift, float X, float Y) {
        imgBackground_MouseMove(Button, Shift, X, Y);
    });
    for (const PicturePlace& place : kCaptionColumns)
        this->*place.control =
            createPicture(*this, place, PictureControl::Sizing::TakesPictureSize);
}

void frmConfigUtility::createNotes() {
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setLineWidth(1);
    QPalette palette = Shape1->palette();
    palette.setColor(QPalette::WindowText, kShape1Colour);
    Shape1->setPalette(palette);
    Shape1->setGeometry(kShape1.pixelRect());
    // A shape takes no pointer events: the background beneath it sees the moves.
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);

    for (const NotePlace& note : kNotes) {
        auto* label = new QLabel(QLatin1String(note.text), this);
        label->setObjectName(QLatin1String(note.name));
        label->setFont(verdana(kControlPointSize, note.bold));
        QPalette text = label->palette();
        text.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(text);
        label->move(pixels(note.left), pixels(note.top));
        label->adjustSize();
        this->*note.label = label;
    }
}

void frmConfigUtility::createPictureButtons() {
    for (const ButtonPlace& button : kPictureButtons) {
        PictureControl* control =
            createPicture(*this, button.picture, PictureControl::Sizing::TakesPictureSize);
        const Handler mouseUp = button.mouseUp;
        control->setMouseUp([this, mouseUp](int Button, int Shift, float X, float Y) {
            (this->*mouseUp)(Button, Shift, X, Y);
        });
        const Handler mouseMove = button.mouseMove;
        control->setMouseMove([this, mouseMove](int Button, int Shift, float X, float Y) {
            (this->*mouseMove)(Button, Shift, X, Y);
        });
        hover_.attach(button.face, HoverButtons::showOn(control));
        this->*button.picture.control = control;
    }
}

void frmConfigUtility::createSelectionBoxes() {
    for (const BoxPlace& place : kSelectionBoxes) {
        const SettingInfo& info = settingInfo(place.setting);
        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromStdString(info.box));
        box->setEditable(false);
        for (const std::string& choice : info.choices)
            box->addItem(QString::fromStdString(choice));
        // No selection until the window's load handler selects the defaults.
        box->setCurrentIndex(SettingsModel::kNoSelection);
        box->setGeometry(twipsRect(place.left, place.top, kBoxWidth, kBoxHeight));
        colourBox(*box, place);
        const Setting setting = place.setting;
        connect(box, &QComboBox::activated, this, [this, setting](int choice) {
            // A refused choice puts the box back to what the model holds.
            if (!model_.userSelect(setting, choice))
                selectionSet(setting, model_.selection(setting));
        });
        boxes_[index(place.setting)] = box;
        this->*place.box = box;
    }
}

void frmConfigUtility::createOptionButtons() {
    for (const OptionPlace& option : kOptionButtons) {
        auto* button = new QRadioButton(QLatin1String(option.caption), this);
        button->setObjectName(QLatin1String(option.name));
        button->setFont(verdana(kControlPointSize));
        button->setAutoFillBackground(true);
        // A button fills its background with the button colour.
        QPalette palette = button->palette();
        palette.setColor(button->backgroundRole(), Qt::white);
        button->setPalette(palette);
        button->setGeometry(option.place.pixelRect());
        const Model model = option.model;
        connect(button, &QRadioButton::toggled, this, [this, model](bool checked) {
            if (checked)
                model_.selectModel(model);
        });
        this->*option.button = button;
    }
}

void frmConfigUtility::createBanner() {
    imgWarning = createPicture(*this, kBanner, PictureControl::Sizing::ClipsPicture);
    imgWarning->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    imgWarning->setLineWidth(kBannerBorder);
    imgWarning->hide();
}

void frmConfigUtility::arrangeTabOrder() {
    QWidget* previous = nullptr;
    for (const BoxPlace& place : kSelectionBoxes) {
        QWidget* box = this->*place.box;
        if (previous != nullptr)
            QWidget::setTabOrder(previous, box);
        previous = box;
    }
    for (const OptionPlace& option : kOptionButtons) {
        QWidget::setTabOrder(previous, this->*option.button);
        previous = this->*option.button;
    }
}

void frmConfigUtility::Form_Load() {
    IntializeSelectionBoxes();
}

void frmConfigUtility::IntializeSelectionBoxes() {
    model_.IntializeSelectionBoxes();
    imgWarning->hide();
}

FlagSettings frmConfigUtility::fncGetFlagSettings() const {
    return mdlFlagSettings::fncGetFlagSettings(model_.selections());
}

bool frmConfigUtility::ConfirmPrinterReady() {
    return showMessage(services_.messageBox, confirmations::kConfirmPrinterReady) ==
           MessageAnswer::OK;
}

void frmConfigUtility::Show() {
    show();
    raise();
    activateWindow();
}

template <typename Procedure>
void frmConfigUtility::runPrinterProcedure(Procedure procedure) {
    // The procedure holds the thread; what the user gives the windows meanwhile must not act
    // once it returns.
    const CommandInputBlock heldThread{this, features_.get()};
    try {
        procedure();
    } catch (const std::exception&) {
        // The printer procedures report their own failures; anything else ends them silently.
    }
}

void frmConfigUtility::fncPrintPrinterFeatures() {
    runPrinterProcedure([this] { fncPrintFeaturesPage(printerServices_); });
}

void frmConfigUtility::imgApplySettings_MouseUp(int Button, int /*Shift*/, float /*X*/,
                                                float /*Y*/) {
    if (Button != kLeftButton)
        return;
    if (!ConfirmPrinterReady())
        return;
    imgWarning->setVisible(true);
    // The download holds the thread: without this the banner would show only afterwards.
    imgWarning->repaint();
    imgApplySettings->setEnabled(false);
    imgBackground->setEnabled(false);
    const FlagSettings block = fncGetFlagSettings();
    runPrinterProcedure([this, &block] {
        mdlFlagSettings::fncDownloadSettings(printerServices_, *this,
                                             mdlFlagSettings::kApplySettings, &block);
    });
    imgWarning->setVisible(false);
    imgApplySettings->setEnabled(true);
    imgBackground->setEnabled(true);
}

void frmConfigUtility::imgDefault_MouseUp(int Button, int /*Shift*/, float /*X*/, float /*Y*/) {
    if (Button != kLeftButton)
        return;
    if (!ConfirmPrinterReady())
        return;
    IntializeSelectionBoxes();
    runPrinterProcedure([this] {
        mdlFlagSettings::fncDownloadSettings(printerServices_, *this,
                                             mdlFlagSettings::kRestoreDefaults, nullptr);
    });
}

void frmConfigUtility::imgSFeatures_MouseUp(int Button, int /*Shift*/, float /*X*/, float /*Y*/) {
    if (Button != kLeftButton)
        return;
    hide();
    if (!features_)
        features_ =
            std::make_unique<frmFeatures>(*this, services_.pictures, services_.programFolder);
    features_->Show();
}

void frmConfigUtility::imgPFeatures_MouseUp(int Button, int /*Shift*/, float /*X*/, float /*Y*/) {
    if (Button != kLeftButton)
        return;
    if (!ConfirmPrinterReady())
        return;
    fncPrintPrinterFeatures();
}

void frmConfigUtility::imgExit_MouseUp(int Button, int /*Shift*/, float /*X*/, float /*Y*/) {
    if (Button != kLeftButton)
        return;
    if (showMessage(services_.messageBox, confirmations::kConfirmQuit) == MessageAnswer::Yes)
        services_.program.endProgram();
}

void frmConfigUtility::Form_Unload(int& Cancel) {
    if (showMessage(services_.messageBox, confirmations::kConfirmQuit) != MessageAnswer::Yes)
        Cancel = 1;
}

void frmConfigUtility::closeEvent(QCloseEvent* event) {
    int Cancel = 0;
    Form_Unload(Cancel);
    if (Cancel != 0) {
        event->ignore();
        return;
    }
    event->accept();
    // The program ends with this window, a hidden features window included.
    services_.program.endProgram();
}

void frmConfigUtility::imgApplySettings_MouseMove(int, int, float, float) {
    hover_.highlight(ButtonFace::ApplySettings);
}

void frmConfigUtility::imgDefault_MouseMove(int, int, float, float) {
    hover_.highlight(ButtonFace::RestoreDefault);
}

void frmConfigUtility::imgSFeatures_MouseMove(int, int, float, float) {
    hover_.highlight(ButtonFace::ShowFeatures);
}

void frmConfigUtility::imgPFeatures_MouseMove(int, int, float, float) {
    hover_.highlight(ButtonFace::PrintFeatures);
}

void frmConfigUtility::imgExit_MouseMove(int, int, float, float) {
    hover_.highlight(ButtonFace::Exit);
}

void frmConfigUtility::imgBackground_MouseMove(int, int, float, float) {
    hover_.reset();
}

void frmConfigUtility::Form_KeyDown(int& /*KeyCode*/, int& Shift) {
    markCtrlKeyDown(intCtrlKey, Shift);
}

void frmConfigUtility::Form_KeyPress(int& KeyAscii) {
    discardCtrlCharacter(intCtrlKey, KeyAscii);
}

void frmConfigUtility::Form_KeyUp(int& KeyCode, int& Shift) {
    const MainShortcut shortcut = mainShortcut(
        KeyCode, Shift, [this](Setting box) { return selectionBox(box)->isEnabled(); });
    // A key given to an open list: the list goes before the focus moves or a command runs.
    if (shortcut.focus || shortcut.command)
        closeOpenList();
    if (shortcut.focus) {
        // Taking the focus neither opens the list nor changes the selection.
        selectionBox(*shortcut.focus)->setFocus(Qt::ShortcutFocusReason);
    } else if (shortcut.command) {
        runShortcut(*shortcut.command);
    }
}

void frmConfigUtility::closeOpenList() {
    for (QComboBox* box : boxes_)
        box->hidePopup();
}

// The same handlers as the mouse, with the left button: the whole command, confirmation
// included. The picture buttons' enabled state and pictures are not looked at.
void frmConfigUtility::runShortcut(MainCommand command) {
    for (const ButtonPlace& button : kPictureButtons) {
        if (button.command == command) {
            (this->*button.mouseUp)(kLeftButton, 0, 0, 0);
            return;
        }
    }
    for (const OptionPlace& option : kOptionButtons) {
        // Setting the value to True: the button's own toggle runs the model rule, which does
        // nothing when that model is already selected.
        if (option.command == command) {
            (this->*option.button)->setChecked(true);
            return;
        }
    }
}

void frmConfigUtility::selectionSet(Setting setting, int choice) {
    QComboBox* box = selectionBox(setting);
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(choice);
}

void frmConfigUtility::enabledSet(Setting setting, bool enabled) {
    selectionBox(setting)->setEnabled(enabled);
}

void frmConfigUtility::modelSet(Model model) {
    const QSignalBlocker quietDomestic(OptDomestic);
    const QSignalBlocker quietExport(OptExport);
    // An exclusive pair unchecks the other itself; a checked button can't be unchecked directly.
    if (model == Model::OptDomestic)
        OptDomestic->setChecked(true);
    if (model == Model::OptExport)
        OptExport->setChecked(true);
}

void frmConfigUtility::enableApplySettings() {
    imgApplySettings->setEnabled(true);
}

void frmConfigUtility::hideWarning() {
    imgWarning->hide();
}

void frmConfigUtility::enableBackground() {
    imgBackground->setEnabled(true);
}

void frmConfigUtility::repaintApplySettings() {
    imgApplySettings->repaint();
}

void frmConfigUtility::repaintWarning() {
    // A hidden banner paints nothing: paint what it uncovered.
    if (imgWarning->isVisible()) {
        imgWarning->repaint();
    } else {
        repaint(imgWarning->geometry());
    }
}

void frmConfigUtility::repaintBackground() {
    imgBackground->repaint();
}

}  // namespace orvel
