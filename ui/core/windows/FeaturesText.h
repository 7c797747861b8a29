// The list of the printer's features that the features window shows. It is the window's own
// wording, independent of the printed features page.
#pragma once

#include <string>

namespace orvel {

// Nineteen lines, each ended by CR LF.
std::string featuresText();

}  // namespace orvel
