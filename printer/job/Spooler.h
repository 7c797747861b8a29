// The narrow interface to the system's print spooler: just the operations that one raw job on
// the default printer needs. One backend per platform (CUPS, winspool) and a recording double.
// A backend bounds every call in time: a spooler that never answers makes the call fail, with
// the result that the call gives for a failure, rather than keep the caller waiting.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

// Raw bytes, composed of control bytes and 7-bit text. A 0x00 byte is data like any other.
using Bytes = std::string;

struct DefaultPrinter {
    // False when no printer is set up at all: the case the no-printer message is for.
    bool found = false;
    // The default's name; when found, it may still name a printer that cannot be opened.
    std::string name;
};

class Spooler {
public:
    using Handle = std::uintptr_t;
    static constexpr Handle kNoHandle = 0;

    virtual ~Spooler() = default;

    virtual DefaultPrinter defaultPrinter() = 0;
    // kNoHandle when the printer cannot be opened.
    virtual Handle openPrinter(const std::string& name) = 0;
    // How many jobs the printer's queue holds, whatever their owner and state; 0 when the
    // queue cannot be listed.
    virtual long queuedJobs(Handle printer) = 0;
    // Whether the printer's queue is stopped (paused): it takes jobs but keeps them until
    // somebody resumes it. False when that can't be told.
    virtual bool queueStopped(Handle printer) = 0;
    virtual bool startDocument(Handle printer, const std::string& documentName) = 0;
    virtual bool startPage(Handle printer) = 0;
    // The number of bytes written, or -1.
    virtual long writeChunk(Handle printer, const Bytes& chunk) = 0;
    virtual bool endPage(Handle printer) = 0;
    virtual bool endDocument(Handle printer) = 0;
    // Withdraws a started document so that none of it reaches the printer.
    virtual void cancelDocument(Handle printer) = 0;
    virtual void closePrinter(Handle printer) = 0;

    // Why the last failure of this spooler lay on this computer's side rather than the
    // spooler's (no file descriptor, memory or thread left), in words for the user; empty when
    // it did not, or when the backend can't tell. The messages of a failed command name no
    // cause; a front end adds this one where it has a place for it.
    virtual std::string localFailure() { return {}; }
};

}  // namespace orvel
