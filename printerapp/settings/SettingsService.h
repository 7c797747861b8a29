// The permanent settings in the printer application: stored per printer, sent to the printer as
// the window's very jobs (the 15-byte store, the 3-byte restore, the features page), readable and
// settable over IPP, and on a page of the printer's web interface.
#pragma once

#include <string>

#include <pappl/pappl.h>

#include "printerapp/settings/VendorAttributes.h"

namespace orvel::printerapp {

// The IPP hooks (settings attributes, authentication of changing operations) and the footer.
void installSettingsService(pappl_system_t* system);
// A printer just created or loaded: its settings' attributes and its settings page.
void settingsForNewPrinter(pappl_printer_t* printer);

// Whether the client may change the printer: over the server's own socket; with the access
// password when one is set; otherwise only while the server listens on this machine alone.
bool mayChangePrinter(pappl_client_t* client);

enum class SendOutcome { Sent, PrinterBusy, NotSent };

// Sends the store-settings command for these settings and, once it is queued, stores them.
// Refused (PrinterBusy) while the printer holds any job.
SendOutcome applySettings(pappl_printer_t* printer, const StoredSettings& settings,
                          const std::string& user);
// The restore-defaults command; the defaults are stored once it is queued.
SendOutcome restoreDefaults(pappl_printer_t* printer, const std::string& user);
// The features page, queued behind whatever the printer holds.
SendOutcome printFeatures(pappl_printer_t* printer, const std::string& user);

}  // namespace orvel::printerapp
