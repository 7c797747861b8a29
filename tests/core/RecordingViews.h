// Test doubles of the windows' views: they build nothing, keep the state that the window core
// has them show, and write every call that changes what the user sees into one log, shared
// with the services, so that the order of a command's steps can be read back.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "settings/SettingsModel.h"
#include "ui/core/view/MainWindowView.h"
#include "ui/core/windows/frmConfigUtility.h"
#include "ui/core/windows/frmFeatures.h"

namespace orvel::test {

using CallLog = std::vector<std::string>;

inline std::string nameOf(ButtonFace face) {
    return facePictures(face).caption;
}

inline std::string nameOf(Picture picture) {
    switch (picture) {
        case Picture::Background:
            return "background";
        case Picture::Banner:
            return "banner";
        default:
            return "picture";
    }
}

// What both windows' views keep: the controls made, the pictures read and shown, the enabled
// states, the window's visibility.
template <typename View>
class RecordingWindowView : public View {
public:
    RecordingWindowView(CallLog& log, std::string window) : log_(log), window_(std::move(window)) {}

    // Names of the controls in the order they were made; cleared when they are destroyed.
    std::vector<std::string> controls;
    std::optional<WindowFrame> frame;
    bool visible = false;
    int centred = 0;
    // Every file read, in order; a read of a path in failing gives no picture.
    std::vector<std::string> reads;
    std::set<std::string> failing;
    // The file each button shows; none while it shows its built-in face.
    std::map<ButtonFace, std::string> shownFile;
    std::set<ButtonFace> disabledButtons;
    std::set<Picture> disabledPictures;

    void createWindow(const WindowFrame& windowFrame) override { frame = windowFrame; }
    void createPicture(const PicturePlace& place) override { controls.push_back(place.name); }
    void createPictureButton(const ButtonPlace& place) override {
        controls.push_back(place.name);
        shownFile.erase(place.face);
    }
    void controlsCreated() override { ++centred; }

    bool showButtonPicture(ButtonFace face, const std::string& path) override {
        reads.push_back(path);
        if (failing.count(path) != 0)
            return false;
        shownFile[face] = path;
        return true;
    }
    void setButtonEnabled(ButtonFace face, bool enabled) override {
        setMember(disabledButtons, face, enabled);
        note(nameOf(face) + (enabled ? " enabled" : " disabled"));
    }
    void setPictureEnabled(Picture picture, bool enabled) override {
        setMember(disabledPictures, picture, enabled);
        note(nameOf(picture) + (enabled ? " enabled" : " disabled"));
    }
    void paintButton(ButtonFace face) override { note(nameOf(face) + " painted"); }
    void paintPicture(Picture picture) override { note(nameOf(picture) + " painted"); }
    void showWindow() override {
        visible = true;
        note("shown");
    }
    void hideWindow() override {
        visible = false;
        note("hidden");
    }

protected:
    void note(const std::string& what) { log_.push_back(window_ + ": " + what); }

    CallLog& log_;

private:
    template <typename Key>
    static void setMember(std::set<Key>& disabled, Key key, bool enabled) {
        if (enabled)
            disabled.erase(key);
        else
            disabled.insert(key);
    }

    std::string window_;
};

class RecordingFeaturesView : public RecordingWindowView<FeaturesWindowView> {
public:
    explicit RecordingFeaturesView(CallLog& log) : RecordingWindowView(log, "features") {}

    std::string text;

    void createTextBox(const TextBoxPlace& place, const std::string& list) override {
        controls.push_back(place.name);
        text = list;
    }
    void destroyControls() override {
        controls.clear();
        shownFile.clear();
        note("controls destroyed");
    }
};

class RecordingMainView : public RecordingWindowView<MainWindowView> {
public:
    explicit RecordingMainView(CallLog& log) : RecordingWindowView(log, "main") {
        selections.fill(SettingsModel::kNoSelection);
        enabledBoxes.fill(true);
    }

    frmConfigUtility* window = nullptr;
    Selections selections{};
    std::array<bool, kSettingCount> enabledBoxes{};
    Model model = Model::None;
    bool bannerVisible = true;
    std::optional<Setting> focus;
    // Set by the test; closeOpenList closes it.
    bool listOpen = false;
    int held = 0;  // input holds alive
    RecordingFeaturesView* features = nullptr;

    void attach(frmConfigUtility& attached) override { window = &attached; }
    void createShape(const ShapePlace& place) override { controls.push_back(place.name); }
    void createLabel(const LabelPlace& place) override { controls.push_back(place.name); }
    void createSelectionBox(const BoxPlace& place) override {
        controls.push_back(settingInfo(place.setting).box);
    }
    void createOptionButton(const OptionPlace& place) override { controls.push_back(place.name); }
    void controlsCreated() override {
        RecordingWindowView::controlsCreated();
        focus = Setting::cboFont;
    }

    void showSelection(Setting setting, int choice) override {
        selections[index(setting)] = choice;
    }
    void showBoxEnabled(Setting setting, bool enabled) override {
        enabledBoxes[index(setting)] = enabled;
    }
    void showModel(Model shown) override { model = shown; }
    void setBannerVisible(bool shown) override {
        bannerVisible = shown;
        note(shown ? "banner shown" : "banner hidden");
    }
    void paintBanner() override { note("banner painted"); }
    void focusBox(Setting setting) override {
        focus = setting;
        note("focus on " + settingInfo(setting).box);
    }
    void closeOpenList() override {
        if (listOpen)
            note("list closed");
        listOpen = false;
    }

    std::unique_ptr<InputHold> holdInput() override { return std::make_unique<Hold>(*this); }

    std::unique_ptr<FeaturesWindowView> createFeaturesView(frmFeatures& /*window*/) override {
        auto view = std::make_unique<RecordingFeaturesView>(log_);
        features = view.get();
        note("features view made");
        return view;
    }

private:
    class Hold : public InputHold {
    public:
        explicit Hold(RecordingMainView& view) : view_(view) {
            ++view_.held;
            view_.note("input held");
        }
        ~Hold() override {
            --view_.held;
            view_.note("input taken again");
        }

    private:
        RecordingMainView& view_;
    };
};

}  // namespace orvel::test
