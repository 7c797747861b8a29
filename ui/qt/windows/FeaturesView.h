// The features window in Qt: the widgets that show what frmFeatures decides, and the user's
// pointer and keys handed to it. Closing it by its own close button destroys its controls; the
// window builds them anew through this same view at its next show.
#pragma once

#include <QWidget>

#include "ui/core/view/FeaturesWindowView.h"
#include "ui/core/windows/frmFeatures.h"
#include "ui/qt/loading/PictureLoader.h"

class QPlainTextEdit;

namespace orvel {

class KeyPreview;
class PictureControl;

class FeaturesView : public QWidget, public FeaturesWindowView {
    Q_OBJECT

public:
    // Its events go to window; the button pictures are read through pictures.
    FeaturesView(frmFeatures& window, PictureLoader& pictures);
    ~FeaturesView() override;

    // Controls, lowest in the stacking order first; null while the window is closed.
    PictureControl* imgBackground = nullptr;
    PictureControl* Image2 = nullptr;
    PictureControl* imgPrintFeatures = nullptr;
    PictureControl* imgClose = nullptr;
    PictureControl* Picture1 = nullptr;
    QPlainTextEdit* txtFeatures = nullptr;

    // The window whose events this view hands in.
    frmFeatures& window() const { return window_; }
    bool isLoaded() const { return txtFeatures != nullptr; }

    // FeaturesWindowView.
    void createWindow(const WindowFrame& frame) override;
    void createPicture(const PicturePlace& place) override;
    void createPictureButton(const ButtonPlace& place) override;
    void createTextBox(const TextBoxPlace& place, const std::string& text) override;
    void controlsCreated() override;
    void destroyControls() override;
    bool showButtonPicture(ButtonFace face, const std::string& path) override;
    void setButtonEnabled(ButtonFace face, bool enabled) override;
    void setPictureEnabled(Picture picture, bool enabled) override;
    void paintButton(ButtonFace face) override;
    void paintPicture(Picture picture) override;
    void showWindow() override;
    void hideWindow() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    PictureControl** pictureMember(Picture picture);
    PictureControl** buttonMember(ButtonFace face);

    frmFeatures& window_;
    PictureLoader& pictures_;
    KeyPreview* keyPreview_ = nullptr;
};

}  // namespace orvel
