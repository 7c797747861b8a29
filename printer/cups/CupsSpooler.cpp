#include "printer/cups/CupsSpooler.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

namespace orvel {

namespace {

using Clock = SchedulerConnection::Clock;

// An lpoptions file holds a few lines per printer; more than this is not one.
constexpr size_t kLpoptionsLimit = 64 * 1024;

std::string environmentValue(const char* variable) {
    const char* value = std::getenv(variable);
    return value == nullptr ? std::string() : std::string(value);
}

// The complete lines among the first kLpoptionsLimit bytes of a regular file; nothing for
// anything else (a FIFO there would block the read, a device might never end).
std::string readLpoptions(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {};
    std::string text;
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        // One byte more than the limit tells whether the file goes on past it.
        text.resize(kLpoptionsLimit + 1);
        size_t filled = 0;
        ssize_t got = 0;
        while (filled < text.size() && (got = read(fd, &text[filled], text.size() - filled)) > 0)
            filled += static_cast<size_t>(got);
        text.resize(filled);
        if (filled > kLpoptionsLimit) {
            const auto lastBreak = text.rfind('\n', kLpoptionsLimit - 1);
            text.resize(lastBreak == std::string::npos ? 0 : lastBreak);
        }
    }
    close(fd);
    return text;
}

// The "Default" line of an lpoptions file: "Default name" or "Default name/instance".
std::string defaultInLpoptions(const std::string& path) {
    std::istringstream file(readLpoptions(path));
    std::string line;
    std::string named;
    while (std::getline(file, line)) {
        std::istringstream words(line);
        std::string keyword;
        std::string name;
        words >> keyword >> name;
        for (char& c : keyword)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (keyword == "default" && !name.empty())
            named = name;  // the last one counts
    }
    return named;
}

// The destination that the user's settings name, in the order in which libcups looks: LPDEST,
// PRINTER ("lp" there is the traditional placeholder, not a name), the user's lpoptions, the
// system's lpoptions. Whether it exists is not checked here.
std::string configuredDefaultName() {
    const std::string lpdest = environmentValue("LPDEST");
    if (!lpdest.empty())
        return lpdest;
    const std::string printer = environmentValue("PRINTER");
    if (!printer.empty() && printer != "lp")
        return printer;
    const std::string home = environmentValue("HOME");
    if (!home.empty()) {
        const std::string named = defaultInLpoptions(home + "/.cups/lpoptions");
        if (!named.empty())
            return named;
    }
    const std::string serverRoot = environmentValue("CUPS_SERVERROOT");
    return defaultInLpoptions((serverRoot.empty() ? "/etc/cups" : serverRoot) + "/lpoptions");
}

// "queue/instance" names an instance of a queue; the job goes to the queue.
std::string queueOf(const std::string& name) {
    return name.substr(0, name.find('/'));
}

// What the scheduler takes for a queue's name: up to 127 bytes, no blanks or control bytes, none
// of the characters that would change the meaning of the request's path.
bool validQueueName(const std::string& queue) {
    constexpr size_t kMaxQueueName = 127;
    if (queue.empty() || queue.size() > kMaxQueueName)
        return false;
    for (const char c : queue) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F ||
            std::string_view("/\\?'\"#").find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

// Where requests about a printer go: its resource on the scheduler and its printer-uri.
struct PrinterAddress {
    std::string resource;
    std::string uri;
};

PrinterAddress queueAddress(const std::string& queue) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", queue.c_str());
    return {"/printers/" + queue, uri};
}

bool isPrinterUri(const std::string& name) {
    return name.rfind("ipp://", 0) == 0 || name.rfind("ipps://", 0) == 0;
}

// A host as written in a URI or given to cupsSetServer, without an IPv6 address's brackets and
// ignoring case.
std::string plainHost(std::string_view host) {
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    std::string plain(host);
    for (char& c : plain)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return plain;
}

// A printer URI (ipp://host[:port]/printers/NAME, or the resource of a printer that speaks IPP
// itself, such as /ipp/print/NAME): its resource, when it is one that goes into a request line
// unchanged. The requests go to the scheduler that this thread is pointed at, so the URI must
// name that one: another scheduler's printer is not looked for on this one.
std::optional<PrinterAddress> uriAddress(const std::string& name) {
    if (name.size() >= HTTP_MAX_URI)
        return std::nullopt;
    char scheme[32];
    char userpass[256];
    char host[256];
    char resource[HTTP_MAX_URI];
    int port = 0;
    if (httpSeparateURI(HTTP_URI_CODING_NONE, name.c_str(), scheme, sizeof scheme, userpass,
                        sizeof userpass, host, sizeof host, &port, resource,
                        sizeof resource) < HTTP_URI_STATUS_OK ||
        resource[0] != '/' || plainHost(host) != plainHost(cupsServer()) || port != ippPort())
        return std::nullopt;
    for (const char c : std::string_view(resource)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte >= 0x7F ||
            std::string_view("?#\\'\"").find(c) != std::string_view::npos)
            return std::nullopt;
    }
    return PrinterAddress{resource, name};
}

// The address of a queue by name (an instance, "queue/instance", is its queue) or of a printer
// URI; none for a name that no scheduler takes.
std::optional<PrinterAddress> addressOf(const std::string& name) {
    if (isPrinterUri(name))
        return uriAddress(name);
    const std::string queue = queueOf(name);
    if (!validQueueName(queue))
        return std::nullopt;
    return queueAddress(queue);
}

ipp_t* queueRequest(ipp_op_t operation, const std::string& printerUri) {
    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printerUri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    return request;
}

// Print-Job of raw data: the bytes are the printer's own commands and must reach it untouched.
ipp_t* printJobRequest(const std::string& printerUri, const std::string& documentName) {
    ipp_t* request = queueRequest(IPP_OP_PRINT_JOB, printerUri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr,
                 documentName.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
                 CUPS_FORMAT_RAW);
    return request;
}

// Takes the response; true when the scheduler did what was asked.
bool succeeded(ipp_t* response) {
    const bool ok = response != nullptr && ippGetStatusCode(response) <= IPP_STATUS_OK_CONFLICTING;
    ippDelete(response);
    return ok;
}

bool refusedForWantOfPassword(ipp_status_t status) {
    return status == IPP_STATUS_ERROR_NOT_AUTHENTICATED ||
           status == IPP_STATUS_ERROR_NOT_AUTHORIZED || status == IPP_STATUS_ERROR_FORBIDDEN ||
           status == IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED;
}

// Why the scheduler's answer (nullptr: none) to the open did not let the printer be opened. A
// connection given up on, or never made, is a scheduler that did not answer.
OpenFailure whyNotOpened(ipp_t* response, bool stillConnected) {
    if (!stillConnected)
        return OpenFailure::NotAnswering;
    const ipp_status_t status = response == nullptr ? cupsLastError() : ippGetStatusCode(response);
    if (refusedForWantOfPassword(status))
        return OpenFailure::NeedsAuthentication;
    if (status == IPP_STATUS_ERROR_NOT_FOUND)
        return OpenFailure::NoSuchPrinter;
    return response == nullptr ? OpenFailure::NotAnswering : OpenFailure::Unknown;
}

JobState jobStateOf(int state) {
    switch (state) {
        case IPP_JSTATE_PENDING:
            return JobState::Pending;
        case IPP_JSTATE_HELD:
            return JobState::Held;
        case IPP_JSTATE_PROCESSING:
            return JobState::Processing;
        case IPP_JSTATE_STOPPED:
            return JobState::Stopped;
        case IPP_JSTATE_CANCELED:
            return JobState::Canceled;
        case IPP_JSTATE_ABORTED:
            return JobState::Aborted;
        case IPP_JSTATE_COMPLETED:
            return JobState::Completed;
        default:
            return JobState::Unknown;
    }
}

enum class ServerDefault { Named, NoneSetUp, NoAnswer };

ServerDefault askServerDefault(SchedulerConnection& scheduler, std::string& name) {
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_DEFAULT);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-name");
    ipp_t* response = scheduler.exchange(request, "/");
    if (response == nullptr)
        return ServerDefault::NoAnswer;
    ipp_attribute_t* printerName = ippFindAttribute(response, "printer-name", IPP_TAG_NAME);
    const char* value = printerName == nullptr ? nullptr : ippGetString(printerName, 0, nullptr);
    const bool named = ippGetStatusCode(response) <= IPP_STATUS_OK_CONFLICTING &&
                       value != nullptr && *value != '\0';
    if (named)
        name = value;
    ippDelete(response);
    return named ? ServerDefault::Named : ServerDefault::NoneSetUp;
}

}  // namespace

// The user's settings name the default first; only when they name none is the scheduler asked.
// A named default is taken as it is: when it doesn't exist, or no scheduler answers, the open
// fails and the user hears that the printer can't be reached. Without a named default:
// - the scheduler names its default: found, by that name;
// - the scheduler answers that it has none: not found, no printer is set up;
// - no scheduler answers, or none in time: found, with no name, so that the open fails the
//   same way.
DefaultPrinter CupsSpooler::defaultPrinter() {
    localFailure_.clear();  // a job begins here
    const std::string configured = configuredDefaultName();
    if (!configured.empty())
        return {true, configured};
    SchedulerConnection scheduler(Clock::now() + timeouts_.lookup);
    noteFailureOf(scheduler);
    std::string name;
    switch (askServerDefault(scheduler, name)) {
        case ServerDefault::Named:
            return {true, name};
        case ServerDefault::NoneSetUp:
            return {false, std::string()};
        case ServerDefault::NoAnswer:
            break;
    }
    return {true, std::string()};
}

Spooler::Handle CupsSpooler::openPrinter(const std::string& name) {
    const std::optional<PrinterAddress> address = addressOf(name);
    if (!address) {
        // No name at all is what a default printer that no scheduler named in time leaves.
        lastOpenFailure_ = name.empty() ? OpenFailure::NotAnswering : OpenFailure::NoSuchPrinter;
        return kNoHandle;
    }
    const Handle handle = nextHandle_++;
    Connection& connection = connections_[handle];
    connection.deadline = Clock::now() + timeouts_.printer;
    connection.scheduler = std::make_unique<SchedulerConnection>(connection.deadline);
    noteFailureOf(*connection.scheduler);
    connection.resource = address->resource;
    connection.uri = address->uri;
    ipp_t* response = queueAttributes(connection, "printer-name");
    ipp_attribute_t* printerName =
        response == nullptr ? nullptr : ippFindAttribute(response, "printer-name", IPP_TAG_NAME);
    const char* known = printerName == nullptr ? nullptr : ippGetString(printerName, 0, nullptr);
    // A queue's later requests use the name as the scheduler knows it.
    if (known != nullptr && !isPrinterUri(name) && validQueueName(known)) {
        const PrinterAddress canonical = queueAddress(known);
        connection.resource = canonical.resource;
        connection.uri = canonical.uri;
    }
    lastOpenFailure_ = whyNotOpened(response, connection.scheduler->usable());
    if (!succeeded(response)) {
        connections_.erase(handle);
        return kNoHandle;
    }
    return handle;
}

CupsSpooler::Connection* CupsSpooler::find(Handle printer) {
    const auto it = connections_.find(printer);
    return it == connections_.end() ? nullptr : &it->second;
}

// The printer's attribute, or nullptr when the scheduler gave no answer in time. The caller
// deletes the response.
ipp_t* CupsSpooler::queueAttributes(Connection& connection, const char* attribute) {
    ipp_t* request = queueRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, connection.uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 attribute);
    return schedulerOf(connection).exchange(request, connection.resource);
}

// The scheduler's own count of the queue's pending, held, processing and stopped jobs, of every
// user: one number whatever the queue holds. A queue that can't be asked counts as empty, as on
// Windows, where a failed enumeration returns no jobs.
long CupsSpooler::queuedJobs(Handle printer) {
    Connection* connection = find(printer);
    if (connection == nullptr)
        return 0;
    ipp_t* response = queueAttributes(*connection, "queued-job-count");
    if (response == nullptr)
        return 0;
    ipp_attribute_t* count = ippFindAttribute(response, "queued-job-count", IPP_TAG_INTEGER);
    const long jobs = ippGetStatusCode(response) <= IPP_STATUS_OK_CONFLICTING && count != nullptr
                          ? ippGetInteger(count, 0)
                          : 0;
    ippDelete(response);
    return jobs;
}

// A stopped queue keeps taking jobs and holds them until somebody resumes it. Not stopped when
// the scheduler doesn't tell.
bool CupsSpooler::queueStopped(Handle printer) {
    Connection* connection = find(printer);
    if (connection == nullptr)
        return false;
    ipp_t* response = queueAttributes(*connection, "printer-state");
    if (response == nullptr)
        return false;
    ipp_attribute_t* state = ippFindAttribute(response, "printer-state", IPP_TAG_ENUM);
    const bool stopped = ippGetStatusCode(response) <= IPP_STATUS_OK_CONFLICTING &&
                         state != nullptr && ippGetInteger(state, 0) == IPP_PSTATE_STOPPED;
    ippDelete(response);
    return stopped;
}

bool CupsSpooler::startDocument(Handle printer, const std::string& documentName) {
    Connection* connection = find(printer);
    if (connection == nullptr || connection->documentOpen)
        return false;
    // Whatever goes wrong from here on before the scheduler has all of it, no job is made.
    lastSendFailure_ = SendFailure::Withdrawn;
    if (!schedulerOf(*connection)
             .beginStreamedRequest(printJobRequest(connection->uri, documentName),
                                   connection->resource))
        return false;
    connection->documentOpen = true;
    connection->bytesWritten = 0;
    return true;
}

// A CUPS job has no pages of its own.
bool CupsSpooler::startPage(Handle printer) {
    return find(printer) != nullptr;
}

long CupsSpooler::writeChunk(Handle printer, const Bytes& chunk) {
    Connection* connection = find(printer);
    if (connection == nullptr || !connection->documentOpen)
        return -1;
    // A zero-length write fails on CUPS; there is nothing to write anyway.
    if (chunk.empty())
        return 0;
    if (!connection->scheduler->writeStreamedData(chunk.data(), chunk.size()))
        return -1;
    connection->bytesWritten += static_cast<long>(chunk.size());
    return static_cast<long>(chunk.size());
}

bool CupsSpooler::endPage(Handle printer) {
    return find(printer) != nullptr;
}

// Only the scheduler's answer tells that the job was made: without one in time, the job counts
// as not handed over.
bool CupsSpooler::endDocument(Handle printer) {
    Connection* connection = find(printer);
    if (connection == nullptr || !connection->documentOpen)
        return false;
    // CUPS refuses a job without data ("No file in print request."). The printer receives
    // nothing either way, so drop the request and count the empty document as done.
    if (connection->bytesWritten == 0) {
        abandonDocument(*connection);
        return true;
    }
    connection->documentOpen = false;
    ipp_t* response = connection->scheduler->finishStreamedRequest(connection->resource);
    // Without an answer the scheduler may still have made the job from what it was given whole.
    if (response == nullptr)
        lastSendFailure_ = SendFailure::Unconfirmed;
    ipp_attribute_t* id =
        response == nullptr ? nullptr : ippFindAttribute(response, "job-id", IPP_TAG_INTEGER);
    const long jobId = id == nullptr ? 0 : ippGetInteger(id, 0);
    const bool made = succeeded(response);
    lastJobId_ = made ? jobId : 0;
    return made;
}

void CupsSpooler::cancelDocument(Handle printer) {
    Connection* connection = find(printer);
    if (connection != nullptr)
        abandonDocument(*connection);
}

// Ending the request would submit the data sent so far. Dropping the connection in the middle of
// it makes the scheduler throw that data away, and no job is made. The printer stays usable: a
// request after this one makes a new connection, within the time the open gave it.
void CupsSpooler::abandonDocument(Connection& connection) {
    if (!connection.documentOpen)
        return;
    connection.documentOpen = false;
    connection.bytesWritten = 0;
    connection.scheduler.reset();
}

// The printer's connection, made anew after a document was abandoned.
SchedulerConnection& CupsSpooler::schedulerOf(Connection& connection) {
    if (connection.scheduler == nullptr) {
        connection.scheduler = std::make_unique<SchedulerConnection>(connection.deadline);
        noteFailureOf(*connection.scheduler);
    }
    return *connection.scheduler;
}

void CupsSpooler::noteFailureOf(const SchedulerConnection& scheduler) {
    if (!scheduler.localFailure().empty())
        localFailure_ = scheduler.localFailure();
}

OpenFailure CupsSpooler::lastOpenFailure() const {
    return lastOpenFailure_;
}

SendFailure CupsSpooler::lastSendFailure() const {
    return lastSendFailure_;
}

long CupsSpooler::lastJobId() const {
    return lastJobId_;
}

JobState CupsSpooler::jobState(const std::string& printerName, long jobId,
                               std::chrono::milliseconds bound) {
    const std::optional<PrinterAddress> address = addressOf(printerName);
    if (!address || jobId <= 0)
        return JobState::Unknown;
    SchedulerConnection scheduler(Clock::now() + bound);
    ipp_t* request = queueRequest(IPP_OP_GET_JOB_ATTRIBUTES, address->uri);
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", static_cast<int>(jobId));
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "job-state");
    ipp_t* response = scheduler.exchange(request, address->resource);
    if (response == nullptr)
        return scheduler.usable() ? JobState::Unknown : JobState::NotAnswering;
    ipp_attribute_t* state = ippFindAttribute(response, "job-state", IPP_TAG_ENUM);
    const JobState answer = ippGetStatusCode(response) <= IPP_STATUS_OK_CONFLICTING
                                ? jobStateOf(state == nullptr ? 0 : ippGetInteger(state, 0))
                                : JobState::Unknown;
    ippDelete(response);
    return answer;
}

// Dropping the connection also drops a document that was started and never ended: it must not be
// submitted half.
void CupsSpooler::closePrinter(Handle printer) {
    connections_.erase(printer);
}

}  // namespace orvel
