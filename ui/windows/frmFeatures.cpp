#include "ui/windows/frmFeatures.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <optional>

#include "ui/buttons/PictureControl.h"
#include "ui/core/buttons/PictureTexts.h"
#include "ui/buttons/ShortcutTables.h"
#include "ui/input/MouseButtons.h"
#include "ui/layout/Twips.h"
#include "ui/layout/UiFonts.h"
#include "ui/layout/WindowPlacement.h"
#include "ui/loading/BuiltInPictures.h"
#include "ui/core/windows/FeaturesText.h"
#include "ui/windows/frmConfigUtility.h"

namespace orvel {

namespace {

using Handler = void (frmFeatures::*)(int Button, int Shift, float X, float Y);

const char kCaption[] = "Varnet Orvel Printer Configuration Utility";

struct PicturePlace {
    PictureControl* frmFeatures::*control;
    const char* name;
    const char* picture;
    PictureControl::Sizing sizing;
    int left;
    int top;
    int width;
    int height;
    Handler mouseUp;
    Handler mouseMove;
    std::optional<ButtonFace> face;  // a picture button's face
};

// Lowest first. The background is 30 twips taller than the client area; the excess is cut off.
// The title box shows the left half of its picture, which holds the lettering.
const PicturePlace kPictures[] = {
    {&frmFeatures::imgBackground, "imgBackground", "features_background",
     PictureControl::Sizing::TakesPictureSize, 0, 0, 11070, 6825, nullptr,
     &frmFeatures::imgBackground_MouseMove, std::nullopt},
    {&frmFeatures::Image2, "Image2", "features_heading", PictureControl::Sizing::TakesPictureSize,
     2760, 480, 3690, 480, nullptr, nullptr, std::nullopt},
    {&frmFeatures::imgPrintFeatures, "imgPrintFeatures", "Print_Features1",
     PictureControl::Sizing::TakesPictureSize, 9000, 5400, 1920, 390,
     &frmFeatures::imgPrintFeatures_MouseUp, &frmFeatures::imgPrintFeatures_MouseMove,
     ButtonFace::PrintFeatures},
    {&frmFeatures::imgClose, "imgClose", "Close_Button1", PictureControl::Sizing::TakesPictureSize,
     9000, 5880, 1890, 360, &frmFeatures::imgClose_MouseUp, &frmFeatures::imgClose_MouseMove,
     ButtonFace::Close},
    {&frmFeatures::Picture1, "Picture1", "features_title", PictureControl::Sizing::ClipsPicture,
     120, 0, 2535, 375, nullptr, nullptr, std::nullopt},
};

// The commands of the CTRL shortcuts: the mouse-release handlers.
struct ShortcutCommand {
    FeaturesCommand command;
    Handler mouseUp;
};
const ShortcutCommand kShortcutCommands[] = {
    {FeaturesCommand::Close, &frmFeatures::imgClose_MouseUp},
    {FeaturesCommand::PrintFeatures, &frmFeatures::imgPrintFeatures_MouseUp},
};

struct TextBoxPlace {
    int left;
    int top;
    int width;
    int height;
};
const TextBoxPlace kTextBox = {120, 1320, 8655, 4875};
const QColor kTextColour(0, 0, 64);

// The list holds CR LF line ends; the text box breaks lines at LF.
QString displayedFeatures() {
    return QString::fromStdString(featuresText())
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

frmFeatures::frmFeatures(frmConfigUtility& mainWindow, PictureLoader& pictures,
                         const QString& programFolder)
    : mainWindow_(mainWindow), hover_(HoverWindow::Features, pictures, programFolder) {
    setObjectName(QStringLiteral("frmFeatures"));
    makeFixedSingleWindow(*this, kClientWidth, kClientHeight);
    setWindowTitle(QLatin1String(kCaption));
    setWindowIcon(printerIcon());
    loadControls();
    new KeyPreview(this, *this);
}

frmFeatures::~frmFeatures() = default;

void frmFeatures::loadControls() {
    for (const PicturePlace& place : kPictures) {
        auto* picture = new PictureControl(this, place.sizing);
        picture->setObjectName(QLatin1String(place.name));
        picture->setGeometry(twipsRect(place.left, place.top, place.width, place.height));
        picture->setPicture(builtInPicture(QLatin1String(place.picture)));
        if (place.mouseUp != nullptr) {
            const Handler handler = place.mouseUp;
            picture->setMouseUp([this, handler](int Button, int Shift, float X, float Y) {
                (this->*handler)(Button, Shift, X, Y);
            });
        }
        if (place.mouseMove != nullptr) {
            const Handler handler = place.mouseMove;
            picture->setMouseMove([this, handler](int Button, int Shift, float X, float Y) {
                (this->*handler)(Button, Shift, X, Y);
            });
        }
        // Controls built anew show their built-in faces; the hover state carries on.
        if (place.face)
            hover_.attach(*place.face, HoverButtons::showOn(picture));
        picture->show();
        this->*place.control = picture;
    }
    // The title box can take the focus, first in the focus order, as a picture box does.
    Picture1->setFocusPolicy(Qt::StrongFocus);
    createTextBox();
    QWidget::setTabOrder(Picture1, txtFeatures);
    Picture1->setFocus();
    centreOnScreen(*this);
}

void frmFeatures::createTextBox() {
    txtFeatures = new QPlainTextEdit(this);
    txtFeatures->setObjectName(QStringLiteral("txtFeatures"));
    // Named after the heading above it, which a screen reader can't read from its picture.
    txtFeatures->setAccessibleName(QLatin1String(picturetexts::kFeaturesTitle));
    txtFeatures->setGeometry(
        twipsRect(kTextBox.left, kTextBox.top, kTextBox.width, kTextBox.height));
    txtFeatures->setFont(verdana(kFeaturesPointSize));
    QPalette palette = txtFeatures->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, kTextColour);
    txtFeatures->setPalette(palette);
    txtFeatures->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtFeatures->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtFeatures->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtFeatures->setPlainText(displayedFeatures());
    // Read-only, but the caret can be placed and text selected and copied.
    txtFeatures->setReadOnly(true);
    txtFeatures->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtFeatures->show();
}

void frmFeatures::unloadControls() {
    for (const PicturePlace& place : kPictures) {
        delete (this->*place.control);
        this->*place.control = nullptr;
    }
    delete txtFeatures;
    txtFeatures = nullptr;
}

void frmFeatures::Show() {
    if (!isLoaded())
        loadControls();
    show();
    raise();
    activateWindow();
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
    hide();
    mainWindow_.Show();
}

void frmFeatures::Form_Unload(int& /*Cancel*/) {
    hide();
    mainWindow_.Show();
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

void frmFeatures::Form_KeyUp(int& KeyCode, int& Shift) {
    const std::optional<FeaturesCommand> command = featuresShortcut(KeyCode, Shift);
    if (!command)
        return;
    for (const ShortcutCommand& row : kShortcutCommands) {
        if (row.command == *command)
            (this->*row.mouseUp)(kLeftButton, 0, 0, 0);
    }
}

void frmFeatures::closeEvent(QCloseEvent* event) {
    int Cancel = 0;
    Form_Unload(Cancel);
    event->accept();
    unloadControls();
}

}  // namespace orvel
