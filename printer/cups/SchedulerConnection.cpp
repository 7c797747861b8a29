#include "printer/cups/SchedulerConnection.h"

#include <algorithm>
#include <climits>

namespace orvel {

namespace {

// How long libcups waits for a byte before it asks keepWaiting whether to go on: the most by
// which a request can overrun its deadline.
constexpr double kWaitSliceSeconds = 0.25;

}  // namespace

SchedulerConnection::SchedulerConnection(Clock::time_point deadline) : deadline_(deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
    if (left <= 0)
        return;
    const int connectTimeoutMs = static_cast<int>(std::min<long long>(left, INT_MAX));
    http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                         connectTimeoutMs, nullptr);
    if (http_ != nullptr)
        httpSetTimeout(http_, kWaitSliceSeconds, keepWaiting, this);
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
    const http_status_t status = cupsWriteRequestData(http_, data, size);
    closeIfOutOfTime();
    return usable() && status == HTTP_STATUS_CONTINUE;
}

ipp_t* SchedulerConnection::finishStreamedRequest(const std::string& resource) {
    closeIfOutOfTime();
    if (!usable())
        return nullptr;
    ipp_t* response = cupsGetResponse(http_, resource.c_str());
    closeIfOutOfTime();
    return response;
}

// libcups calls this each time a wait for the scheduler has gone a slice without a byte: 1 goes
// on waiting, 0 gives up and fails the request.
int SchedulerConnection::keepWaiting(http_t* /*http*/, void* self) {
    return static_cast<const SchedulerConnection*>(self)->timeLeft() ? 1 : 0;
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
