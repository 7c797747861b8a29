// The faces of the command buttons of both windows (caption, underlined letter, picture files)
// and the order in which each window puts its buttons back to their normal pictures.
#pragma once

#include <string>
#include <vector>

namespace orvel {

// The six button faces. The Print Features buttons of the two windows share one face and so
// read the same two files.
enum class ButtonFace { ApplySettings, RestoreDefault, ShowFeatures, PrintFeatures, Exit, Close };

enum class HoverWindow { ConfigUtility, Features };

struct PictureSize {
    int width;   // pixels
    int height;  // pixels
};

struct FacePictures {
    ButtonFace face;
    std::string stem;         // "Apply_Settings": the faces are <stem>1 (normal) and <stem>2
    std::string caption;      // drawn on the face, "Apply Settings"
    char underlined;          // its first occurrence in the caption is drawn underlined
    std::string normal;       // literal appended to the program folder, "/Apply_Settings1.bmp"
    std::string highlighted;  // "/Apply_Settings2.bmp"
    PictureSize size;         // of both pictures, and so of the button that shows them
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
// The name of the face built into the window: its normal picture, "Apply_Settings1".
std::string builtInFace(ButtonFace face);

// The buttons of a window in the order a reset reloads them.
const std::vector<ButtonFace>& resetOrder(HoverWindow window);

// A picture file's path: the program folder's path with the literal appended as it is, so that
// a folder path that already ends with a separator gives two in a row.
std::string pictureFilePath(const std::string& programFolder, const std::string& literal);

}  // namespace orvel
