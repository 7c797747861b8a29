// The printer's "Permanent Settings" web page: the nineteen settings with their captions and
// choices, the two models, and the commands Apply Settings, Restore Default and Print Features,
// each asked with the printer-readiness question first.
#pragma once

#include <pappl/pappl.h>

namespace orvel::printerapp {

void addSettingsPage(pappl_printer_t* printer);

}  // namespace orvel::printerapp
