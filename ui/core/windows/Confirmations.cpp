#include "ui/core/windows/Confirmations.h"

namespace orvel::confirmations {

const Message kConfirmQuit = {{"Are you sure to quit from this application?"},
                              MessageButtons::YesNo,
                              MessageIcon::Question,
                              kMessageTitle};

}  // namespace orvel::confirmations
