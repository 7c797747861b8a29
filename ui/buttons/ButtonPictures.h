// The faces of the command buttons of both windows (caption, underlined letter, picture files)
// and the order in which each window puts its buttons back to their normal pictures.
#pragma once

#include <QSize>
#include <QString>
#include <vector>

namespace orvel {

// The six button faces. The Print Features buttons of the two windows share one face and so
// read the same two files.
enum class ButtonFace { ApplySettings, RestoreDefault, ShowFeatures, PrintFeatures, Exit, Close };

enum class HoverWindow { ConfigUtility, Features };

struct FacePictures {
    ButtonFace face;
    QString stem;         // "Apply_Settings": the faces are <stem>1 (normal) and <stem>2
    QString caption;      // drawn on the face, "Apply Settings"
    QChar underlined;     // its first occurrence in the caption is drawn underlined
    QString normal;       // literal appended to the program folder, "/Apply_Settings1.bmp"
    QString highlighted;  // "/Apply_Settings2.bmp"
    QSize size;           // of both pictures, and so of the button that shows them
};

// The leading separator of every picture literal on this platform.
#ifdef _WIN32
inline constexpr char kPictureLiteralLead[] = "\\";
#else
inline constexpr char kPictureLiteralLead[] = "/";
#endif

// All six faces.
const std::vector<FacePictures>& buttonPictures();
const FacePictures& facePictures(ButtonFace face);

// The buttons of a window in the order a reset reloads them.
const std::vector<ButtonFace>& resetOrder(HoverWindow window);

}  // namespace orvel
