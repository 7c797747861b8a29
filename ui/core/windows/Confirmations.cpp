#include "ui/core/windows/Confirmations.h"

namespace orvel::confirmations {

const Message kConfirmPrinterReady = {
    {"Please check whether the printer is :", "* Switched ON", "* In online mode",
     "* In Parallel or Autoshare interface", "", "To continue press OK else press Cancel to quit."},
    MessageButtons::OKCancel,
    MessageIcon::Information,
    kMessageTitle};

const Message kConfirmQuit = {{"Are you sure to quit from this application?"},
                              MessageButtons::YesNo,
                              MessageIcon::Question,
                              kMessageTitle};

}  // namespace orvel::confirmations
