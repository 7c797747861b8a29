// The main window in Qt: the widgets that show what frmConfigUtility decides, and the user's
// pointer, keys and choices handed to it.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>

#include "settings/SettingsTable.h"
#include "ui/core/view/MainWindowView.h"
#include "ui/core/windows/frmConfigUtility.h"
#include "ui/qt/loading/PictureLoader.h"
#include "ui/qt/windows/FeaturesView.h"

class QComboBox;
class QFrame;
class QLabel;
class QRadioButton;

namespace orvel {

class PictureControl;

class ConfigUtilityView : public QWidget, public MainWindowView {
    Q_OBJECT

public:
    // The button pictures are read through pictures. Nothing is built until a window attaches.
    explicit ConfigUtilityView(PictureLoader& pictures);
    ~ConfigUtilityView() override;

    // Controls, lowest in the stacking order first.
    PictureControl* imgBackground = nullptr;
    PictureControl* Image1 = nullptr;
    PictureControl* Image2 = nullptr;
    QFrame* Shape1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    PictureControl* imgApplySettings = nullptr;
    PictureControl* imgDefault = nullptr;
    PictureControl* imgSFeatures = nullptr;
    PictureControl* imgPFeatures = nullptr;
    PictureControl* imgExit = nullptr;
    PictureControl* Picture1 = nullptr;
    QComboBox* cboFont = nullptr;
    QComboBox* cboTearOff = nullptr;
    QComboBox* cboPageLength = nullptr;
    QComboBox* cboInterface = nullptr;
    QComboBox* cboBaudRate = nullptr;
    QComboBox* cboParity = nullptr;
    QComboBox* cboFlowCtrl = nullptr;
    QComboBox* cboStrobeEdge = nullptr;
    QComboBox* cboCharTable = nullptr;
    QComboBox* cboLanguage = nullptr;
    QComboBox* cboLanStd = nullptr;
    QComboBox* cboSpcComp = nullptr;
    QComboBox* cboInputBS = nullptr;
    QComboBox* cboSOP = nullptr;
    QComboBox* cboPrintDir = nullptr;
    QComboBox* cboSlaZero = nullptr;
    QComboBox* cboLineSpc = nullptr;
    QComboBox* cboALF = nullptr;
    QComboBox* cboRollPaper = nullptr;
    QRadioButton* OptDomestic = nullptr;
    QRadioButton* OptExport = nullptr;
    PictureControl* imgWarning = nullptr;

    QComboBox* selectionBox(Setting setting) const { return boxes_[index(setting)]; }
    // The features window's view: nullptr until the first Show Features makes it.
    FeaturesView* features() const { return features_; }
    // The window whose events this view hands in.
    frmConfigUtility& window() const { return *window_; }

    // MainWindowView.
    void attach(frmConfigUtility& window) override;
    void createWindow(const WindowFrame& frame) override;
    void createPicture(const PicturePlace& place) override;
    void createPictureButton(const ButtonPlace& place) override;
    void createShape(const ShapePlace& place) override;
    void createLabel(const LabelPlace& place) override;
    void createSelectionBox(const BoxPlace& place) override;
    void createOptionButton(const OptionPlace& place) override;
    void controlsCreated() override;
    bool showButtonPicture(ButtonFace face, const std::string& path) override;
    void setButtonEnabled(ButtonFace face, bool enabled) override;
    void setPictureEnabled(Picture picture, bool enabled) override;
    void paintButton(ButtonFace face) override;
    void paintPicture(Picture picture) override;
    void showWindow() override;
    void hideWindow() override;
    void showSelection(Setting setting, int choice) override;
    void showBoxEnabled(Setting setting, bool enabled) override;
    void showModel(Model model) override;
    void setBannerVisible(bool visible) override;
    void paintBanner() override;
    void focusBox(Setting setting) override;
    void closeOpenList() override;
    std::unique_ptr<InputHold> holdInput() override;
    std::unique_ptr<FeaturesWindowView> createFeaturesView(frmFeatures& window) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    PictureControl** pictureMember(Picture picture);
    PictureControl** buttonMember(ButtonFace face);
    QRadioButton** optionMember(Model model);

    PictureLoader& pictures_;
    frmConfigUtility* window_ = nullptr;
    std::array<QComboBox*, kSettingCount> boxes_{};
    QPointer<FeaturesView> features_;
};

}  // namespace orvel
