#include "cli/fleet/PrinterResult.h"

#include <vector>

#include "printer/job/Messages.h"

namespace orvel::cli {

namespace {

struct ResultRow {
    PrinterResult result;
    const char* words;
    const Message* toldBy;  // the printer output's message for it; nullptr: none
};

const std::vector<ResultRow>& resultTable() {
    static const std::vector<ResultRow> rows = {
        {PrinterResult::Sent, "sent", nullptr},
        {PrinterResult::Busy, "not sent: busy", &messages::kPrinterBusy},
        {PrinterResult::QueueStopped, "not sent: queue stopped", &messages::kQueueStopped},
        {PrinterResult::CannotOpen, "not sent: cannot open", &messages::kOpenFailed},
        {PrinterResult::NoPrinter, "not sent: no printer", &messages::kNoPrinter},
        {PrinterResult::SendFailed, "not sent: send failed", &messages::kSendFailed},
        {PrinterResult::Failed, "not sent: failed", nullptr},
    };
    return rows;
}

}  // namespace

std::string resultWords(PrinterResult result) {
    for (const ResultRow& row : resultTable()) {
        if (row.result == result)
            return row.words;
    }
    return "not sent: failed";
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

}  // namespace orvel::cli
