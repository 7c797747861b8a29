#include "printer/cups/CupsSpooler.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>

namespace orvel {

namespace {

// Long enough for a busy scheduler on another host, short enough not to freeze the window for
// long when none answers.
constexpr int kConnectTimeoutMs = 10000;

http_t* connectToScheduler() {
    return httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                        kConnectTimeoutMs, nullptr);
}

bool schedulerAnswers() {
    http_t* http = connectToScheduler();
    if (http == nullptr)
        return false;
    httpClose(http);
    return true;
}

std::string environmentValue(const char* variable) {
    const char* value = std::getenv(variable);
    return value == nullptr ? std::string() : std::string(value);
}

// The "Default" line of an lpoptions file: "Default name" or "Default name/instance".
std::string defaultInLpoptions(const std::string& path) {
    std::ifstream file(path);
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
// system's lpoptions, the scheduler's default. Whether it exists is not checked here.
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
    const std::string named =
        defaultInLpoptions((serverRoot.empty() ? "/etc/cups" : serverRoot) + "/lpoptions");
    if (!named.empty())
        return named;
    const char* serverDefault = cupsGetDefault2(CUPS_HTTP_DEFAULT);
    return serverDefault == nullptr ? std::string() : std::string(serverDefault);
}

// "queue/instance" names an instance of a queue; the job goes to the queue.
std::pair<std::string, std::string> splitInstance(const std::string& name) {
    const auto slash = name.find('/');
    if (slash == std::string::npos)
        return {name, std::string()};
    return {name.substr(0, slash), name.substr(slash + 1)};
}

std::string queueResource(const std::string& queue) {
    return "/printers/" + queue;
}

// Print-Job of raw data: the bytes are the printer's own commands and must reach it untouched.
ipp_t* printJobRequest(const std::string& queue, const std::string& documentName) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", queue.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr,
                 documentName.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
                 CUPS_FORMAT_RAW);
    return request;
}

}  // namespace

CupsSpooler::~CupsSpooler() {
    while (!connections_.empty())
        closePrinter(connections_.begin()->first);
}

// cupsGetNamedDest answers "not found" alike when no printer is set up and when no scheduler
// answers, so the two are told apart here:
// - a default printer that exists: found, by its name;
// - no scheduler answers: found, under the name the user's settings give (maybe none), so that
//   the open fails and the user hears that the printer can't be reached;
// - the scheduler answers and the settings name a printer it doesn't have (LPDEST naming a
//   missing queue, say): found, under that name; the open fails the same way;
// - the scheduler answers and nothing names a default: not found, no printer is set up.
DefaultPrinter CupsSpooler::defaultPrinter() {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (dest != nullptr) {
        DefaultPrinter found{true, dest->name};
        cupsFreeDests(1, dest);
        return found;
    }
    if (!schedulerAnswers())
        return {true, configuredDefaultName()};
    const std::string named = configuredDefaultName();
    if (!named.empty())
        return {true, named};
    return {false, std::string()};
}

Spooler::Handle CupsSpooler::openPrinter(const std::string& name) {
    const auto [queue, instance] = splitInstance(name);
    if (queue.empty())
        return kNoHandle;
    http_t* http = connectToScheduler();
    if (http == nullptr)
        return kNoHandle;
    cups_dest_t* dest =
        cupsGetNamedDest(http, queue.c_str(), instance.empty() ? nullptr : instance.c_str());
    if (dest == nullptr) {
        httpClose(http);
        return kNoHandle;
    }
    Connection connection;
    connection.http = http;
    connection.name = dest->name;
    cupsFreeDests(1, dest);
    const Handle handle = nextHandle_++;
    connections_.emplace(handle, std::move(connection));
    return handle;
}

CupsSpooler::Connection* CupsSpooler::find(Handle printer) {
    const auto it = connections_.find(printer);
    return it == connections_.end() ? nullptr : &it->second;
}

// Counts pending, held, processing and stopped jobs of every user. A queue that can't be
// listed counts as empty, as on Windows, where a failed enumeration returns no jobs.
long CupsSpooler::queuedJobs(Handle printer) {
    Connection* connection = find(printer);
    if (connection == nullptr || connection->http == nullptr)
        return 0;
    cups_job_t* jobs = nullptr;
    const int count =
        cupsGetJobs2(connection->http, &jobs, connection->name.c_str(), 0, CUPS_WHICHJOBS_ACTIVE);
    if (count < 0)
        return 0;
    cupsFreeJobs(count, jobs);
    return count;
}

bool CupsSpooler::queueStopped(Handle /*printer*/) {
    return false;
}

bool CupsSpooler::startDocument(Handle printer, const std::string& documentName) {
    Connection* connection = find(printer);
    if (connection == nullptr || connection->http == nullptr || connection->documentOpen)
        return false;
    ipp_t* request = printJobRequest(connection->name, documentName);
    const http_status_t status = cupsSendRequest(
        connection->http, request, queueResource(connection->name).c_str(), CUPS_LENGTH_VARIABLE);
    ippDelete(request);
    if (status != HTTP_STATUS_CONTINUE)
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
    if (cupsWriteRequestData(connection->http, chunk.data(), chunk.size()) != HTTP_STATUS_CONTINUE)
        return -1;
    connection->bytesWritten += static_cast<long>(chunk.size());
    return static_cast<long>(chunk.size());
}

bool CupsSpooler::endPage(Handle printer) {
    return find(printer) != nullptr;
}

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
    ippDelete(cupsGetResponse(connection->http, queueResource(connection->name).c_str()));
    return cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
}

void CupsSpooler::cancelDocument(Handle printer) {
    Connection* connection = find(printer);
    if (connection != nullptr)
        abandonDocument(*connection);
}

// Ending the request would submit the data sent so far. Dropping the connection in the middle of
// it makes the scheduler throw that data away, and no job is made.
void CupsSpooler::abandonDocument(Connection& connection) {
    if (!connection.documentOpen)
        return;
    connection.documentOpen = false;
    connection.bytesWritten = 0;
    httpClose(connection.http);
    connection.http = connectToScheduler();
}

void CupsSpooler::closePrinter(Handle printer) {
    Connection* connection = find(printer);
    if (connection == nullptr)
        return;
    // A document that was started and never ended must not be submitted half.
    abandonDocument(*connection);
    if (connection->http != nullptr)
        httpClose(connection->http);
    connections_.erase(printer);
}

}  // namespace orvel
