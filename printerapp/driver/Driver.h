// The printer's driver in the framework: what the printer says it can do, and the callbacks that
// turn each job into the printer's own output (pixels into bit-image bands, text into lines in
// its fonts, its own commands passed through).
#pragma once

#include <pappl/pappl.h>

namespace orvel::printerapp {

// The one driver, for the framework's list of drivers.
pappl_pr_driver_t* drivers(int* count);

bool driverCallback(pappl_system_t* system, const char* driverName, const char* deviceUri,
                    const char* deviceId, pappl_pr_driver_data_t* data, ipp_t** attrs,
                    void* context);

// Adds the formats that the framework does not know: plain text, and the printer's own
// commands sent without a type (what `lp -o raw` sends).
void addDocumentFormats(pappl_system_t* system);

// The settings' attributes that Get-Printer-Attributes answers: NAME-supported for every
// setting and NAME-default for the settings stored for the printer.
ipp_t* settingsAttributes(int printerId);

}  // namespace orvel::printerapp
