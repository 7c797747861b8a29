#include "cli/report/PrinterResult.h"

#include <vector>

#include "printer/job/Messages.h"

namespace orvel::cli {

namespace {

// Where to look whether a job that was handed over without an answer arrived after all.
#ifdef _WIN32
#define ORVEL_JOB_CHECK "(look in the printer's queue window)"
#else
#define ORVEL_JOB_CHECK "(lpstat -W completed)"
#endif

struct ResultRow {
    PrinterResult result;
    const char* words;
    const char* keyword;
    const Message* toldBy;  // the printer output's message for it; nullptr: none
};

const std::vector<ResultRow>& resultTable() {
    static const std::vector<ResultRow> rows = {
        {PrinterResult::Sent, "sent", "sent", nullptr},
        {PrinterResult::Busy, "not sent: busy", "busy", &messages::kPrinterBusy},
        {PrinterResult::QueueStopped, "not sent: queue stopped", "queue-stopped",
         &messages::kQueueStopped},
        {PrinterResult::NoSuchPrinter, "not sent: no such printer", "no-such-printer", nullptr},
        {PrinterResult::NotAnswering, "not sent: scheduler not answering", "not-answering",
         nullptr},
        {PrinterResult::NeedsAuthentication, "not sent: authentication needed",
         "authentication-needed", nullptr},
        {PrinterResult::CannotOpen, "not sent: cannot open", "cannot-open", &messages::kOpenFailed},
        {PrinterResult::NoPrinter, "not sent: no printer", "no-printer", &messages::kNoPrinter},
        {PrinterResult::SendFailed, "not sent: send failed", "send-failed", nullptr},
        {PrinterResult::SendUnconfirmed,
         "not sent: send failed, the job may still arrive " ORVEL_JOB_CHECK, "send-unconfirmed",
         &messages::kSendFailed},
        {PrinterResult::NoMatch, "not sent: no queue matches", "no-match", nullptr},
        {PrinterResult::NotListed, "not sent: queues not listed", "not-listed", nullptr},
        {PrinterResult::Failed, "not sent: failed", "failed", nullptr},
    };
    return rows;
}

const ResultRow& rowOf(PrinterResult result) {
    for (const ResultRow& row : resultTable()) {
        if (row.result == result)
            return row;
    }
    return resultTable().back();
}

}  // namespace

std::string resultWords(PrinterResult result) {
    return rowOf(result).words;
}

std::string resultKeyword(PrinterResult result) {
    return rowOf(result).keyword;
}

std::optional<PrinterResult> resultToldBy(const std::string& messageText) {
    for (const ResultRow& row : resultTable()) {
        if (row.toldBy != nullptr && row.toldBy->text() == messageText)
            return row.result;
    }
    return std::nullopt;
}

PrinterResult resultOf(std::optional<RawJobOutcome> outcome, std::optional<PrinterResult> told) {
    if (told)
        return *told;
    if (!outcome)
        return PrinterResult::Sent;
    switch (*outcome) {
        case RawJobOutcome::Sent:
            return PrinterResult::Sent;
        case RawJobOutcome::PrinterBusy:
            return PrinterResult::Busy;
        case RawJobOutcome::NotSent:
            break;
    }
    return PrinterResult::Failed;
}

PrinterResult refinedBy(PrinterResult result, const SpoolerDetails* details) {
    if (details == nullptr)
        return result;
    if (result == PrinterResult::CannotOpen) {
        switch (details->lastOpenFailure()) {
            case OpenFailure::NoSuchPrinter:
                return PrinterResult::NoSuchPrinter;
            case OpenFailure::NotAnswering:
                return PrinterResult::NotAnswering;
            case OpenFailure::NeedsAuthentication:
                return PrinterResult::NeedsAuthentication;
            case OpenFailure::Unknown:
                break;
        }
    }
    if (result == PrinterResult::SendUnconfirmed &&
        details->lastSendFailure() == SendFailure::Withdrawn)
        return PrinterResult::SendFailed;
    return result;
}

std::string jobStateWords(JobState state) {
    switch (state) {
        case JobState::Completed:
            return "completed";
        case JobState::Aborted:
            return "aborted";
        case JobState::Canceled:
            return "canceled";
        case JobState::Held:
            return "held";
        case JobState::Pending:
            return "pending";
        case JobState::Processing:
            return "processing";
        case JobState::Stopped:
            return "stopped";
        case JobState::NotAnswering:
            return "not-answering";
        case JobState::Unknown:
            break;
    }
    return "unknown";
}

}  // namespace orvel::cli
