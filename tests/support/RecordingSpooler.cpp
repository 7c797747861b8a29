#include "tests/support/RecordingSpooler.h"

#include <gtest/gtest.h>

namespace orvel::test {

DefaultPrinter RecordingSpooler::defaultPrinter() {
    calls.push_back("default");
    return defaultAnswer;
}

Spooler::Handle RecordingSpooler::openPrinter(const std::string& name) {
    calls.push_back("open " + name);
    return openSucceeds ? kHandle : kNoHandle;
}

long RecordingSpooler::queuedJobs(Handle printer) {
    expectHandle(printer, "queuedJobs");
    calls.push_back("jobs");
    return jobsInQueue;
}

bool RecordingSpooler::queueStopped(Handle printer) {
    expectHandle(printer, "queueStopped");
    calls.push_back("stopped");
    return queueIsStopped;
}

bool RecordingSpooler::startDocument(Handle printer, const std::string& name) {
    expectHandle(printer, "startDocument");
    calls.push_back("startDoc " + name);
    documentName = name;
    return startDocumentSucceeds;
}

bool RecordingSpooler::startPage(Handle printer) {
    expectHandle(printer, "startPage");
    calls.push_back("startPage");
    return startPageSucceeds;
}

long RecordingSpooler::writeChunk(Handle printer, const Bytes& chunk) {
    expectHandle(printer, "writeChunk");
    calls.push_back("write " + std::to_string(chunk.size()));
    written.push_back(chunk);
    if (onWrite)
        onWrite(chunk);
    const int number = writes_++;
    if (number == failWriteNumber)
        return -1;
    if (number == shortWriteNumber)
        return static_cast<long>(chunk.size()) - 1;
    return static_cast<long>(chunk.size());
}

bool RecordingSpooler::endPage(Handle printer) {
    expectHandle(printer, "endPage");
    calls.push_back("endPage");
    return endPageSucceeds;
}

bool RecordingSpooler::endDocument(Handle printer) {
    expectHandle(printer, "endDocument");
    calls.push_back("endDoc");
    return endDocumentSucceeds;
}

void RecordingSpooler::cancelDocument(Handle printer) {
    expectHandle(printer, "cancelDocument");
    calls.push_back("cancelDoc");
}

void RecordingSpooler::closePrinter(Handle printer) {
    expectHandle(printer, "closePrinter");
    calls.push_back("close");
}

void RecordingSpooler::expectHandle(Handle printer, const char* call) {
    EXPECT_EQ(printer, kHandle) << call << " was given a handle the spooler never handed out";
}

}  // namespace orvel::test
