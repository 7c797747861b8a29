#include "ui/core/windows/frmFeatures.h"

#include "ui/core/input/KeyState.h"
#include "ui/core/input/ShortcutTables.h"
#include "ui/core/layout/FeaturesWindowLayout.h"
#include "ui/core/view/MainWindowView.h"
#include "ui/core/windows/FeaturesText.h"

namespace orvel {

namespace {

using Handler = void (frmFeatures::*)(int Button, int Shift, float X, float Y);

// Each button's handlers and the CTRL shortcut that runs the same command.
struct ButtonHandlers {
    ButtonFace face;
    Handler mouseUp;
    Handler mouseMove;
    FeaturesCommand command;
};

const ButtonHandlers kButtonHandlers[] = {
    {ButtonFace::PrintFeatures, &frmFeatures::imgPrintFeatures_MouseUp,
     &frmFeatures::imgPrintFeatures_MouseMove, FeaturesCommand::PrintFeatures},
    {ButtonFace::Close, &frmFeatures::imgClose_MouseUp, &frmFeatures::imgClose_MouseMove,
     FeaturesCommand::Close},
};

const ButtonHandlers* handlersOf(ButtonFace face) {
    for (const ButtonHandlers& row : kButtonHandlers) {
        if (row.face == face)
            return &row;
    }
    return nullptr;
}

}  // namespace

frmFeatures::frmFeatures(MainWindowOffers& mainWindow, MainWindowView& mainView,
                         const std::string& programFolder)
    : mainWindow_(mainWindow),
      view_(mainView.createFeaturesView(*this)),
      hover_(HoverWindow::Features, *view_, programFolder) {
    view_->createWindow(featureswindow::frame());
    loadControls();
}

frmFeatures::~frmFeatures() = default;

// Lowest first; controls built anew show their built-in faces while the hover state carries on.
void frmFeatures::loadControls() {
    for (const PicturePlace& place : featureswindow::lowerPictures())
        view_->createPicture(place);
    for (const ButtonPlace& place : featureswindow::pictureButtons())
        view_->createPictureButton(place);
    view_->createPicture(featureswindow::title());
    view_->createTextBox(featureswindow::textBox(), featuresText());
    view_->controlsCreated();
    loaded_ = true;
}

void frmFeatures::Show() {
    if (!loaded_)
        loadControls();
    view_->showWindow();
}

void frmFeatures::imgPrintFeatures_MouseUp(int Button, int /*Shift*/, float /*X*/, float /*Y*/) {
    if (Button != kLeftButton)
        return;
    if (!mainWindow_.ConfirmPrinterReady())
        return;
    mainWindow_.fncPrintPrinterFeatures();
}

void frmFeatures::imgClose_MouseUp(int Button, int /*Shift*/, float /*X*/, float /*Y*/) {
    if (Button != kLeftButton)
        return;
    view_->hideWindow();
    mainWindow_.Show();
}

void frmFeatures::Form_Unload(int& /*Cancel*/) {
    view_->hideWindow();
    mainWindow_.Show();
}

bool frmFeatures::closeRequested() {
    int Cancel = 0;
    Form_Unload(Cancel);
    view_->destroyControls();
    loaded_ = false;
    return true;
}

void frmFeatures::imgPrintFeatures_MouseMove(int, int, float, float) {
    hover_.highlight(ButtonFace::PrintFeatures);
}

void frmFeatures::imgClose_MouseMove(int, int, float, float) {
    hover_.highlight(ButtonFace::Close);
}

void frmFeatures::imgBackground_MouseMove(int, int, float, float) {
    hover_.reset();
}

void frmFeatures::pictureButton_MouseUp(ButtonFace face, int Button, int Shift, float X, float Y) {
    if (const ButtonHandlers* row = handlersOf(face))
        (this->*row->mouseUp)(Button, Shift, X, Y);
}

void frmFeatures::pictureButton_MouseMove(ButtonFace face, int Button, int Shift, float X,
                                          float Y) {
    if (const ButtonHandlers* row = handlersOf(face))
        (this->*row->mouseMove)(Button, Shift, X, Y);
}

void frmFeatures::picture_MouseMove(Picture picture, int Button, int Shift, float X, float Y) {
    if (picture == Picture::Background)
        imgBackground_MouseMove(Button, Shift, X, Y);
}

void frmFeatures::Form_KeyUp(int& KeyCode, int& Shift) {
    const std::optional<FeaturesCommand> command = featuresShortcut(KeyCode, Shift);
    if (!command)
        return;
    for (const ButtonHandlers& row : kButtonHandlers) {
        if (row.command == *command)
            (this->*row.mouseUp)(kLeftButton, 0, 0, 0);
    }
}

}  // namespace orvel
