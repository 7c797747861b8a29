#include "printerapp/client/Client.h"

#include <cups/cups.h>
#include <pappl/pappl.h>

#include <unistd.h>

#include <cctype>
#include <iostream>

#include "printerapp/driver/Driver.h"
#include "printerapp/server/AppContext.h"
#include "printerapp/server/Devices.h"
#include "printerapp/server/Server.h"

namespace orvel::printerapp {
namespace {

constexpr char kAppName[] = "orvel-printer-app";
constexpr int kTimeoutMs = 30 * 1000;

int fail(const std::string& message) {
    std::cerr << kAppName << ": " << message << "\n";
    return 1;
}

struct Connection {
    http_t* http = nullptr;
    ~Connection() {
        if (http)
            httpClose(http);
    }
};

std::string serverSocket(const ClientOptions& options) {
    return socketPath(options.runtimeFolder.empty() ? defaultRuntimeFolder()
                                                    : options.runtimeFolder);
}

bool connect(const ClientOptions& options, Connection& connection) {
    const std::string socket = serverSocket(options);
    connection.http = httpConnect2(socket.c_str(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1,
                                   kTimeoutMs, nullptr);
    if (!connection.http) {
        std::cerr << kAppName << ": no server answers on " << socket << "\n";
        return false;
    }
    httpSetTimeout(connection.http, kTimeoutMs / 1000.0, nullptr, nullptr);
    return true;
}

std::string printerUri(const std::string& name) {
    char uri[1024];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/ipp/print/%s", name.c_str());
    return uri;
}

ipp_t* request(ipp_op_t op, const std::string& uri, bool system) {
    ipp_t* request = ippNewRequest(op);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, system ? "system-uri" : "printer-uri",
                 nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    return request;
}

// Sends a request and checks the answer; prints the server's message on failure.
ipp_t* exchange(Connection& connection, ipp_t* request, const char* resource) {
    ipp_t* response = cupsDoRequest(connection.http, request, resource);
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        std::cerr << kAppName << ": " << cupsLastErrorString() << "\n";
        ippDelete(response);
        return nullptr;
    }
    return response;
}

// A request for one attribute, sent and checked.
ipp_t* askFor(Connection& connection, ipp_t* request, const char* attribute, const char* resource) {
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 attribute);
    return exchange(connection, request, resource);
}

// The format a file is sent as: the one given; plain text for a file named as text, which by
// its content alone would pass for the printer's own commands; otherwise left to the server,
// which knows pictures and raster pages by their first bytes and takes anything else as the
// printer's own commands.
std::string documentFormatOf(const std::string& file, const std::string& given) {
    if (!given.empty())
        return given;
    const std::size_t dot = file.find_last_of("./");
    if (dot == std::string::npos || file[dot] != '.' || dot == 0 || file[dot - 1] == '/')
        return "application/octet-stream";
    std::string ending = file.substr(dot + 1);
    for (char& c : ending)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ending == "txt" || ending == "text" ? "text/plain" : "application/octet-stream";
}

const std::string kSystemUri = "ipp://localhost/ipp/system";

}  // namespace

int addPrinter(const ClientOptions& options) {
    if (options.printer.empty() || options.deviceUri.empty())
        return fail("add needs -d PRINTER and -v DEVICE-URI");
    Connection connection;
    if (!connect(options, connection))
        return 1;
    ipp_t* create = request(IPP_OP_CREATE_PRINTER, kSystemUri, true);
    ippAddString(create, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "printer-service-type", nullptr,
                 "print");
    ippAddString(create, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "smi55357-driver", nullptr,
                 options.driver.empty() ? kDriverName : options.driver.c_str());
    ippAddString(create, IPP_TAG_OPERATION, IPP_TAG_URI, "smi55357-device-uri", nullptr,
                 options.deviceUri.c_str());
    ippAddString(create, IPP_TAG_PRINTER, IPP_TAG_NAME, "printer-name", nullptr,
                 options.printer.c_str());
    ipp_t* response = exchange(connection, create, "/ipp/system");
    ippDelete(response);
    return response ? 0 : 1;
}

int deletePrinter(const ClientOptions& options) {
    if (options.printer.empty())
        return fail("delete needs -d PRINTER");
    Connection connection;
    if (!connect(options, connection))
        return 1;
    ipp_t* del = request(IPP_OP_DELETE_PRINTER, kSystemUri, true);
    ipp_t* response = nullptr;
    // The printer is named by its id in the system's request; find it first.
    ipp_t* attributes = askFor(
        connection, request(IPP_OP_GET_PRINTER_ATTRIBUTES, printerUri(options.printer), false),
        "printer-id", "/ipp/print");
    if (!attributes) {
        ippDelete(del);
        return 1;
    }
    ippAddInteger(del, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "printer-id",
                  ippGetInteger(ippFindAttribute(attributes, "printer-id", IPP_TAG_INTEGER), 0));
    ippDelete(attributes);
    response = exchange(connection, del, "/ipp/system");
    ippDelete(response);
    return response ? 0 : 1;
}

int listPrinters(const ClientOptions& options) {
    Connection connection;
    if (!connect(options, connection))
        return 1;
    ipp_t* response = askFor(connection, request(IPP_OP_GET_PRINTERS, kSystemUri, true),
                             "printer-name", "/ipp/system");
    if (!response)
        return 1;
    for (ipp_attribute_t* attr = ippFindAttribute(response, "printer-name", IPP_TAG_NAME); attr;
         attr = ippFindNextAttribute(response, "printer-name", IPP_TAG_NAME))
        std::cout << ippGetString(attr, 0, nullptr) << "\n";
    ippDelete(response);
    return 0;
}

int submitFiles(const ClientOptions& options) {
    if (options.printer.empty() || options.files.empty())
        return fail("submit needs -d PRINTER and one or more files");
    Connection connection;
    if (!connect(options, connection))
        return 1;
    for (const std::string& file : options.files) {
        ipp_t* print = request(IPP_OP_PRINT_JOB, printerUri(options.printer), false);
        const std::string name = file.substr(file.find_last_of('/') + 1);
        ippAddString(print, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, name.c_str());
        const std::string format = documentFormatOf(file, options.format);
        ippAddString(print, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
                     format.c_str());
        ipp_t* response = cupsDoFileRequest(connection.http, print, "/ipp/print", file.c_str());
        if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
            ippDelete(response);
            return fail(file + ": " + cupsLastErrorString());
        }
        std::cout << options.printer << "-"
                  << ippGetInteger(ippFindAttribute(response, "job-id", IPP_TAG_INTEGER), 0)
                  << "\n";
        ippDelete(response);
    }
    return 0;
}

int showStatus(const ClientOptions& options) {
    Connection connection;
    if (!connect(options, connection))
        return 1;
    ipp_t* response = askFor(connection, request(IPP_OP_GET_SYSTEM_ATTRIBUTES, kSystemUri, true),
                             "system-state", "/ipp/system");
    if (!response)
        return 1;
    ipp_attribute_t* state = ippFindAttribute(response, "system-state", IPP_TAG_ENUM);
    std::cout << "Running, "
              << (state ? ippEnumString("system-state", ippGetInteger(state, 0)) : "unknown")
              << "\n";
    ippDelete(response);
    return 0;
}

int shutdownServer(const ClientOptions& options) {
    Connection connection;
    if (!connect(options, connection))
        return 1;
    ipp_t* response = exchange(connection, request(IPP_OP_SHUTDOWN_ALL_PRINTERS, kSystemUri, true),
                               "/ipp/system");
    if (!response)
        return 1;
    ippDelete(response);
    // Done once the server has removed its socket, which it does last.
    const std::string socket = serverSocket(options);
    for (int waited = 0; waited < kTimeoutMs; waited += 50) {
        if (::access(socket.c_str(), F_OK) != 0)
            return 0;
        ::usleep(50 * 1000);
    }
    return fail("the server did not stop within " + std::to_string(kTimeoutMs / 1000) + " s");
}

int listDevices() {
    addDeviceSchemes("");
    papplDeviceList(
        PAPPL_DEVTYPE_LOCAL,
        [](const char* info, const char* uri, const char*, void*) {
            std::cout << uri << " (" << info << ")\n";
            return false;
        },
        nullptr,
        [](const char* message, void*) { std::cerr << kAppName << ": " << message << "\n"; },
        nullptr);
    return 0;
}

int listDrivers() {
    int count = 0;
    const pappl_pr_driver_t* list = drivers(&count);
    for (int i = 0; i < count; ++i)
        std::cout << list[i].name << " \"" << list[i].description << "\"\n";
    return 0;
}

}  // namespace orvel::printerapp
