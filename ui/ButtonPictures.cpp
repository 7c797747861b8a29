#include "ui/ButtonPictures.h"

#include <algorithm>
#include <stdexcept>

namespace orvel {

namespace {

QString literal(const char* fileName) {
    return QString::fromLatin1(kPictureLiteralLead) + QString::fromLatin1(fileName);
}

}  // namespace

const std::vector<FacePictures>& buttonPictures() {
    static const std::vector<FacePictures> table = {
        {ButtonFace::ApplySettings, literal("Apply_Settings1.bmp"), literal("Apply_Settings2.bmp")},
        {ButtonFace::RestoreDefault, literal("Restore_Default1.bmp"),
         literal("Restore_Default2.bmp")},
        {ButtonFace::ShowFeatures, literal("Show_Features1.bmp"), literal("Show_Features2.bmp")},
        {ButtonFace::PrintFeatures, literal("Print_Features1.bmp"), literal("Print_Features2.bmp")},
        {ButtonFace::Exit, literal("Exit_Button1.bmp"), literal("Exit_Button2.bmp")},
        {ButtonFace::Close, literal("Close_Button1.bmp"), literal("Close_Button2.bmp")},
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

const std::vector<ButtonFace>& resetOrder(HoverWindow window) {
    static const std::vector<ButtonFace> configUtility = {
        ButtonFace::ApplySettings, ButtonFace::RestoreDefault, ButtonFace::Exit,
        ButtonFace::PrintFeatures, ButtonFace::ShowFeatures};
    static const std::vector<ButtonFace> features = {ButtonFace::Close, ButtonFace::PrintFeatures};
    return window == HoverWindow::ConfigUtility ? configUtility : features;
}

}  // namespace orvel
