// What a spooler backend can tell beyond the narrow interface that the printer output uses: why a
// printer could not be opened or a job not handed over, the id of the job it made, and what has
// become of that job since. The command line reports these in its result lines; the window, which
// shows only the messages of the printer output, never asks. A backend offers them by deriving
// from this as well as from Spooler.
#pragma once

#include <chrono>
#include <string>

namespace orvel {

enum class OpenFailure {
    Unknown,
    NoSuchPrinter,        // the scheduler answered that it has no such printer
    NotAnswering,         // no scheduler answered in time, or none could be reached
    NeedsAuthentication,  // the scheduler lets nobody in without a password
};

enum class SendFailure {
    Unknown,
    Withdrawn,    // refused, or broken off before the end: no job was made
    Unconfirmed,  // all of it was handed over and no answer came: the job may still arrive
};

enum class JobState {
    Unknown,       // the scheduler does not say
    NotAnswering,  // no answer in time
    Pending,
    Held,
    Processing,
    Stopped,
    Canceled,
    Aborted,
    Completed,
};

class SpoolerDetails {
public:
    virtual ~SpoolerDetails() = default;

    // Why the last openPrinter() that failed did.
    virtual OpenFailure lastOpenFailure() const = 0;
    // Why the last document that could not be ended whole did not.
    virtual SendFailure lastSendFailure() const = 0;
    // The id of the last job that a document became; 0 when none is known.
    virtual long lastJobId() const = 0;
    // The state of a job that this backend made on the named printer, asked within the bound.
    virtual JobState jobState(const std::string& printerName, long jobId,
                              std::chrono::milliseconds bound) = 0;
};

}  // namespace orvel
