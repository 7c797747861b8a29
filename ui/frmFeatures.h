// The features window: the printer's feature list, Print Features and Close.
//
// Closing it by its own close button unloads its controls; the next Show builds them anew from
// the window's definition, centred on the screen, while the window object itself lives on.
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace orvel {

class PictureControl;
class frmConfigUtility;

class frmFeatures : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 738;
    static constexpr int kClientHeight = 453;

    explicit frmFeatures(frmConfigUtility& mainWindow);
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
};

}  // namespace orvel
