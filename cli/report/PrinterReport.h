// One printer's result as the run reports it: a line of text, or with --json one JSON object
// on a line of its own, whose fields are a stable interface for scripts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/report/PrinterResult.h"
#include "printer/job/SpoolerDetails.h"

namespace orvel::cli {

struct PrinterReport {
    std::string label;  // the printer as the user named it; the default by its name
    PrinterResult result = PrinterResult::Failed;
    long jobId = 0;  // 0: none known
    // The lines of the printer output's message about it (the window's words); none: empty.
    std::vector<std::string> message;
    std::string time;  // when the result was known: UTC, "2026-12-10T14:35:15Z"
    // What became of the sent job, once --wait has waited for it.
    std::optional<JobState> jobState;
};

// "orvel005: sent: job 17", "orvel006: not sent: busy", "orvel005: sent: job 17, completed".
std::string textLine(const PrinterReport& report);

// {"printer":"orvel005","result":"sent","reason":"sent","job":17,"job_state":null,
//  "message":[],"time":"2026-12-10T14:35:15Z"}
std::string jsonLine(const PrinterReport& report);

// Sent; and, when the run waited, completed.
bool succeeded(const PrinterReport& report, bool waited);

// The moment now, as PrinterReport::time gives it.
std::string utcNow();

// A JSON string: quoted, with what must be escaped escaped, and any byte that is not part of
// UTF-8 text replaced by U+FFFD, so that the line is valid whatever a name holds.
std::string jsonString(const std::string& text);

}  // namespace orvel::cli
