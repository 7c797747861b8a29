#include "printer/job/ForwardingSpooler.h"

namespace orvel {

DefaultPrinter ForwardingSpooler::defaultPrinter() {
    // Whether any printer is set up can't be told without a backend.
    return backend_ != nullptr ? backend_->defaultPrinter() : DefaultPrinter{true, std::string()};
}

Spooler::Handle ForwardingSpooler::openPrinter(const std::string& name) {
    return backend_ != nullptr ? backend_->openPrinter(name) : kNoHandle;
}

long ForwardingSpooler::queuedJobs(Handle printer) {
    return backend_ != nullptr ? backend_->queuedJobs(printer) : 0;
}

bool ForwardingSpooler::queueStopped(Handle printer) {
    return backend_ != nullptr && backend_->queueStopped(printer);
}

bool ForwardingSpooler::startDocument(Handle printer, const std::string& documentName) {
    return backend_ != nullptr && backend_->startDocument(printer, documentName);
}

bool ForwardingSpooler::startPage(Handle printer) {
    return backend_ != nullptr && backend_->startPage(printer);
}

long ForwardingSpooler::writeChunk(Handle printer, const Bytes& chunk) {
    return backend_ != nullptr ? backend_->writeChunk(printer, chunk) : -1;
}

bool ForwardingSpooler::endPage(Handle printer) {
    return backend_ != nullptr && backend_->endPage(printer);
}

bool ForwardingSpooler::endDocument(Handle printer) {
    return backend_ != nullptr && backend_->endDocument(printer);
}

void ForwardingSpooler::cancelDocument(Handle printer) {
    if (backend_ != nullptr)
        backend_->cancelDocument(printer);
}

void ForwardingSpooler::closePrinter(Handle printer) {
    if (backend_ != nullptr)
        backend_->closePrinter(printer);
}

}  // namespace orvel
