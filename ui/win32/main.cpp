// The program on Windows: the main window, shown centred with the defaults selected.
#include <windows.h>

#include <memory>

#include "settings/SettingsModel.h"
#include "ui/win32/services/Win32MessageBox.h"
#include "ui/win32/windows/FeaturesWindow.h"
#include "ui/win32/windows/KeyPreview.h"
#include "ui/win32/windows/MainWindow.h"

namespace orvel::win32 {
namespace {

// Until the window's behaviour is joined: the selections and their rules only.
class Program : public MainWindowEvents,
                public FeaturesWindowEvents,
                public KeyPreviewHandler,
                private SettingsObserver {
public:
    Program() : main_(*static_cast<MainWindowEvents*>(this)) {
        model_.addObserver(this);
        model_.IntializeSelectionBoxes();
    }

    void buttonMouseUp(MainButton button, int Button, int, float, float) override {
        if (Button != 1)
            return;
        if (button == MainButton::ShowFeatures) {
            main_.hide();
            if (!features_ || !features_->exists())
                features_ =
                    std::make_unique<FeaturesWindow>(*static_cast<FeaturesWindowEvents*>(this));
            features_->show();
        }
        if (button == MainButton::ApplySettings) {
            main_.showBanner(true);
            main_.paintBanner();
            Sleep(2500);
            main_.showBanner(false);
        }
    }
    void buttonMouseMove(MainButton, int, int, float, float) override {}
    void backgroundMouseMove(int, int, float, float) override {}
    void boxClick(Setting setting, int choice) override {
        if (!model_.userSelect(setting, choice))
            selectionSet(setting, model_.selection(setting));
    }
    void optionClick(Model model) override { model_.selectModel(model); }
    void keyDown(int&, int&) override {}
    void keyPress(int&) override {}
    void keyUp(int&, int&) override {}
    void closeRequest(int&) override { PostQuitMessage(0); }
    void buttonMouseUp(FeaturesButton button, int, int, float, float) override {
        if (button == FeaturesButton::Close) {
            features_->hide();
            main_.show();
        }
    }
    void buttonMouseMove(FeaturesButton, int, int, float, float) override {}
    void closeRequest() override { main_.show(); }

    void selectionSet(Setting setting, int choice) override {
        main_.showSelection(setting, choice);
    }
    void enabledSet(Setting setting, bool enabled) override { main_.showEnabled(setting, enabled); }
    void modelSet(Model model) override { main_.showModel(model); }

    int run() {
        main_.show();
        return runMessageLoop(&Program::windowsOf, this, 2);
    }

private:
    static PreviewedWindow windowsOf(void* context, int which) {
        auto* self = static_cast<Program*>(context);
        if (which == 0)
            return {self->main_.window(), self};
        return {self->features_ ? self->features_->window() : nullptr, self};
    }

    SettingsModel model_;
    MainWindow main_;
    std::unique_ptr<FeaturesWindow> features_;
};

}  // namespace
}  // namespace orvel::win32

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    orvel::win32::Program program;
    return program.run();
}
