#include "ui/core/buttons/ButtonFaces.h"

#include <algorithm>
#include <stdexcept>

namespace orvel {

namespace {

std::string literal(const std::string& stem, int number) {
    return kPictureLiteralLead + stem + std::to_string(number) + ".bmp";
}

// The picture buttons are 128 x 26 pixels; Close, alone in the features window, is smaller.
constexpr PictureSize kButtonSize = {128, 26};
constexpr PictureSize kCloseButtonSize = {126, 24};

FacePictures makeFace(ButtonFace face, const char* stem, const char* caption, char underlined,
                      PictureSize size = kButtonSize) {
    return {face, stem, caption, underlined, literal(stem, 1), literal(stem, 2), size};
}

}  // namespace

const std::vector<FacePictures>& buttonPictures() {
    static const std::vector<FacePictures> table = {
        makeFace(ButtonFace::ApplySettings, "Apply_Settings", "Apply Settings", 'A'),
        makeFace(ButtonFace::RestoreDefault, "Restore_Default", "Restore Default", 'D'),
        makeFace(ButtonFace::ShowFeatures, "Show_Features", "Show Features", 'S'),
        makeFace(ButtonFace::PrintFeatures, "Print_Features", "Print Features", 'P'),
        makeFace(ButtonFace::Exit, "Exit_Button", "Exit", 'x'),
        makeFace(ButtonFace::Close, "Close_Button", "Close", 'C', kCloseButtonSize),
    };
    return table;
}

const FacePictures& facePictures(ButtonFace face) {
    const auto& table = buttonPictures();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [face](const FacePictures& row) { return row.face == face; });
    if (found == table.end())
        throw std::out_of_range("button face without pictures");
    return *found;
}

std::string builtInFace(ButtonFace face) {
    return facePictures(face).stem + "1";
}

const std::vector<ButtonFace>& resetOrder(HoverWindow window) {
    static const std::vector<ButtonFace> configUtility = {
        ButtonFace::ApplySettings, ButtonFace::RestoreDefault, ButtonFace::Exit,
        ButtonFace::PrintFeatures, ButtonFace::ShowFeatures};
    static const std::vector<ButtonFace> features = {ButtonFace::Close, ButtonFace::PrintFeatures};
    return window == HoverWindow::ConfigUtility ? configUtility : features;
}

std::string pictureFilePath(const std::string& programFolder, const std::string& literal) {
    return programFolder + literal;
}

}  // namespace orvel
