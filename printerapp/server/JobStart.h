// Cancelling a job only once the framework has started it, or before it is handed on.
#pragma once

#include <pappl/pappl.h>

namespace orvel::printerapp {

// Called before a request that may cancel jobs on the client's printer (an IPP cancel, a form of
// the web pages): waits, a bounded time, while the printer is starting a job.
void waitUntilJobStarted(pappl_client_t* client);

// Whether an IPP operation cancels jobs.
bool cancelsJobs(ipp_op_t op);

}  // namespace orvel::printerapp
