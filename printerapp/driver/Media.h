// The paper the printer takes: continuous paper of each length that the page length setting
// names, 8.5 inches wide, and the usual cut sheets. Plain C++.
#pragma once

#include <string>
#include <vector>

namespace orvel::printerapp {

struct MediaSize {
    std::string pwgName;  // oe_fanfold-12-inch_8.5x12in, iso_a4_210x297mm
    int lengthIn360ths;   // the page length the printer is told
    bool continuous;
};

const std::vector<MediaSize>& mediaSizes();
// The continuous paper of a page length choice.
const MediaSize& continuousMedia(int pageLengthChoice);
// The page length for a size name, or from its length in hundredths of a millimetre when the
// name is none of ours.
int lengthIn360thsFor(const std::string& pwgName, int lengthHundredthsMm);

// Margins: the head's 8 inches of dots centred on 8.5-inch paper leave a quarter inch each side.
constexpr int kSideMarginHundredthsMm = 635;

}  // namespace orvel::printerapp
