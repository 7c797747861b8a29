#include "ui/qt/windows/ConfigUtilityView.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <utility>

#include "ui/core/layout/MainWindowLayout.h"
#include "ui/qt/buttons/PictureControl.h"
#include "ui/qt/input/CommandInputBlock.h"
#include "ui/qt/input/KeyPreview.h"
#include "ui/qt/layout/Twips.h"
#include "ui/qt/layout/UiFonts.h"
#include "ui/qt/layout/WindowPlacement.h"
#include "ui/qt/windows/FeaturesView.h"
#include "ui/qt/windows/ViewControls.h"

namespace orvel {

namespace {

// The boxes' members in the order of the settings.
const std::array<QComboBox * ConfigUtilityView::*, kSettingCount> kBoxMembers = {
    &ConfigUtilityView::cboFont,       &ConfigUtilityView::cboTearOff,
    &ConfigUtilityView::cboPageLength, &ConfigUtilityView::cboInterface,
    &ConfigUtilityView::cboBaudRate,   &ConfigUtilityView::cboParity,
    &ConfigUtilityView::cboFlowCtrl,   &ConfigUtilityView::cboStrobeEdge,
    &ConfigUtilityView::cboCharTable,  &ConfigUtilityView::cboLanguage,
    &ConfigUtilityView::cboLanStd,     &ConfigUtilityView::cboSpcComp,
    &ConfigUtilityView::cboInputBS,    &ConfigUtilityView::cboSOP,
    &ConfigUtilityView::cboPrintDir,   &ConfigUtilityView::cboSlaZero,
    &ConfigUtilityView::cboLineSpc,    &ConfigUtilityView::cboALF,
    &ConfigUtilityView::cboRollPaper,
};

// The labels' members by the labels' names.
const std::pair<const char*, QLabel * ConfigUtilityView::*> kLabelMembers[] = {
    {"Label1", &ConfigUtilityView::Label1},
    {"Label2", &ConfigUtilityView::Label2},
    {"Label3", &ConfigUtilityView::Label3},
};

// The enabled look only: a disabled box keeps the style's greyed text.
void setLiveColour(QPalette& palette, QPalette::ColorRole role, const QColor& colour) {
    palette.setColor(QPalette::Active, role, colour);
    palette.setColor(QPalette::Inactive, role, colour);
}

void colourBox(QComboBox& box, const BoxPlace& place) {
    QPalette palette = box.palette();
    if (place.text) {
        for (QPalette::ColorRole role :
             {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
            setLiveColour(palette, role, colourOf(*place.text));
    }
    // The system's window colour is the palette's base, the colour of a text field.
    const QColor background =
        place.background ? colourOf(*place.background) : palette.color(QPalette::Base);
    palette.setColor(QPalette::Button, background);
    palette.setColor(QPalette::Base, background);
    box.setPalette(palette);
}

// Holds the input of the windows it was given for its life.
class QtInputHold : public InputHold {
public:
    explicit QtInputHold(std::initializer_list<QWidget*> windows) : block_(windows) {}

private:
    CommandInputBlock block_;
};

}  // namespace

ConfigUtilityView::ConfigUtilityView(PictureLoader& pictures) : pictures_(pictures) {}

ConfigUtilityView::~ConfigUtilityView() = default;

void ConfigUtilityView::attach(frmConfigUtility& window) {
    window_ = &window;
}

void ConfigUtilityView::createWindow(const WindowFrame& frame) {
    setUpWindow(*this, frame);
    // The boxes take the window's font: a font set on each box would make Qt build every box's
    // list at once, nineteen lists before the window is first shown.
    setFont(fontOf(kControlFont));
}

void ConfigUtilityView::createPicture(const PicturePlace& place) {
    if (PictureControl** member = pictureMember(place.picture))
        *member = createPictureControl(*this, place, *window_);
}

void ConfigUtilityView::createPictureButton(const ButtonPlace& place) {
    if (PictureControl** member = buttonMember(place.face))
        *member = createButtonControl(*this, place, *window_);
}

void ConfigUtilityView::createShape(const ShapePlace& place) {
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QLatin1String(place.name));
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setLineWidth(1);
    QPalette palette = Shape1->palette();
    palette.setColor(QPalette::WindowText, colourOf(place.colour));
    Shape1->setPalette(palette);
    Shape1->setGeometry(twipsRect(place.place));
    // A shape takes no pointer events: the background beneath it sees the moves.
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ConfigUtilityView::createLabel(const LabelPlace& place) {
    auto* label = new QLabel(QLatin1String(place.text), this);
    label->setObjectName(QLatin1String(place.name));
    label->setFont(fontOf(place.font));
    QPalette text = label->palette();
    text.setColor(QPalette::WindowText, colourOf(place.colour));
    label->setPalette(text);
    label->move(pixels(place.left), pixels(place.top));
    label->adjustSize();
    for (const auto& [name, member] : kLabelMembers) {
        if (label->objectName() == QLatin1String(name))
            this->*member = label;
    }
}

void ConfigUtilityView::createSelectionBox(const BoxPlace& place) {
    const SettingInfo& info = settingInfo(place.setting);
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromStdString(info.box));
    box->setEditable(false);
    for (const std::string& choice : info.choices)
        box->addItem(QString::fromStdString(choice));
    // No selection until the window's load handler selects the defaults.
    box->setCurrentIndex(SettingsModel::kNoSelection);
    box->setGeometry(twipsRect(place.place));
    colourBox(*box, place);
    const Setting setting = place.setting;
    connect(box, &QComboBox::activated, this,
            [this, setting](int choice) { window_->selectionBox_Click(setting, choice); });
    boxes_[index(setting)] = box;
    this->*kBoxMembers[index(setting)] = box;
}

void ConfigUtilityView::createOptionButton(const OptionPlace& place) {
    auto* button = new QRadioButton(QLatin1String(place.caption), this);
    button->setObjectName(QLatin1String(place.name));
    button->setFont(fontOf(kControlFont));
    button->setAutoFillBackground(true);
    // A button fills its background with the button colour.
    QPalette palette = button->palette();
    palette.setColor(button->backgroundRole(), colourOf(place.background));
    button->setPalette(palette);
    button->setGeometry(twipsRect(place.place));
    const Model model = place.model;
    // A click or the access letter; showModel checks it without coming back here.
    connect(button, &QRadioButton::toggled, this, [this, model](bool checked) {
        if (checked)
            window_->option_Click(model);
    });
    if (QRadioButton** member = optionMember(model))
        *member = button;
}

// The boxes, then the option buttons; cboFont, first of all, takes the focus.
void ConfigUtilityView::controlsCreated() {
    QWidget* previous = nullptr;
    for (const BoxPlace& place : mainwindow::selectionBoxes()) {
        QWidget* box = selectionBox(place.setting);
        if (previous != nullptr)
            QWidget::setTabOrder(previous, box);
        previous = box;
    }
    for (const OptionPlace& place : mainwindow::optionButtons()) {
        QWidget* button = *optionMember(place.model);
        QWidget::setTabOrder(previous, button);
        previous = button;
    }
    new KeyPreview(this, *window_);
    selectionBox(mainwindow::selectionBoxes().front().setting)->setFocus();
    centreOnScreen(*this);
}

bool ConfigUtilityView::showButtonPicture(ButtonFace face, const std::string& path) {
    PictureControl** member = buttonMember(face);
    return showPictureFile(member ? *member : nullptr, pictures_, face, path);
}

void ConfigUtilityView::setButtonEnabled(ButtonFace face, bool enabled) {
    if (PictureControl** member = buttonMember(face))
        setControlEnabled(*member, enabled);
}

void ConfigUtilityView::setPictureEnabled(Picture picture, bool enabled) {
    if (PictureControl** member = pictureMember(picture))
        setControlEnabled(*member, enabled);
}

void ConfigUtilityView::paintButton(ButtonFace face) {
    if (PictureControl** member = buttonMember(face))
        repaintControl(*member);
}

void ConfigUtilityView::paintPicture(Picture picture) {
    if (PictureControl** member = pictureMember(picture))
        repaintControl(*member);
}

void ConfigUtilityView::showWindow() {
    showAndActivate(*this);
}

void ConfigUtilityView::hideWindow() {
    hide();
}

void ConfigUtilityView::showSelection(Setting setting, int choice) {
    QComboBox* box = selectionBox(setting);
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(choice);
}

void ConfigUtilityView::showBoxEnabled(Setting setting, bool enabled) {
    selectionBox(setting)->setEnabled(enabled);
}

void ConfigUtilityView::showModel(Model model) {
    const QSignalBlocker quietDomestic(OptDomestic);
    const QSignalBlocker quietExport(OptExport);
    // An exclusive pair unchecks the other itself; a checked button can't be unchecked directly.
    if (QRadioButton** member = optionMember(model))
        (*member)->setChecked(true);
}

void ConfigUtilityView::setBannerVisible(bool visible) {
    imgWarning->setVisible(visible);
}

void ConfigUtilityView::paintBanner() {
    // A hidden banner paints nothing: paint what it uncovered.
    if (imgWarning->isVisible()) {
        imgWarning->repaint();
    } else {
        repaint(imgWarning->geometry());
    }
}

// Taking the focus neither opens the list nor changes the selection.
void ConfigUtilityView::focusBox(Setting setting) {
    selectionBox(setting)->setFocus(Qt::ShortcutFocusReason);
}

// Qt's hidePopup does nothing for a closed list.
void ConfigUtilityView::closeOpenList() {
    for (QComboBox* box : boxes_)
        box->hidePopup();
}

std::unique_ptr<InputHold> ConfigUtilityView::holdInput() {
    return std::make_unique<QtInputHold>(std::initializer_list<QWidget*>{this, features_.data()});
}

std::unique_ptr<FeaturesWindowView> ConfigUtilityView::createFeaturesView(frmFeatures& window) {
    auto view = std::make_unique<FeaturesView>(window, pictures_);
    features_ = view.get();
    return view;
}

void ConfigUtilityView::closeEvent(QCloseEvent* event) {
    if (window_ != nullptr && window_->closeRequested())
        event->accept();
    else
        event->ignore();
}

PictureControl** ConfigUtilityView::pictureMember(Picture picture) {
    switch (picture) {
        case Picture::Background:
            return &imgBackground;
        case Picture::CaptionsLeft:
            return &Image1;
        case Picture::CaptionsRight:
            return &Image2;
        case Picture::Title:
            return &Picture1;
        case Picture::Banner:
            return &imgWarning;
        default:
            return nullptr;
    }
}

PictureControl** ConfigUtilityView::buttonMember(ButtonFace face) {
    switch (face) {
        case ButtonFace::ApplySettings:
            return &imgApplySettings;
        case ButtonFace::RestoreDefault:
            return &imgDefault;
        case ButtonFace::ShowFeatures:
            return &imgSFeatures;
        case ButtonFace::PrintFeatures:
            return &imgPFeatures;
        case ButtonFace::Exit:
            return &imgExit;
        default:
            return nullptr;
    }
}

QRadioButton** ConfigUtilityView::optionMember(Model model) {
    switch (model) {
        case Model::OptDomestic:
            return &OptDomestic;
        case Model::OptExport:
            return &OptExport;
        default:
            return nullptr;
    }
}

}  // namespace orvel
