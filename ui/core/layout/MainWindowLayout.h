// The main window's definition: its frame and every control's place and look, in the order the
// controls lie, lowest first.
#pragma once

#include <vector>

#include "ui/core/layout/Places.h"

namespace orvel::mainwindow {

const WindowFrame& frame();

// Beneath every other control: the background, then the two caption columns.
const std::vector<PicturePlace>& lowerPictures();
// The frame around the model option buttons.
const ShapePlace& shape();
// The notes on the bottom strip.
const std::vector<LabelPlace>& notes();
// One column, 450 twips apart, in the order Apply Settings, Restore Default, Show Features,
// Print Features, Exit.
const std::vector<ButtonPlace>& pictureButtons();
// The title picture box over the background's title strip.
const PicturePlace& title();
// In focus order: the tab index is the position in this list.
const std::vector<BoxPlace>& selectionBoxes();
// After the boxes in the focus order.
const std::vector<OptionPlace>& optionButtons();
// The please-wait banner, above the boxes; hidden when the window opens.
const PicturePlace& banner();

const BoxPlace& boxPlace(Setting setting);
const ButtonPlace& buttonPlace(ButtonFace face);
const OptionPlace& optionPlace(Model model);

}  // namespace orvel::mainwindow
