#include "ui/buttons/ButtonPictures.h"

#include <algorithm>
#include <stdexcept>

namespace orvel {

namespace {

QString literal(const QString& stem, int number) {
    return QString::fromLatin1(kPictureLiteralLead) + stem + QString::number(number) +
           QStringLiteral(".bmp");
}

// The picture buttons are 128 x 26 pixels; Close, alone in the features window, is smaller.
const QSize kButtonSize(128, 26);
const QSize kCloseButtonSize(126, 24);

FacePictures makeFace(ButtonFace face, const char* stem, const char* caption, char underlined,
                      QSize size = kButtonSize) {
    const QString name = QLatin1String(stem);
    return {face,
            name,
            QLatin1String(caption),
            QLatin1Char(underlined),
            literal(name, 1),
            literal(name, 2),
            size};
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

const std::vector<ButtonFace>& resetOrder(HoverWindow window) {
    static const std::vector<ButtonFace> configUtility = {
        ButtonFace::ApplySettings, ButtonFace::RestoreDefault, ButtonFace::Exit,
        ButtonFace::PrintFeatures, ButtonFace::ShowFeatures};
    static const std::vector<ButtonFace> features = {ButtonFace::Close, ButtonFace::PrintFeatures};
    return window == HoverWindow::ConfigUtility ? configUtility : features;
}

}  // namespace orvel
