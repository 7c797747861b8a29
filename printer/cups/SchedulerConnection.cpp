#include "printer/cups/SchedulerConnection.h"

#include <algorithm>
#include <climits>

namespace orvel {

namespace {

// A scheduler that demands a password gets none: libcups would otherwise ask for one on the
// terminal and wait there without end, a window or a script with it.
const char* noPassword(const char* /*prompt*/, http_t* /*http*/, const char* /*method*/,
                       const char* /*resource*/, void* /*data*/) {
    return nullptr;
}

}  // namespace

SchedulerConnection::SchedulerConnection(Clock::time_point deadline) : deadline_(deadline) {
    // libcups keeps the callback per thread, like the server.
    cupsSetPasswordCB2(noPassword, nullptr);
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
    if (left <= 0)
        return;
    const int connectTimeoutMs = static_cast<int>(std::min<long long>(left, INT_MAX));
    http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                         connectTimeoutMs, nullptr);
}

SchedulerConnection::~SchedulerConnection() {
    if (http_ != nullptr)
        httpClose(http_);
}

ipp_t* SchedulerConnection::exchange(ipp_t* request, const std::string& resource) {
    closeIfOutOfTime();
    if (!usable()) {
        ippDelete(request);
        return nullptr;
    }
    waitUntilDeadline();
    ipp_t* response = cupsDoRequest(http_, request, resource.c_str());
    closeIfOutOfTime();
    return response;
}

bool SchedulerConnection::beginStreamedRequest(ipp_t* request, const std::string& resource) {
    closeIfOutOfTime();
    if (!usable()) {
        ippDelete(request);
        return false;
    }
    waitUntilDeadline();
    const http_status_t status =
        cupsSendRequest(http_, request, resource.c_str(), CUPS_LENGTH_VARIABLE);
    ippDelete(request);
    closeIfOutOfTime();
    return usable() && status == HTTP_STATUS_CONTINUE;
}

bool SchedulerConnection::writeStreamedData(const char* data, size_t size) {
    closeIfOutOfTime();
    if (!usable())
        return false;
    waitUntilDeadline();
    const http_status_t status = cupsWriteRequestData(http_, data, size);
    closeIfOutOfTime();
    return usable() && status == HTTP_STATUS_CONTINUE;
}

ipp_t* SchedulerConnection::finishStreamedRequest(const std::string& resource) {
    closeIfOutOfTime();
    if (!usable())
        return nullptr;
    waitUntilDeadline();
    ipp_t* response = cupsGetResponse(http_, resource.c_str());
    closeIfOutOfTime();
    return response;
}

// Each wait of libcups for the scheduler may last until the deadline, and no longer. The wait
// must not be shorter: libcups reads the body of an answer without asking keepWaiting, so it
// would take an answer that is merely slow (a scheduler busy starting other jobs) for a failed
// request, even one that the scheduler has carried out.
void SchedulerConnection::waitUntilDeadline() {
    httpSetTimeout(http_, secondsLeft(), keepWaiting, this);
}

double SchedulerConnection::secondsLeft() const {
    // Never 0: libcups takes that for "wait for ever".
    return std::max(std::chrono::duration<double>(deadline_ - Clock::now()).count(), 0.001);
}

// libcups calls this when a wait has gone its time without a byte: 1 goes on waiting, for what
// is left until the deadline, 0 gives up and fails the request.
int SchedulerConnection::keepWaiting(http_t* http, void* self) {
    const auto* connection = static_cast<const SchedulerConnection*>(self);
    if (!connection->timeLeft())
        return 0;
    httpSetTimeout(http, connection->secondsLeft(), keepWaiting, self);
    return 1;
}

bool SchedulerConnection::timeLeft() const {
    return Clock::now() < deadline_;
}

void SchedulerConnection::closeIfOutOfTime() {
    if (http_ != nullptr && !timeLeft()) {
        httpClose(http_);
        http_ = nullptr;
    }
}

}  // namespace orvel
