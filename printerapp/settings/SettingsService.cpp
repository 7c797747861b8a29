#include "printerapp/settings/SettingsService.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

#include "printer/commands/FeaturesPage.h"
#include "printer/commands/mdlFlagSettings.h"
#include "printer/job/Messages.h"
#include "printerapp/driver/Driver.h"
#include "printerapp/server/AppContext.h"
#include "printerapp/server/JobStart.h"
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
// The framework keeps the job name's and the user name's pointers, not copies of them, for as
// long as the job is kept: they must live as long as the program. A job name is one of the
// printer output's constants; a user name is kept here, a bounded number of them.
const char* lastingUserName(const std::string& user) {
    static std::mutex lock;
    static std::set<std::string> names;
    constexpr std::size_t kMaxNames = 64;
    std::lock_guard<std::mutex> guard(lock);
    if (user.empty() || (names.size() >= kMaxNames && !names.count(user)))
        return "guest";
    return names.insert(user).first->c_str();
}

bool queueJob(pappl_printer_t* printer, const char* lastingName, const std::string& bytes,
              const std::string& user) {
    std::string path = appContext().spoolFolder + "/orvel-command-XXXXXX";
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written =
        ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    ::close(fd);
    if (!written || !papplJobCreateWithFile(printer, lastingUserName(user), kNativeFormat,
                                            lastingName, 0, nullptr, path.c_str())) {
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

struct BasicCredentials {
    std::string user;
    std::string password;
};

// The user name and password of HTTP Basic authentication, empty when there are none.
BasicCredentials basicCredentials(pappl_client_t* client) {
    const char* field = httpGetField(papplClientGetHTTP(client), HTTP_FIELD_AUTHORIZATION);
    if (!field || std::strncmp(field, "Basic ", 6) != 0 || std::strlen(field) > 1024)
        return {};
    char decoded[1024];
    int length = sizeof(decoded) - 1;
    httpDecode64_2(decoded, &length, field + 6);
    decoded[std::min(std::max(length, 0), static_cast<int>(sizeof(decoded) - 1))] = '\0';
    const char* colon = std::strchr(decoded, ':');
    if (!colon)
        return {};
    return {std::string(decoded, static_cast<std::size_t>(colon - decoded)),
            std::string(colon + 1)};
}

// The access password is kept as "NONCE~HASH", HASH the SHA-256 of "NONCE:PASSWORD" in hex.
// (The framework's own hashing function makes a new nonce instead of reusing a stored one, so
// it cannot check a password; this does.)
bool passwordMatches(const std::string& stored, const std::string& password) {
    const std::size_t tilde = stored.find('~');
    if (password.empty() || tilde == std::string::npos)
        return false;
    const std::string text = stored.substr(0, tilde) + ":" + password;
    unsigned char digest[32];
    const ssize_t length =
        cupsHashData("sha2-256", text.data(), text.size(), digest, sizeof digest);
    if (length != static_cast<ssize_t>(sizeof digest))
        return false;
    char hex[2 * sizeof digest + 1];
    cupsHashString(digest, sizeof digest, hex, sizeof hex);
    const std::string expected = stored.substr(tilde + 1);
    // Compared in full whatever differs, so that the time taken tells nothing.
    unsigned difference = expected.size() != std::strlen(hex);
    for (std::size_t i = 0; i < expected.size() && i < sizeof hex; ++i)
        difference |= static_cast<unsigned char>(expected[i] ^ hex[i]);
    return difference == 0;
}

}  // namespace

// Over the server's own socket (whose folder only its user may enter); with the access password
// (HTTP Basic, any user name) once one is set; as a member of the administrators' group whom PAM
// authenticates, when a group is named; otherwise only from this machine, which is all the
// server then listens on.
bool mayChangePrinter(pappl_client_t* client) {
    if (overOwnSocket(client))
        return true;
    const AppContext& context = appContext();
    // A password that crossed the network in the clear is not taken: another machine must use
    // an encrypted connection (ipps://, https://).
    http_t* http = papplClientGetHTTP(client);
    const bool clearOverNetwork =
        !httpAddrLocalhost(httpGetAddress(http)) && !httpIsEncrypted(http);
    const BasicCredentials credentials =
        clearOverNetwork ? BasicCredentials{} : basicCredentials(client);
    char stored[256] = "";
    const bool hasPassword =
        papplSystemGetPassword(papplClientGetSystem(client), stored, sizeof stored) && *stored;
    if (hasPassword && passwordMatches(stored, credentials.password))
        return true;
    const bool byLogin = !context.adminLogin.group.empty();
    if (byLogin && !credentials.user.empty() &&
        checkLogin(context.adminLogin, credentials.user, credentials.password) ==
            LoginOutcome::Admitted)
        return true;
    return !hasPassword && !byLogin && !context.remoteAdmin;
}

namespace {

// --- Settings over IPP ------------------------------------------------------------------------

bool isOurs(const char* name) {
    return name && std::strncmp(name, kVendorPrefix, std::strlen(kVendorPrefix)) == 0;
}

// Set-Printer-Attributes with settings attributes, seen before the framework handles the request.
// The framework knows none of them and refuses any that it meets, with
// client-error-attributes-or-values-not-supported and the attribute in the unsupported group: a
// request that we refuse is left with the attributes at fault for it to refuse, nothing stored;
// one that we take has them removed once the settings are sent and stored, so that it answers
// successful-ok. A printer that holds jobs is answered 503 Service Unavailable.
http_status_t takeSettings(pappl_client_t* client) {
    pappl_printer_t* printer = papplClientGetPrinter(client);
    ipp_t* request = papplClientGetRequest(client);
    if (!printer)
        return HTTP_STATUS_CONTINUE;
    std::vector<SettingChange> changes;
    std::vector<ipp_attribute_t*> ours;
    std::vector<ipp_attribute_t*> faulty;
    std::set<int> seen;
    for (ipp_attribute_t* attr = ippFirstAttribute(request); attr;
         attr = ippNextAttribute(request)) {
        const char* name = ippGetName(attr);
        if (ippGetGroupTag(attr) != IPP_TAG_PRINTER || !isOurs(name))
            continue;
        ours.push_back(attr);
        const std::optional<Setting> setting = settingOfAttribute(name);
        const bool wellFormed = setting && vendorSetting(*setting).name + "-default" == name &&
                                ippGetValueTag(attr) == IPP_TAG_KEYWORD && ippGetCount(attr) == 1 &&
                                seen.insert(index(*setting)).second;
        const int choice =
            wellFormed ? choiceOfKeyword(*setting, ippGetString(attr, 0, nullptr)) : -1;
        if (choice < 0)
            faulty.push_back(attr);
        else
            changes.push_back({*setting, choice});
    }
    if (!faulty.empty())
        return HTTP_STATUS_CONTINUE;
    const StoredSettings stored = appContext().storedSettings(papplPrinterGetID(printer));
    const ChangeOutcome outcome = applyChanges(stored, std::nullopt, changes);
    if (!outcome.accepted) {
        // Only the disabled setting's attribute stays, for the framework to refuse.
        for (ipp_attribute_t* attr : ours)
            if (settingOfAttribute(ippGetName(attr)) != outcome.refused)
                ippDeleteAttribute(request, attr);
        return HTTP_STATUS_CONTINUE;
    }
    if (outcome.result.selections != stored.selections) {
        const char* user = papplClientGetUsername(client);
        switch (applySettings(printer, outcome.result, user ? user : "")) {
            case SendOutcome::Sent:
                break;
            case SendOutcome::PrinterBusy:
                return HTTP_STATUS_SERVICE_UNAVAILABLE;
            case SendOutcome::NotSent:
                return HTTP_STATUS_SERVER_ERROR;
        }
    }
    for (ipp_attribute_t* attr : ours)
        ippDeleteAttribute(request, attr);
    return HTTP_STATUS_CONTINUE;
}

bool hasSettingsAttributes(ipp_t* request) {
    for (ipp_attribute_t* attr = ippFirstAttribute(request); attr; attr = ippNextAttribute(request))
        if (ippGetGroupTag(attr) == IPP_TAG_PRINTER && isOurs(ippGetName(attr)))
            return true;
    return false;
}

// Called by the framework before every operation that needs authorisation, from any client.
// Called by the framework before every operation that needs authorisation, from any client. A
// request that may cancel a job (an IPP cancel, or a form of the web pages) waits first while
// the printer starts a job, which the framework cannot cancel soundly.
http_status_t authorize(pappl_client_t* client, const char*, gid_t, void*) {
    const bool ipp =
        papplClientGetMethod(client) == HTTP_STATE_POST && papplClientGetRequest(client);
    if (!ipp) {
        if (papplClientGetMethod(client) == HTTP_STATE_POST)
            waitUntilJobStarted(client);
        return mayChangePrinter(client) ? HTTP_STATUS_CONTINUE : HTTP_STATUS_UNAUTHORIZED;
    }
    const ipp_op_t op = papplClientGetOperation(client);
    if (cancelsJobs(op))
        waitUntilJobStarted(client);
    if (changesPrinter(op) && !mayChangePrinter(client))
        return HTTP_STATUS_UNAUTHORIZED;
    if (op == IPP_OP_SET_PRINTER_ATTRIBUTES && hasSettingsAttributes(papplClientGetRequest(client)))
        return takeSettings(client);
    return HTTP_STATUS_CONTINUE;
}

}  // namespace

void installSettingsService(pappl_system_t* system) {
    papplSystemSetAuthCallback(system, "Basic", authorize, nullptr);
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
