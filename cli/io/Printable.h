// Names that come from the user's settings or from a spooler go to a terminal: control bytes in
// them are shown as '?', so that no name can drive the terminal.
#pragma once

#include <string>

namespace orvel::cli {

std::string printable(const std::string& text);

}  // namespace orvel::cli
