// The messages that the printer output shows, each once, as data.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "printer/job/Services.h"

namespace orvel {

struct Message {
    std::vector<std::string> lines;  // joined by CR LF, with no break after the last
    MessageButtons buttons;
    MessageIcon icon;
    std::optional<std::string> title;  // none: the application's title

    std::string text() const;
};

MessageAnswer showMessage(MessageBoxService& messageBox, const Message& message);

namespace messages {

// No default printer can be found. Carries the application's title, also for the features page.
extern const Message kNoPrinter;
extern const Message kOpenFailed;
// Starting, writing or ending the document failed after the printer was opened; the started
// document was withdrawn so that no partial command reaches the printer.
extern const Message kSendFailed;
extern const Message kPrinterBusy;
// The printer's queue is stopped: the settings would wait in it until somebody resumes it. It
// names no printer, and reads as one sentence after another when its lines are joined.
extern const Message kQueueStopped;
// Asked before every command that sends something to the printer; only OK goes on.
extern const Message kConfirmPrinterReady;

}  // namespace messages
}  // namespace orvel
