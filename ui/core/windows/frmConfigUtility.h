// The main window: the nineteen selection boxes, the model option and the five picture buttons
// that start the commands. It holds every decision of the window and shows them through its
// view, which a toolkit implements.
#pragma once

#include <memory>

#include "printer/commands/mdlFlagSettings.h"
#include "printer/job/RawJob.h"
#include "settings/FlagSettings.h"
#include "settings/SettingsModel.h"
#include "ui/core/buttons/HoverButtons.h"
#include "ui/core/input/ShortcutTables.h"
#include "ui/core/services/WindowServices.h"
#include "ui/core/view/MainWindowView.h"
#include "ui/core/view/WindowEvents.h"
#include "ui/core/windows/MainWindowOffers.h"

namespace orvel {

class frmFeatures;

class frmConfigUtility : public WindowEvents,
                         public MainWindowOffers,
                         private SettingsObserver,
                         private DownloadIdleControls {
public:
    // Builds the window through the view, centred on the screen, and runs Form_Load; the caller
    // shows it.
    frmConfigUtility(const WindowServices& services, MainWindowView& view);
    ~frmConfigUtility() override;
    frmConfigUtility(const frmConfigUtility&) = delete;
    frmConfigUtility& operator=(const frmConfigUtility&) = delete;

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
    // not looked at.
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

    // The user's choice in a box, and a click (or access key) on an option button. A choice the
    // box may not take puts the box back to what it holds.
    void selectionBox_Click(Setting setting, int choice);
    void option_Click(Model model);

    // The events of the picture controls, passed to the handlers above by face and picture.
    void pictureButton_MouseUp(ButtonFace face, int Button, int Shift, float X, float Y) override;
    void pictureButton_MouseMove(ButtonFace face, int Button, int Shift, float X, float Y) override;
    void picture_MouseMove(Picture picture, int Button, int Shift, float X, float Y) override;
    // Runs Form_Unload; a close that goes ahead ends the program, a hidden features window
    // included.
    bool closeRequested() override;

    // 2 from a key-down with exactly CTRL until the next character, which is then discarded.
    int intCtrlKey = 0;
    // Whether the background has put every button back since the last highlight.
    bool blnButtonsNormal() const { return hover_.blnButtonsNormal(); }

    // What the window offers the features window and the keyboard shortcuts.
    void IntializeSelectionBoxes();
    void fncPrintPrinterFeatures() override;
    FlagSettings fncGetFlagSettings() const;
    bool ConfirmPrinterReady() override;
    // Makes the window visible and active; Hide keeps every selection.
    void Show() override;
    void Hide();

    const SettingsModel& settings() const { return model_; }
    MainWindowView& view() const { return view_; }
    // Nullptr until the first Show Features creates it.
    frmFeatures* features() const { return features_.get(); }

private:
    void createControls();
    void runShortcut(MainCommand command);
    // Runs a printer procedure with the windows' input held; a failure it did not handle itself
    // ends it silently, so that the command still finishes its own steps.
    template <typename Procedure>
    void runPrinterProcedure(Procedure procedure);

    // The model's changes, shown by the view.
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

    WindowServices services_;
    MainWindowView& view_;
    PrinterServices printerServices_;
    HoverButtons hover_;
    SettingsModel model_;
    std::unique_ptr<frmFeatures> features_;
};

}  // namespace orvel
