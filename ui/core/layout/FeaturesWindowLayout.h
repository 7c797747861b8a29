// The features window's definition: its frame and every control's place and look.
#pragma once

#include <vector>

#include "ui/core/layout/Places.h"

namespace orvel::featureswindow {

const WindowFrame& frame();

// Beneath every other control: the background, then the heading.
const std::vector<PicturePlace>& lowerPictures();
// Print Features above Close, near the foot of the right panel.
const std::vector<ButtonPlace>& pictureButtons();
// The title picture box, first in the focus order; it shows the left half of its picture.
const PicturePlace& title();
// The feature list, after the title in the focus order.
const TextBoxPlace& textBox();

const ButtonPlace& buttonPlace(ButtonFace face);

}  // namespace orvel::featureswindow
