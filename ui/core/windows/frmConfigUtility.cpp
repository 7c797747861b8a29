#include "ui/core/windows/frmConfigUtility.h"

#include <exception>

#include "printer/commands/FeaturesPage.h"
#include "printer/job/Messages.h"
#include "settings/mdlFlagSettings.h"
#include "ui/core/input/KeyState.h"
#include "ui/core/input/ShortcutTables.h"
#include "ui/core/layout/MainWindowLayout.h"
#include "ui/core/windows/Confirmations.h"
#include "ui/core/windows/frmFeatures.h"

namespace orvel {

namespace {

using Handler = void (frmConfigUtility::*)(int Button, int Shift, float X, float Y);

// Each button's handlers and the CTRL shortcut that runs the same command.
struct ButtonHandlers {
    ButtonFace face;
    Handler mouseUp;
    Handler mouseMove;
    MainCommand command;
};

const ButtonHandlers kButtonHandlers[] = {
    {ButtonFace::ApplySettings, &frmConfigUtility::imgApplySettings_MouseUp,
     &frmConfigUtility::imgApplySettings_MouseMove, MainCommand::ApplySettings},
    {ButtonFace::RestoreDefault, &frmConfigUtility::imgDefault_MouseUp,
     &frmConfigUtility::imgDefault_MouseMove, MainCommand::RestoreDefault},
    {ButtonFace::ShowFeatures, &frmConfigUtility::imgSFeatures_MouseUp,
     &frmConfigUtility::imgSFeatures_MouseMove, MainCommand::ShowFeatures},
    {ButtonFace::PrintFeatures, &frmConfigUtility::imgPFeatures_MouseUp,
     &frmConfigUtility::imgPFeatures_MouseMove, MainCommand::PrintFeatures},
    {ButtonFace::Exit, &frmConfigUtility::imgExit_MouseUp, &frmConfigUtility::imgExit_MouseMove,
     MainCommand::Exit},
};

// The CTRL shortcuts that set an option button to True.
struct OptionCommand {
    MainCommand command;
    Model model;
};

const OptionCommand kOptionCommands[] = {
    {MainCommand::SelectDomestic, Model::OptDomestic},
    {MainCommand::SelectExport, Model::OptExport},
};

const ButtonHandlers* handlersOf(ButtonFace face) {
    for (const ButtonHandlers& row : kButtonHandlers) {
        if (row.face == face)
            return &row;
    }
    return nullptr;
}

}  // namespace

frmConfigUtility::frmConfigUtility(const WindowServices& services, MainWindowView& view)
    : services_(services),
      view_(view),
      printerServices_{services.spooler, services.messageBox, services.sleep},
      hover_(HoverWindow::ConfigUtility, view, services.programFolder) {
    view_.attach(*this);
    createControls();
    model_.addObserver(this);
    Form_Load();
}

frmConfigUtility::~frmConfigUtility() {
    model_.removeObserver(this);
}

// Created lowest first: the stacking order is the order of creation, and the focus order that
// of the boxes, then the option buttons.
void frmConfigUtility::createControls() {
    view_.createWindow(mainwindow::frame());
    for (const PicturePlace& place : mainwindow::lowerPictures())
        view_.createPicture(place);
    view_.createShape(mainwindow::shape());
    for (const LabelPlace& place : mainwindow::notes())
        view_.createLabel(place);
    for (const ButtonPlace& place : mainwindow::pictureButtons())
        view_.createPictureButton(place);
    view_.createPicture(mainwindow::title());
    for (const BoxPlace& place : mainwindow::selectionBoxes())
        view_.createSelectionBox(place);
    for (const OptionPlace& place : mainwindow::optionButtons())
        view_.createOptionButton(place);
    view_.createPicture(mainwindow::banner());
    view_.setBannerVisible(false);
    view_.controlsCreated();
}

void frmConfigUtility::Form_Load() {
    IntializeSelectionBoxes();
}

void frmConfigUtility::IntializeSelectionBoxes() {
    model_.IntializeSelectionBoxes();
    view_.setBannerVisible(false);
}

FlagSettings frmConfigUtility::fncGetFlagSettings() const {
    return mdlFlagSettings::fncGetFlagSettings(model_.selections());
}

bool frmConfigUtility::ConfirmPrinterReady() {
    return showMessage(services_.messageBox, confirmations::kConfirmPrinterReady) ==
           MessageAnswer::OK;
}

void frmConfigUtility::Show() {
    view_.showWindow();
}

void frmConfigUtility::Hide() {
    view_.hideWindow();
}

template <typename Procedure>
void frmConfigUtility::runPrinterProcedure(Procedure procedure) {
    // The procedure holds the thread; what the user gives the windows meanwhile must not act
    // once it returns.
    const std::unique_ptr<InputHold> heldThread = view_.holdInput();
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
    view_.setBannerVisible(true);
    // The download holds the thread: without this the banner would show only afterwards.
    view_.paintBanner();
    view_.setButtonEnabled(ButtonFace::ApplySettings, false);
    view_.setPictureEnabled(Picture::Background, false);
    const FlagSettings block = fncGetFlagSettings();
    runPrinterProcedure([this, &block] {
        mdlFlagSettings::fncDownloadSettings(printerServices_, *this,
                                             mdlFlagSettings::kApplySettings, &block);
    });
    view_.setBannerVisible(false);
    view_.setButtonEnabled(ButtonFace::ApplySettings, true);
    view_.setPictureEnabled(Picture::Background, true);
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
    Hide();
    if (!features_)
        features_ = std::make_unique<frmFeatures>(*this, view_, services_.programFolder);
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

bool frmConfigUtility::closeRequested() {
    int Cancel = 0;
    Form_Unload(Cancel);
    if (Cancel != 0)
        return false;
    // The program ends with this window, a hidden features window included.
    services_.program.endProgram();
    return true;
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

void frmConfigUtility::pictureButton_MouseUp(ButtonFace face, int Button, int Shift, float X,
                                             float Y) {
    if (const ButtonHandlers* row = handlersOf(face))
        (this->*row->mouseUp)(Button, Shift, X, Y);
}

void frmConfigUtility::pictureButton_MouseMove(ButtonFace face, int Button, int Shift, float X,
                                               float Y) {
    if (const ButtonHandlers* row = handlersOf(face))
        (this->*row->mouseMove)(Button, Shift, X, Y);
}

void frmConfigUtility::picture_MouseMove(Picture picture, int Button, int Shift, float X, float Y) {
    if (picture == Picture::Background)
        imgBackground_MouseMove(Button, Shift, X, Y);
}

void frmConfigUtility::selectionBox_Click(Setting setting, int choice) {
    if (!model_.userSelect(setting, choice))
        view_.showSelection(setting, model_.selection(setting));
}

void frmConfigUtility::option_Click(Model model) {
    model_.selectModel(model);
}

void frmConfigUtility::Form_KeyDown(int& /*KeyCode*/, int& Shift) {
    markCtrlKeyDown(intCtrlKey, Shift);
}

void frmConfigUtility::Form_KeyPress(int& KeyAscii) {
    discardCtrlCharacter(intCtrlKey, KeyAscii);
}

void frmConfigUtility::Form_KeyUp(int& KeyCode, int& Shift) {
    const MainShortcut shortcut =
        mainShortcut(KeyCode, Shift, [this](Setting box) { return model_.isEnabled(box); });
    // A key given to an open list: the list goes before the focus moves or a command runs.
    if (shortcut.focus || shortcut.command)
        view_.closeOpenList();
    if (shortcut.focus) {
        view_.focusBox(*shortcut.focus);
    } else if (shortcut.command) {
        runShortcut(*shortcut.command);
    }
}

// The same handlers as the mouse, with the left button: the whole command, confirmation
// included. The picture buttons' enabled state and pictures are not looked at.
void frmConfigUtility::runShortcut(MainCommand command) {
    for (const ButtonHandlers& row : kButtonHandlers) {
        if (row.command == command) {
            (this->*row.mouseUp)(kLeftButton, 0, 0, 0);
            return;
        }
    }
    // Setting the value to True: the model rule does nothing when that model is already
    // selected.
    for (const OptionCommand& row : kOptionCommands) {
        if (row.command == command) {
            option_Click(row.model);
            return;
        }
    }
}

void frmConfigUtility::selectionSet(Setting setting, int choice) {
    view_.showSelection(setting, choice);
}

void frmConfigUtility::enabledSet(Setting setting, bool enabled) {
    view_.showBoxEnabled(setting, enabled);
}

void frmConfigUtility::modelSet(Model model) {
    view_.showModel(model);
}

void frmConfigUtility::enableApplySettings() {
    view_.setButtonEnabled(ButtonFace::ApplySettings, true);
}

void frmConfigUtility::hideWarning() {
    view_.setBannerVisible(false);
}

void frmConfigUtility::enableBackground() {
    view_.setPictureEnabled(Picture::Background, true);
}

void frmConfigUtility::repaintApplySettings() {
    view_.paintButton(ButtonFace::ApplySettings);
}

void frmConfigUtility::repaintWarning() {
    view_.paintBanner();
}

void frmConfigUtility::repaintBackground() {
    view_.paintPicture(Picture::Background);
}

}  // namespace orvel
