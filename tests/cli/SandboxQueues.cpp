#include "tests/cli/SandboxQueues.h"

#include <cups/cups.h>

#include <cstdio>
#include <stdexcept>

namespace orvel::test {

namespace {

constexpr int kTimeoutMs = 5000;

http_t* connectHere() {
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC,
                                HTTP_ENCRYPTION_IF_REQUESTED, 1, kTimeoutMs, nullptr);
    if (http == nullptr)
        throw std::runtime_error("the sandbox scheduler does not answer");
    return http;
}

void checkAnswer(const std::string& what) {
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING)
        throw std::runtime_error(what + ": " + cupsLastErrorString());
}

}  // namespace

void addCaptureQueues(CupsSandbox& sandbox, const std::vector<std::string>& names) {
    sandbox.makeCaptureFolders(names);
    http_t* http = connectHere();
    for (const std::string& name : names) {
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                         "/printers/%s", name.c_str());
        const std::string device = "capture:" + sandbox.captureFolder(name);
        ipp_t* request = ippNewRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                     cupsUser());
        ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, device.c_str());
        ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
        ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
        ippDelete(cupsDoRequest(http, request, "/admin/"));
        checkAnswer("adding queue " + name);
    }
    httpClose(http);
}

void holdJob(const std::string& queue, const std::string& title) {
    http_t* http = connectHere();
    cups_option_t* options = nullptr;
    const int count = cupsAddOption("job-hold-until", "indefinite", 0, &options);
    const int job = cupsCreateJob(http, queue.c_str(), title.c_str(), count, options);
    cupsFreeOptions(count, options);
    checkAnswer("holding a job on " + queue);
    const char data[] = "held";
    cupsStartDocument(http, queue.c_str(), job, "held", CUPS_FORMAT_RAW, 1);
    cupsWriteRequestData(http, data, sizeof data - 1);
    cupsFinishDocument(http, queue.c_str());
    checkAnswer("holding a job on " + queue);
    httpClose(http);
}

std::vector<std::string> queueNames(const std::string& stem, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%02d", i);
        names.push_back(stem + number);
    }
    return names;
}

}  // namespace orvel::test
