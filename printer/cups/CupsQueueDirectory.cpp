#include "printer/cups/CupsQueueDirectory.h"

#include <cups/cups.h>

#include <algorithm>
#include <cstring>

#include "printer/cups/SchedulerConnection.h"

namespace orvel {

namespace {

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
        listing.notAnswering = true;
        listing.error = std::string("no scheduler answers at ") + cupsServer();
        return listing;
    }
    static const char* const kAttributes[] = {"printer-name", "printer-state", "queued-job-count"};
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  sizeof kAttributes / sizeof kAttributes[0], nullptr, kAttributes);
    ipp_t* response = scheduler.exchange(request, "/");
    const ipp_status_t status = cupsLastError();
    if (response != nullptr && status <= IPP_STATUS_OK_CONFLICTING) {
        listing.reached = true;
        listing.queues = queuesIn(response);
    } else if (status == IPP_STATUS_ERROR_NOT_FOUND) {
        listing.reached = true;  // a scheduler without queues
    } else if (!scheduler.usable()) {
        // The connection is given up on when its time has run out.
        listing.notAnswering = true;
        listing.error = std::string("the scheduler at ") + cupsServer() +
                        " did not answer within " + secondsText(timeout_);
    } else {
        listing.error = std::string("the scheduler at ") + cupsServer() +
                        " did not list its queues: " + cupsLastErrorString();
    }
    ippDelete(response);
    return listing;
}

}  // namespace orvel
