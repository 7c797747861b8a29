// The main window: the nineteen selection boxes, the model option and the five picture buttons
// that start the commands.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "printer/commands/mdlFlagSettings.h"
#include "printer/job/RawJob.h"
#include "settings/FlagSettings.h"
#include "settings/SettingsModel.h"
#include "ui/buttons/HoverButtons.h"
#include "ui/buttons/ShortcutTables.h"
#include "ui/input/KeyPreview.h"
#include "ui/services/UiServices.h"

class QComboBox;
class QFrame;
class QLabel;
class QRadioButton;

namespace orvel {

class PictureControl;
class frmFeatures;

class frmConfigUtility : public QWidget,
                         public KeyPreviewHandler,
                         private SettingsObserver,
                         private DownloadIdleControls {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 728;
    static constexpr int kClientHeight = 353;

    // Creates the window, centred on the screen, and runs Form_Load; the caller shows it.
    explicit frmConfigUtility(const UiServices& services);
    ~frmConfigUtility() override;

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

    // Event handlers. The mouse handlers act on the left button (1) only; the keyboard
    // shortcuts call them with button 1, shift 0 and position (0, 0).
    void Form_Load();
    void Form_Unload(int& Cancel);
    void imgApplySettings_MouseUp(int Button, int Shift, float X, float Y);
    void imgDefault_MouseUp(int Button, int Shift, float X, float Y);
    void imgSFeatures_MouseUp(int Button, int Shift, float X, float Y);
    void imgPFeatures_MouseUp(int Button, int Shift, float X, float Y);
    void imgExit_MouseUp(int Button, int Shift, float X, float Y);

    // Pointer moves: a button lights up, the background puts all five back. The arguments are
    // passed on by the picture controls and not looked at.
    void imgApplySettings_MouseMove(int Button, int Shift, float X, float Y);
    void imgDefault_MouseMove(int Button, int Shift, float X, float Y);
    void imgSFeatures_MouseMove(int Button, int Shift, float X, float Y);
    void imgPFeatures_MouseMove(int Button, int Shift, float X, float Y);
    void imgExit_MouseMove(int Button, int Shift, float X, float Y);
    void imgBackground_MouseMove(int Button, int Shift, float X, float Y);

    // Key preview: each key reaches these before the focused control.
    void Form_KeyDown(int& KeyCode, int& Shift) override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_KeyUp(int& KeyCode, int& Shift) override;

    // 2 from a key-down with exactly CTRL until the next character, which is then discarded.
    int intCtrlKey = 0;
    // Whether the background has put every button back since the last highlight.
    bool blnButtonsNormal() const { return hover_.blnButtonsNormal(); }

    // What the window offers the features window and the keyboard shortcuts.
    void IntializeSelectionBoxes();
    void fncPrintPrinterFeatures();
    FlagSettings fncGetFlagSettings() const;
    bool ConfirmPrinterReady();
    // Makes the window visible and active.
    void Show();

    QComboBox* selectionBox(Setting setting) const { return boxes_[index(setting)]; }
    const SettingsModel& settings() const { return model_; }
    // Nullptr until the first Show Features creates it.
    frmFeatures* features() const { return features_.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createPictures();
    void createNotes();
    void createPictureButtons();
    void createSelectionBoxes();
    void createOptionButtons();
    void createBanner();
    void arrangeTabOrder();
    void runShortcut(MainCommand command);
    // Closes the list of whichever selection box has it open; Qt's hidePopup does nothing for a
    // closed one.
    void closeOpenList();
    // Runs a printer procedure; a failure it did not handle itself ends it silently, so that
    // the command still finishes its own steps.
    template <typename Procedure>
    void runPrinterProcedure(Procedure procedure);

    // The model's changes, mirrored into the boxes and option buttons.
    void selectionSet(Setting setting, int choice) override;
    void enabledSet(Setting setting, bool enabled) override;
    void modelSet(Model model) override;

    // The idle state that a refused download restores.
    void enableApplySettings() override;
    void hideWarning() override;
    void enableBackground() override;
    void repaintApplySettings() override;
    void repaintWarning() override;
    void repaintBackground() override;

    UiServices services_;
    PrinterServices printerServices_;
    HoverButtons hover_;
    SettingsModel model_;
    std::array<QComboBox*, kSettingCount> boxes_{};
    std::unique_ptr<frmFeatures> features_;
};

}  // namespace orvel
