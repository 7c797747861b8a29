// The two questions the windows ask: is the printer ready, and does the user want to quit.
#pragma once

#include "printer/job/Messages.h"

namespace orvel::confirmations {

// Asked before every command that sends something to the printer; only OK goes on. Its words
// are the printer output's, which the printer application asks too.
inline const Message& kConfirmPrinterReady = messages::kConfirmPrinterReady;
// Asked by Exit and by closing the main window; only Yes quits.
extern const Message kConfirmQuit;

}  // namespace orvel::confirmations
