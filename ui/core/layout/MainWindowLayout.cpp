#include "ui/core/layout/MainWindowLayout.h"

#include <algorithm>
#include <stdexcept>

namespace orvel::mainwindow {

namespace {

constexpr Rgb kDarkText = {0, 0, 64};
constexpr int kBoxWidth = 2415;
constexpr int kBoxHeight = 315;

BoxPlace box(Setting setting, int left, int top, ControlColour text = kDarkText,
             ControlColour background = std::nullopt) {
    return {setting, {left, top, kBoxWidth, kBoxHeight}, text, background};
}

template <typename Row, typename Key>
const Row& find(const std::vector<Row>& table, Key Row::*column, Key key) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const Row& row) { return row.*column == key; });
    if (found == table.end())
        throw std::out_of_range("no such control in the main window");
    return *found;
}

}  // namespace

const WindowFrame& frame() {
    static const WindowFrame window = {"frmConfigUtility",
                                       " Varnet Orvel  Printer Configuration Utility", 10920, 5295};
    return window;
}

const std::vector<PicturePlace>& lowerPictures() {
    // The background is 45 twips wider than the client area; the window cuts the excess off.
    static const std::vector<PicturePlace> table = {
        {Picture::Background,
         "imgBackground",
         "main_background",
         {0, 0, 10965, 5295},
         PictureSizing::TakesPictureSize,
         0},
        {Picture::CaptionsLeft,
         "Image1",
         "main_captions_left",
         {120, 660, 1770, 3960},
         PictureSizing::TakesPictureSize,
         0},
        {Picture::CaptionsRight,
         "Image2",
         "main_captions_right",
         {4200, 1080, 1875, 3570},
         PictureSizing::TakesPictureSize,
         0},
    };
    return table;
}

const ShapePlace& shape() {
    static const ShapePlace frame = {"Shape1", {4200, 555, 4215, 375}, {192, 192, 255}};
    return frame;
}

const std::vector<LabelPlace>& notes() {
    static const std::vector<LabelPlace> table = {
        {"Label1", "Note:", kControlBoldFont, 120, 4800, kBlack},
        {"Label3", "Use CTRL+Underlined letter to select command buttons.", kControlFont, 840, 4800,
         kBlack},
        {"Label2", "Use ALT+Underlined letter to select printer permanent settings.", kControlFont,
         840, 5040, kBlack},
    };
    return table;
}

const std::vector<ButtonPlace>& pictureButtons() {
    static const std::vector<ButtonPlace> table = {
        {ButtonFace::ApplySettings, "imgApplySettings", {8820, 2520, 1920, 390}},
        {ButtonFace::RestoreDefault, "imgDefault", {8820, 2970, 1920, 390}},
        {ButtonFace::ShowFeatures, "imgSFeatures", {8820, 3420, 1920, 390}},
        {ButtonFace::PrintFeatures, "imgPFeatures", {8820, 3870, 1920, 390}},
        {ButtonFace::Exit, "imgExit", {8820, 4320, 1920, 390}},
    };
    return table;
}

const PicturePlace& title() {
    static const PicturePlace place = {Picture::Title,
                                       "Picture1",
                                       "main_title",
                                       {120, 120, 3015, 255},
                                       PictureSizing::ClipsPicture,
                                       0};
    return place;
}

const std::vector<BoxPlace>& selectionBoxes() {
    // Flow Control keeps the system's text colour; Font and Roll Paper have a fixed white
    // background.
    static const std::vector<BoxPlace> table = {
        box(Setting::cboFont, 1605, 675, kDarkText, kWhite),
        box(Setting::cboTearOff, 1605, 1080),
        box(Setting::cboPageLength, 1605, 1485),
        box(Setting::cboInterface, 1605, 1875),
        box(Setting::cboBaudRate, 1605, 2280),
        box(Setting::cboParity, 1605, 2685),
        box(Setting::cboFlowCtrl, 1605, 3090, std::nullopt),
        box(Setting::cboStrobeEdge, 1605, 3480),
        box(Setting::cboCharTable, 1605, 3885),
        box(Setting::cboLanguage, 1605, 4290),
        box(Setting::cboLanStd, 6030, 1080),
        box(Setting::cboSpcComp, 6030, 1485),
        box(Setting::cboInputBS, 6030, 1875),
        box(Setting::cboSOP, 6030, 2280),
        box(Setting::cboPrintDir, 6030, 2685),
        box(Setting::cboSlaZero, 6030, 3090),
        box(Setting::cboLineSpc, 6030, 3480),
        box(Setting::cboALF, 6030, 3885),
        box(Setting::cboRollPaper, 6030, 4310, kDarkText, kWhite),
    };
    return table;
}

const std::vector<OptionPlace>& optionButtons() {
    static const std::vector<OptionPlace> table = {
        {Model::OptDomestic, "OptDomestic", "&Domestic Model", {4320, 630, 1695, 255}, kWhite},
        {Model::OptExport, "OptExport", "E&xport Model", {6480, 630, 1815, 255}, kWhite},
    };
    return table;
}

const PicturePlace& banner() {
    // Its picture inside a 2-pixel sunken border.
    static const PicturePlace place = {Picture::Banner,
                                       "imgWarning",
                                       "banner",
                                       {2520, 2160, 5250, 570},
                                       PictureSizing::ClipsPicture,
                                       2};
    return place;
}

const BoxPlace& boxPlace(Setting setting) {
    return find(selectionBoxes(), &BoxPlace::setting, setting);
}

const ButtonPlace& buttonPlace(ButtonFace face) {
    return find(pictureButtons(), &ButtonPlace::face, face);
}

const OptionPlace& optionPlace(Model model) {
    return find(optionButtons(), &OptionPlace::model, model);
}

}  // namespace orvel::mainwindow
