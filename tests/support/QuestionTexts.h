// The window's two questions as the user reads them, written out here rather than taken from
// the program's own message table, so that the tests hold that table to these words.
#pragma once

#include <string>

namespace orvel::test {

inline const std::string kPrinterReadyText =
    "Please check whether the printer is :\r\n* Switched ON\r\n* In online mode\r\n"
    "* In Parallel or Autoshare interface\r\n\r\nTo continue press OK else press Cancel to quit.";
inline const std::string kQuitText = "Are you sure to quit from this application?";

}  // namespace orvel::test
