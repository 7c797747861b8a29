// The features window: the printer's feature list, Print Features and Close.
//
// Closing it by its own close button unloads its controls; the next Show builds them anew from
// the window's definition, centred on the screen, while the window object itself lives on, and
// with it the buttons' hover state.
#pragma once

#include <QWidget>

#include "ui/buttons/HoverButtons.h"
#include "ui/input/KeyPreview.h"

class QPlainTextEdit;

namespace orvel {

class PictureControl;
class frmConfigUtility;

class frmFeatures : public QWidget, public KeyPreviewHandler {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 738;
    static constexpr int kClientHeight = 453;

    // The button pictures are read through pictures from programFolder.
    frmFeatures(frmConfigUtility& mainWindow, PictureLoader& pictures,
                const QString& programFolder);
    ~frmFeatures() override;

    // Controls, lowest in the stacking order first; null while the window is unloaded.
    PictureControl* imgBackground = nullptr;
    PictureControl* Image2 = nullptr;
    PictureControl* imgPrintFeatures = nullptr;
    PictureControl* imgClose = nullptr;
    PictureControl* Picture1 = nullptr;
    QPlainTextEdit* txtFeatures = nullptr;

    void imgPrintFeatures_MouseUp(int Button, int Shift, float X, float Y);
    void imgClose_MouseUp(int Button, int Shift, float X, float Y);
    // Never cancels: the close always goes ahead.
    void Form_Unload(int& Cancel);

    // Pointer moves: a button lights up, the background puts both back. The arguments are not
    // looked at.
    void imgPrintFeatures_MouseMove(int Button, int Shift, float X, float Y);
    void imgClose_MouseMove(int Button, int Shift, float X, float Y);
    void imgBackground_MouseMove(int Button, int Shift, float X, float Y);

    // Key preview: the CTRL shortcuts, on the letter's release.
    void Form_KeyUp(int& KeyCode, int& Shift) override;

    // Whether the background has put both buttons back since the last highlight; kept while
    // the controls are unloaded and built anew.
    bool blnButtonsNormal() const { return hover_.blnButtonsNormal(); }

    // Loads the controls if the window was unloaded, then makes it visible and active.
    void Show();
    bool isLoaded() const { return txtFeatures != nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void loadControls();
    void unloadControls();
    void createTextBox();

    frmConfigUtility& mainWindow_;
    HoverButtons hover_;
};

}  // namespace orvel
