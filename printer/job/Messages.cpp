#include "printer/job/Messages.h"

namespace orvel {

std::string Message::text() const {
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += kLineBreak;
        joined += lines[i];
    }
    return joined;
}

MessageAnswer showMessage(MessageBoxService& messageBox, const Message& message) {
    return messageBox.show(message.text(), message.buttons, message.icon, message.title);
}

namespace messages {

namespace {

// How a stopped queue is resumed where the utility runs.
#ifdef _WIN32
constexpr char kResumeQueueAdvice[] =
    "Resume printing in the printer's queue window, then try again.";
#else
constexpr char kResumeQueueAdvice[] =
    "Resume the queue (sudo cupsenable followed by the printer's name), then try again.";
#endif

}  // namespace

const Message kNoPrinter = {{"No printer drivers are installed.", "Download Failed!!"},
                            MessageButtons::OK,
                            MessageIcon::Critical,
                            kApplicationTitle};
const Message kOpenFailed = {{"OpenPrinter Falied!!!", "Unable to access printer"},
                             MessageButtons::OK,
                             MessageIcon::Critical,
                             kMessageTitle};
const Message kSendFailed = {{"Unable to send data to the printer.", "Download Failed!!"},
                             MessageButtons::OK,
                             MessageIcon::Critical,
                             kMessageTitle};
const Message kPrinterBusy = {{"Unable to download printer settings.", "",
                               "Printer is busy with processing print jobs, please try once "
                               "printer is free."},
                              MessageButtons::OK,
                              MessageIcon::Critical,
                              kMessageTitle};
const Message kQueueStopped = {{"Unable to download printer settings.", "",
                                "The printer's queue is stopped: the settings would reach the "
                                "printer only once the queue is resumed.",
                                kResumeQueueAdvice},
                               MessageButtons::OK,
                               MessageIcon::Critical,
                               kMessageTitle};

const Message kConfirmPrinterReady = {
    {"Please check whether the printer is :", "* Switched ON", "* In online mode",
     "* In Parallel or Autoshare interface", "", "To continue press OK else press Cancel to quit."},
    MessageButtons::OKCancel,
    MessageIcon::Information,
    kMessageTitle};

}  // namespace messages
}  // namespace orvel
