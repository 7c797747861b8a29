#include "printer/cups/SchedulerConnection.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace orvel {

namespace {

// A scheduler that demands a password gets none: libcups would otherwise ask for one on the
// terminal and wait there without end, a window or a script with it.
const char* noPassword(const char* /*prompt*/, http_t* /*http*/, const char* /*method*/,
                       const char* /*resource*/, void* /*data*/) {
    return nullptr;
}

// libcups doesn't keep why a connection failed, and errno after it may be left from anything it
// did. When this process can't open a file either, that is why: EMFILE or ENFILE; 0 otherwise.
int localCauseOfFailedConnect() {
    const int probe = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (probe >= 0) {
        close(probe);
        return 0;
    }
    return errno == EMFILE || errno == ENFILE ? errno : 0;
}

}  // namespace

SchedulerConnection::SchedulerConnection(Clock::time_point deadline) : deadline_(deadline) {
    // libcups keeps the callback per thread, like the server.
    cupsSetPasswordCB2(noPassword, nullptr);
    connect();
}

void SchedulerConnection::connect() {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
    if (left <= 0)
        return;
    const int connectTimeoutMs = static_cast<int>(std::min<long long>(left, INT_MAX));
    http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                         connectTimeoutMs, nullptr);
    if (http_ == nullptr) {
        noteLocalFailure(localCauseOfFailedConnect());
        return;
    }
    watchSocket();
}

SchedulerConnection::~SchedulerConnection() {
    closeConnection();
}

http_status_t SchedulerConnection::httpStatus() const {
    return http_ == nullptr ? HTTP_STATUS_ERROR : httpGetStatus(http_);
}

std::string SchedulerConnection::answerType() const {
    const char* type = http_ == nullptr ? nullptr : httpGetField(http_, HTTP_FIELD_CONTENT_TYPE);
    return type == nullptr ? std::string() : std::string(type);
}

// A socket that libcups has closed (after an answer that closed the connection) is not watched:
// nothing waits on it, and startCall() connects anew before the next request.
void SchedulerConnection::watchSocket() {
    if (http_ == nullptr || httpGetFd(http_) < 0 || socketDeadline_.watches(httpGetFd(http_)))
        return;
    if (!socketDeadline_.watch(httpGetFd(http_), deadline_)) {
        noteLocalFailure(errno);
        closeConnection();
    }
}

// libcups connects anew inside the next request when the last answer closed the connection or
// was an error, and that socket would be watched only after its first gap without a byte: a
// server that refuses one request and trickles its answer to the next could hold that one
// without end. A fresh connection, watched from the start, takes the next request instead.
void SchedulerConnection::connectAfreshIfLibcupsWould() {
    const char* connection = httpGetField(http_, HTTP_FIELD_CONNECTION);
    const bool closing = connection != nullptr && strcasecmp(connection, "close") == 0;
    const http_status_t status = httpGetStatus(http_);
    const bool failed = status == HTTP_STATUS_ERROR || status >= HTTP_STATUS_BAD_REQUEST;
    if (httpGetFd(http_) >= 0 && !closing && !failed)
        return;
    closeConnection();
    connect();
}

bool SchedulerConnection::startCall(bool newRequest) {
    closeIfOutOfTime();
    if (usable() && newRequest)
        connectAfreshIfLibcupsWould();
    watchSocket();
    if (usable())
        waitUntilDeadline();
    return usable();
}

void SchedulerConnection::closeConnection() {
    socketDeadline_.stop();
    if (http_ != nullptr)
        httpClose(http_);
    http_ = nullptr;
}

void SchedulerConnection::noteLocalFailure(int error) {
    if (error == EMFILE || error == ENFILE)
        localFailure_ = "this program has run out of file descriptors";
    else if (error == EAGAIN)
        localFailure_ = "this program cannot start another thread";
    else
        return;
    localFailure_ += std::string(" (") + std::strerror(error) + ")";
}

ipp_t* SchedulerConnection::exchange(ipp_t* request, const std::string& resource) {
    if (!startCall(true)) {
        ippDelete(request);
        return nullptr;
    }
    ipp_t* response = nullptr;
    {
        const BrokenPipeGuard guard;
        response = cupsDoRequest(http_, request, resource.c_str());
    }
    closeIfOutOfTime();
    return response;
}

bool SchedulerConnection::beginStreamedRequest(ipp_t* request, const std::string& resource) {
    if (!startCall(true)) {
        ippDelete(request);
        return false;
    }
    http_status_t status = HTTP_STATUS_ERROR;
    {
        const BrokenPipeGuard guard;
        status = cupsSendRequest(http_, request, resource.c_str(), CUPS_LENGTH_VARIABLE);
    }
    ippDelete(request);
    closeIfOutOfTime();
    return usable() && status == HTTP_STATUS_CONTINUE;
}

bool SchedulerConnection::writeStreamedData(const char* data, size_t size) {
    if (!startCall(false))
        return false;
    http_status_t status = HTTP_STATUS_ERROR;
    {
        const BrokenPipeGuard guard;
        status = cupsWriteRequestData(http_, data, size);
    }
    closeIfOutOfTime();
    return usable() && status == HTTP_STATUS_CONTINUE;
}

ipp_t* SchedulerConnection::finishStreamedRequest(const std::string& resource) {
    if (!startCall(false))
        return nullptr;
    ipp_t* response = nullptr;
    {
        const BrokenPipeGuard guard;
        response = cupsGetResponse(http_, resource.c_str());
    }
    closeIfOutOfTime();
    return response;
}

// Each wait of libcups for the scheduler may last until the deadline, and no longer. The wait
// must not be shorter: libcups reads the body of an answer without asking keepWaiting, so it
// would take an answer that is merely slow (a scheduler busy starting other jobs) for a failed
// request, even one that the scheduler has carried out. libcups's waits end only after a gap
// without a byte; the watched socket ends them all at the deadline.
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
    auto* connection = static_cast<SchedulerConnection*>(self);
    if (!connection->timeLeft())
        return 0;
    // libcups may have connected anew within the request (to upgrade to encryption): the new
    // socket needs the deadline too. It gets it here, at its first gap without a byte.
    if (!connection->socketDeadline_.watches(httpGetFd(http)) &&
        !connection->socketDeadline_.watch(httpGetFd(http), connection->deadline_))
        return 0;
    httpSetTimeout(http, connection->secondsLeft(), keepWaiting, self);
    return 1;
}

bool SchedulerConnection::timeLeft() const {
    return Clock::now() < deadline_;
}

void SchedulerConnection::closeIfOutOfTime() {
    if (!timeLeft())
        closeConnection();
}

}  // namespace orvel
