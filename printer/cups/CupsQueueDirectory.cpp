#include "printer/cups/CupsQueueDirectory.h"

#include <cups/cups.h>

#include <algorithm>
#include <cstring>

#include "printer/cups/SchedulerConnection.h"

namespace orvel {

namespace {

// A server's own words, with every byte that is not printable ASCII shown as '?'.
std::string printableText(const char* text) {
    std::string shown;
    for (; *text != '\0' && shown.size() < 200; ++text) {
        const auto byte = static_cast<unsigned char>(*text);
        shown += byte >= ' ' && byte < 0x7F ? *text : '?';
    }
    return shown;
}

std::string secondsText(std::chrono::milliseconds timeout) {
    const long long milliseconds = timeout.count();
    std::string text = std::to_string(milliseconds / 1000);
    if (milliseconds % 1000 != 0) {
        std::string fraction = std::to_string(1000 + milliseconds % 1000).substr(1);
        while (fraction.back() == '0')
            fraction.pop_back();
        text += "." + fraction;
    }
    return text + " s";
}

// The scheduler as -h or CUPS_SERVER named it: a local socket's path, or the host and its port.
std::string schedulerAddress() {
    const std::string server = cupsServer();
    if (server.empty() || server[0] == '/')
        return server;
    const bool ipv6 = server.find(':') != std::string::npos;
    return (ipv6 ? "[" + server + "]" : server) + ":" + std::to_string(ippPort());
}

// Why a scheduler that answered in IPP did not list its queues: its status, and its own words.
std::string refusalOf(ipp_t* response) {
    std::string why = ippErrorString(ippGetStatusCode(response));
    ipp_attribute_t* message = ippFindAttribute(response, "status-message", IPP_TAG_TEXT);
    const char* text = message == nullptr ? nullptr : ippGetString(message, 0, nullptr);
    if (text != nullptr && *text != '\0')
        why += std::string(" (") + printableText(text) + ")";
    return why;
}

// What a server sent that is no answer of a scheduler, from the HTTP status and the content type
// of its answer (both empty when no HTTP answer came). libcups's own last error would say
// "Success" or "No such file or directory" here.
std::string whatCameInstead(http_status_t status, const std::string& answerType) {
    const bool httpAnswer = status != HTTP_STATUS_ERROR || !answerType.empty();
    if (!httpAnswer)
        return "closed the connection without an HTTP answer, or its answer was not HTTP";
    if (status == HTTP_STATUS_OK || status == HTTP_STATUS_ERROR) {
        if (answerType == "application/ipp")
            return "answered with an IPP message that could not be read";
        return "answered with " +
               (answerType.empty() ? "no content type" : printableText(answerType.c_str())) +
               ", not IPP: it is no print scheduler";
    }
    const char* text = httpStatus(status);
    return "answered HTTP status " + std::to_string(static_cast<int>(status)) +
           (text != nullptr && *text != '\0' ? std::string(" (") + text + ")" : std::string()) +
           " instead of the list of queues";
}

QueueState stateOf(int printerState) {
    switch (printerState) {
        case IPP_PSTATE_IDLE:
            return QueueState::Idle;
        case IPP_PSTATE_PROCESSING:
            return QueueState::Processing;
        case IPP_PSTATE_STOPPED:
            return QueueState::Stopped;
        default:
            return QueueState::Unknown;
    }
}

void takeAttribute(ipp_attribute_t* attribute, QueueInfo& queue) {
    const char* name = ippGetName(attribute);
    if (name == nullptr)
        return;
    if (std::strcmp(name, "printer-name") == 0 && ippGetValueTag(attribute) == IPP_TAG_NAME) {
        const char* text = ippGetString(attribute, 0, nullptr);
        queue.name = text == nullptr ? "" : text;
    } else if (std::strcmp(name, "printer-state") == 0) {
        queue.state = stateOf(ippGetInteger(attribute, 0));
    } else if (std::strcmp(name, "queued-job-count") == 0) {
        queue.jobs = ippGetInteger(attribute, 0);
    }
}

// The answer holds one group of printer attributes per queue.
std::vector<QueueInfo> queuesIn(ipp_t* response) {
    std::vector<QueueInfo> queues;
    ipp_attribute_t* attribute = ippFirstAttribute(response);
    while (attribute != nullptr) {
        while (attribute != nullptr && ippGetGroupTag(attribute) != IPP_TAG_PRINTER)
            attribute = ippNextAttribute(response);
        if (attribute == nullptr)
            break;
        QueueInfo queue;
        for (; attribute != nullptr && ippGetGroupTag(attribute) == IPP_TAG_PRINTER;
             attribute = ippNextAttribute(response))
            takeAttribute(attribute, queue);
        if (!queue.name.empty())
            queues.push_back(queue);
    }
    std::sort(queues.begin(), queues.end(),
              [](const QueueInfo& a, const QueueInfo& b) { return a.name < b.name; });
    return queues;
}

}  // namespace

QueueListing CupsQueueDirectory::listQueues() {
    QueueListing listing;
    SchedulerConnection scheduler(SchedulerConnection::Clock::now() + timeout_);
    if (!scheduler.usable()) {
        listing.notAnswering = scheduler.localFailure().empty();
        listing.error = listing.notAnswering
                            ? "no scheduler answers at " + schedulerAddress()
                            : "cannot reach the scheduler at " + schedulerAddress() + ": " +
                                  scheduler.localFailure();
        return listing;
    }
    static const char* const kAttributes[] = {"printer-name", "printer-state", "queued-job-count"};
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  sizeof kAttributes / sizeof kAttributes[0], nullptr, kAttributes);
    ipp_t* response = scheduler.exchange(request, "/");
    const ipp_status_t status =
        response == nullptr ? IPP_STATUS_ERROR_INTERNAL : ippGetStatusCode(response);
    if (response != nullptr && status <= IPP_STATUS_OK_CONFLICTING) {
        listing.reached = true;
        listing.queues = queuesIn(response);
    } else if (status == IPP_STATUS_ERROR_NOT_FOUND) {
        listing.reached = true;  // a scheduler without queues
    } else if (scheduler.outOfTime()) {
        // The connection is given up on when its time has run out.
        listing.notAnswering = true;
        listing.error = "the scheduler at " + schedulerAddress() + " did not answer within " +
                        secondsText(timeout_);
    } else if (response != nullptr) {
        listing.error = "the scheduler at " + schedulerAddress() +
                        " did not list its queues: " + refusalOf(response);
    } else {
        listing.error = "the server at " + schedulerAddress() + " " +
                        whatCameInstead(scheduler.httpStatus(), scheduler.answerType());
    }
    ippDelete(response);
    return listing;
}

}  // namespace orvel
