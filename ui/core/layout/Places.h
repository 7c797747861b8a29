// The kinds of control the windows are built from, each with its place and look, keyed by what
// the control stands for: a picture by its role, a button by its face, a box by its setting, an
// option button by its model.
#pragma once

#include <vector>

#include "settings/SettingsModel.h"
#include "settings/SettingsTable.h"
#include "ui/core/buttons/ButtonFaces.h"
#include "ui/core/layout/Geometry.h"

namespace orvel {

// The pictures that are no buttons, by what they show.
enum class Picture {
    Background,     // imgBackground of either window
    CaptionsLeft,   // Image1: the left column of the setting captions
    CaptionsRight,  // Image2 of the main window: the right column
    Title,          // Picture1 of either window: the title over the background's strip
    Banner,         // imgWarning: the please-wait banner
    Heading,        // Image2 of the features window
};

enum class PictureSizing {
    TakesPictureSize,  // a picture: takes the size of what it shows
    ClipsPicture,      // a picture box: keeps its size and clips the picture
};

struct PicturePlace {
    Picture picture;
    const char* name;     // the control's name, "imgBackground"
    const char* builtIn;  // the picture built into the window, "main_background"
    TwipsRect place;
    PictureSizing sizing;
    int sunkenBorder;  // pixels of a sunken border inside the place; 0 for none
};

// A picture button shows its face's normal picture, built into the window, until the pointer
// first swaps it (builtInFace).
struct ButtonPlace {
    ButtonFace face;
    const char* name;  // "imgApplySettings"
    TwipsRect place;
};

// A frame drawn around other controls; it takes no pointer events.
struct ShapePlace {
    const char* name;
    TwipsRect place;
    Rgb colour;
};

// A transparent label as large as its text.
struct LabelPlace {
    const char* name;
    const char* text;
    FontLook font;
    int left;
    int top;
    Rgb colour;
};

// A drop-down list: the user picks an entry and cannot type. Its name and list are the setting's
// (settingInfo); its tab index is its place in the window's list of boxes.
struct BoxPlace {
    Setting setting;
    TwipsRect place;
    ControlColour text;        // empty: the system's window-text colour
    ControlColour background;  // empty: the system's window colour
};

struct OptionPlace {
    Model model;
    const char* name;     // "OptDomestic"
    const char* caption;  // "&Domestic Model": & marks the access letter, shown underlined
    TwipsRect place;
    Rgb background;
};

// A multi-line read-only text box without scroll bars, its lines wrapped at its width.
struct TextBoxPlace {
    const char* name;
    TwipsRect place;
    FontLook font;
    Rgb text;
    Rgb background;
};

}  // namespace orvel
