#include "printerapp/settings/SettingsService.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <set>

#include "printer/commands/FeaturesPage.h"
#include "printer/commands/mdlFlagSettings.h"
#include "printer/job/Messages.h"
#include "printerapp/driver/Driver.h"
#include "printerapp/server/AppContext.h"
#include "printerapp/settings/SettingsPage.h"
#include "settings/mdlFlagSettings.h"

namespace orvel::printerapp {
namespace {

constexpr char kFooter[] = "Varnet Orvel Printer Application";

// Puts the settings' current attributes on the printer, where Get-Printer-Attributes finds them.
void refreshAttributes(pappl_printer_t* printer) {
    pappl_pr_driver_data_t data;
    papplPrinterGetDriverData(printer, &data);
    ipp_t* attrs = settingsAttributes(papplPrinterGetID(printer));
    papplPrinterSetDriverData(printer, &data, attrs);
    ippDelete(attrs);
}

// Queues bytes as a job of the printer's own format. The file is the job's from then on.
bool queueJob(pappl_printer_t* printer, const std::string& name, const std::string& bytes,
              const std::string& user) {
    std::string path = appContext().spoolFolder + "/orvel-command-XXXXXX";
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.data(), bytes.size()) ==
                         static_cast<ssize_t>(bytes.size());
    ::close(fd);
    if (!written ||
        !papplJobCreateWithFile(printer, user.empty() ? "guest" : user.c_str(), kNativeFormat,
                                name.c_str(), 0, nullptr, path.c_str())) {
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

SendOutcome sendCommand(pappl_printer_t* printer, const std::string& bytes,
                        const std::string& user) {
    // Like the window: nothing is sent while the printer holds any job.
    if (papplPrinterGetNumberOfActiveJobs(printer) > 0)
        return SendOutcome::PrinterBusy;
    return queueJob(printer, mdlFlagSettings::kDownloadDocumentName, bytes, user)
               ? SendOutcome::Sent
               : SendOutcome::NotSent;
}

SendOutcome storeAfterSending(pappl_printer_t* printer, const StoredSettings& settings,
                              const std::string& bytes, const std::string& user) {
    // One request at a time decides and queues, so that two never both find the printer free.
    static std::mutex sending;
    std::lock_guard<std::mutex> guard(sending);
    const SendOutcome outcome = sendCommand(printer, bytes, user);
    if (outcome == SendOutcome::Sent) {
        appContext().storeSettings(papplPrinterGetID(printer), settings);
        refreshAttributes(printer);
    }
    return outcome;
}

// --- Who may change the printer --------------------------------------------------------------

bool changesPrinter(ipp_op_t op) {
    switch (op) {
    case IPP_OP_SET_PRINTER_ATTRIBUTES:
    case IPP_OP_SET_SYSTEM_ATTRIBUTES:
    case IPP_OP_CREATE_PRINTER:
    case IPP_OP_DELETE_PRINTER:
    case IPP_OP_PAUSE_PRINTER:
    case IPP_OP_RESUME_PRINTER:
    case IPP_OP_PAUSE_ALL_PRINTERS:
    case IPP_OP_RESUME_ALL_PRINTERS:
    case IPP_OP_SHUTDOWN_ALL_PRINTERS:
    case IPP_OP_DISABLE_PRINTER:
    case IPP_OP_ENABLE_PRINTER:
    case IPP_OP_DISABLE_ALL_PRINTERS:
    case IPP_OP_ENABLE_ALL_PRINTERS:
    case IPP_OP_HOLD_NEW_JOBS:
    case IPP_OP_RELEASE_HELD_NEW_JOBS:
    case IPP_OP_CANCEL_JOBS:
    case IPP_OP_IDENTIFY_PRINTER:
        return true;
    default:
        return false;
    }
}

bool overOwnSocket(pappl_client_t* client) {
    http_addr_t* address = httpGetAddress(papplClientGetHTTP(client));
    return address && httpAddrFamily(address) == AF_LOCAL;
}

// The password of HTTP Basic authentication, empty when there is none.
std::string basicPassword(pappl_client_t* client) {
    const char* field = httpGetField(papplClientGetHTTP(client), HTTP_FIELD_AUTHORIZATION);
    if (!field || std::strncmp(field, "Basic ", 6) != 0)
        return "";
    char decoded[512];
    int length = sizeof(decoded) - 1;
    httpDecode64_2(decoded, &length, field + 6);
    decoded[std::min(std::max(length, 0), static_cast<int>(sizeof(decoded) - 1))] = '\0';
    const char* colon = std::strchr(decoded, ':');
    return colon ? std::string(colon + 1) : std::string();
}

}  // namespace

// The same rule as the web pages': over the server's own socket (whose folder only its user may
// enter), with the access password when one is set, through the authentication service when one
// is named, and otherwise only from this machine, which is all the server then listens on.
bool mayChangePrinter(pappl_client_t* client) {
    if (overOwnSocket(client))
        return true;
    pappl_system_t* system = papplClientGetSystem(client);
    char stored[256] = "";
    if (papplSystemGetPassword(system, stored, sizeof stored) && *stored) {
        const std::string password = basicPassword(client);
        char hashed[256] = "";
        return !password.empty() &&
               papplSystemHashPassword(system, stored, password.c_str(), hashed, sizeof hashed) &&
               std::strcmp(hashed, stored) == 0;
    }
    if (papplSystemGetAuthService(system)) {
        return httpGetField(papplClientGetHTTP(client), HTTP_FIELD_AUTHORIZATION)[0] &&
               papplClientIsAuthorized(client) == HTTP_STATUS_CONTINUE &&
               papplClientGetUsername(client) && *papplClientGetUsername(client);
    }
    return !appContext().remoteAdmin;
}

namespace {

// --- Settings over IPP ------------------------------------------------------------------------

bool isOurs(const char* name) {
    return name && std::strncmp(name, kVendorPrefix, std::strlen(kVendorPrefix)) == 0;
}

// Group names and "all" stand for the registered attributes only, which leaves ours out; a
// request that asks for them gets ours named as well.
void askForOursToo(ipp_t* request) {
    ipp_attribute_t* requested = ippFindAttribute(request, "requested-attributes", IPP_TAG_KEYWORD);
    if (!requested)
        return;
    bool wantsAll = false;
    for (int i = 0; i < ippGetCount(requested); ++i) {
        const char* value = ippGetString(requested, i, nullptr);
        if (value && (!std::strcmp(value, "all") || !std::strcmp(value, "printer-description")))
            wantsAll = true;
    }
    if (!wantsAll)
        return;
    for (const VendorSetting& vendor : vendorSettings()) {
        for (const char* suffix : {"-default", "-supported"}) {
            const std::string name = vendor.name + suffix;
            ippSetString(request, &requested, ippGetCount(requested), name.c_str());
        }
    }
}

pappl_printer_t* requestedPrinter(pappl_client_t* client) {
    return papplClientGetPrinter(client);
}

bool setSettingsAttributes(pappl_client_t* client) {
    pappl_printer_t* printer = requestedPrinter(client);
    if (!printer) {
        papplClientRespondIPP(client, IPP_STATUS_ERROR_NOT_FOUND, "No such printer.");
        return true;
    }
    ipp_t* request = papplClientGetRequest(client);
    std::vector<SettingChange> changes;
    std::set<int> seen;
    std::vector<ipp_attribute_t*> unsupported;
    for (ipp_attribute_t* attr = ippFirstAttribute(request); attr; attr = ippNextAttribute(request)) {
        if (ippGetGroupTag(attr) != IPP_TAG_PRINTER)
            continue;
        const char* name = ippGetName(attr);
        const std::optional<Setting> setting =
            isOurs(name) ? settingOfAttribute(name) : std::nullopt;
        const std::string expected =
            setting ? vendorSetting(*setting).name + "-default" : std::string();
        if (!setting || expected != name || ippGetValueTag(attr) != IPP_TAG_KEYWORD ||
            ippGetCount(attr) != 1 || !seen.insert(index(*setting)).second) {
            unsupported.push_back(attr);
            continue;
        }
        const int choice = choiceOfKeyword(*setting, ippGetString(attr, 0, nullptr));
        if (choice < 0) {
            unsupported.push_back(attr);
            continue;
        }
        changes.push_back({*setting, choice});
    }
    if (!unsupported.empty()) {
        papplClientRespondIPP(client, IPP_STATUS_ERROR_ATTRIBUTES_OR_VALUES,
                              "Unsupported settings attributes or values; nothing was changed.");
        for (ipp_attribute_t* attr : unsupported)
            papplClientRespondIPPUnsupported(client, attr);
        return true;
    }
    const int printerId = papplPrinterGetID(printer);
    const StoredSettings stored = appContext().storedSettings(printerId);
    const ChangeOutcome outcome = applyChanges(stored, std::nullopt, changes);
    if (!outcome.accepted) {
        const SettingInfo& info = settingInfo(*outcome.refused);
        papplClientRespondIPP(client, IPP_STATUS_ERROR_ATTRIBUTES_OR_VALUES,
                              "%s cannot be changed while it is disabled; nothing was changed.",
                              info.caption.c_str());
        for (ipp_attribute_t* attr = ippFirstAttribute(request); attr;
             attr = ippNextAttribute(request))
            if (ippGetGroupTag(attr) == IPP_TAG_PRINTER &&
                settingOfAttribute(ippGetName(attr)) == outcome.refused)
                papplClientRespondIPPUnsupported(client, attr);
        return true;
    }
    if (outcome.result.selections == stored.selections) {
        papplClientRespondIPP(client, IPP_STATUS_OK, "No setting changed; nothing was sent.");
        return true;
    }
    const char* user = papplClientGetUsername(client);
    switch (applySettings(printer, outcome.result, user ? user : "")) {
    case SendOutcome::Sent:
        papplClientRespondIPP(client, IPP_STATUS_OK, nullptr);
        break;
    case SendOutcome::PrinterBusy:
        papplClientRespondIPP(client, IPP_STATUS_ERROR_BUSY, "%s",
                              messages::kPrinterBusy.lines.back().c_str());
        break;
    case SendOutcome::NotSent:
        papplClientRespondIPP(client, IPP_STATUS_ERROR_INTERNAL,
                              "The settings could not be queued.");
        break;
    }
    return true;
}

bool hasSettingsAttributes(ipp_t* request) {
    for (ipp_attribute_t* attr = ippFirstAttribute(request); attr; attr = ippNextAttribute(request))
        if (ippGetGroupTag(attr) == IPP_TAG_PRINTER && isOurs(ippGetName(attr)))
            return true;
    return false;
}

bool operationCallback(pappl_client_t* client, void*) {
    const ipp_op_t op = papplClientGetOperation(client);
    ipp_t* request = papplClientGetRequest(client);
    if (changesPrinter(op) && !mayChangePrinter(client)) {
        papplClientRespondIPP(client, IPP_STATUS_ERROR_NOT_AUTHORIZED,
                              "Changing the printer needs authentication.");
        return true;
    }
    if (op == IPP_OP_GET_PRINTER_ATTRIBUTES) {
        askForOursToo(request);
        return false;
    }
    if (op == IPP_OP_SET_PRINTER_ATTRIBUTES && hasSettingsAttributes(request))
        return setSettingsAttributes(client);
    return false;
}

}  // namespace

void installSettingsService(pappl_system_t* system) {
    papplSystemSetOperationCallback(system, operationCallback, nullptr);
    papplSystemSetFooterHTML(system, kFooter);
}

void settingsForNewPrinter(pappl_printer_t* printer) {
    refreshAttributes(printer);
    addSettingsPage(printer);
}

SendOutcome applySettings(pappl_printer_t* printer, const StoredSettings& settings,
                          const std::string& user) {
    const FlagSettings block = mdlFlagSettings::fncGetFlagSettings(settings.selections);
    return storeAfterSending(
        printer, settings,
        mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &block), user);
}

SendOutcome restoreDefaults(pappl_printer_t* printer, const std::string& user) {
    return storeAfterSending(
        printer, defaultSettings(),
        mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kRestoreDefaults, nullptr), user);
}

SendOutcome printFeatures(pappl_printer_t* printer, const std::string& user) {
    return queueJob(printer, kFeaturesDocumentName, featuresPageBytes(), user)
               ? SendOutcome::Sent
               : SendOutcome::NotSent;
}

}  // namespace orvel::printerapp
