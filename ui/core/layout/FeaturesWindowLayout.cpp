#include "ui/core/layout/FeaturesWindowLayout.h"

#include <algorithm>
#include <stdexcept>

namespace orvel::featureswindow {

const WindowFrame& frame() {
    static const WindowFrame window = {"frmFeatures", "Varnet Orvel Printer Configuration Utility",
                                       11070, 6795};
    return window;
}

const std::vector<PicturePlace>& lowerPictures() {
    // The background is 30 twips taller than the client area; the excess is cut off.
    static const std::vector<PicturePlace> table = {
        {Picture::Background,
         "imgBackground",
         "features_background",
         {0, 0, 11070, 6825},
         PictureSizing::TakesPictureSize,
         0},
        {Picture::Heading,
         "Image2",
         "features_heading",
         {2760, 480, 3690, 480},
         PictureSizing::TakesPictureSize,
         0},
    };
    return table;
}

const std::vector<ButtonPlace>& pictureButtons() {
    static const std::vector<ButtonPlace> table = {
        {ButtonFace::PrintFeatures, "imgPrintFeatures", {9000, 5400, 1920, 390}},
        {ButtonFace::Close, "imgClose", {9000, 5880, 1890, 360}},
    };
    return table;
}

const PicturePlace& title() {
    static const PicturePlace place = {Picture::Title,
                                       "Picture1",
                                       "features_title",
                                       {120, 0, 2535, 375},
                                       PictureSizing::ClipsPicture,
                                       0};
    return place;
}

const TextBoxPlace& textBox() {
    static const TextBoxPlace place = {
        "txtFeatures", {120, 1320, 8655, 4875}, kFeaturesFont, {0, 0, 64}, kWhite};
    return place;
}

const ButtonPlace& buttonPlace(ButtonFace face) {
    const auto& table = pictureButtons();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [face](const ButtonPlace& row) { return row.face == face; });
    if (found == table.end())
        throw std::out_of_range("no such button in the features window");
    return *found;
}

}  // namespace orvel::featureswindow
