#include "printer/win/WinSpooler.h"

#include "printer/win/SpoolerAnswerLimit.h"

// clang-format off
#include <windows.h>
#include <winspool.h>
// clang-format on

#include <iterator>
#include <vector>

namespace orvel {

namespace {

// All jobs, from the first.
constexpr DWORD kFirstJob = 0;
constexpr DWORD kAllJobs = 0xFFFFFFFF;
constexpr DWORD kJobInfoLevel = 2;
constexpr DWORD kPrinterInfoLevel = 2;
constexpr DWORD kDocInfoLevel = 1;
// The data type that passes the bytes through to the printer unchanged.
constexpr char kRawDataType[] = "RAW";

// What the spooler may ask us to allocate for a printer name, far more than any needs. The
// records of a queue so long that they need more than kMaxSpoolerAnswerBytes are not listed,
// the queue is simply known to hold jobs.
constexpr DWORD kMaxNameBytes = 64 * 1024;

HANDLE toPrinter(Spooler::Handle printer) {
    return reinterpret_cast<HANDLE>(printer);
}

}  // namespace

// Windows reports "no default printer" as ERROR_FILE_NOT_FOUND; with no printer installed
// there is no default either. Every way of not getting a name means no printer is set up.
DefaultPrinter WinSpooler::defaultPrinter() {
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    if (size == 0 || size > kMaxNameBytes)
        return {false, std::string()};
    std::vector<char> name(size + 1, '\0');
    if (!GetDefaultPrinterA(name.data(), &size))
        return {false, std::string()};
    return {true, std::string(name.data())};
}

Spooler::Handle WinSpooler::openPrinter(const std::string& name) {
    HANDLE printer = nullptr;
    std::vector<char> printerName(name.begin(), name.end());
    printerName.push_back('\0');
    if (!OpenPrinterA(printerName.data(), &printer, nullptr) || printer == nullptr)
        return kNoHandle;
    return reinterpret_cast<Handle>(printer);
}

// The first call asks only how large the records are; the second lists them. Neither result
// is examined: a failed enumeration returns no jobs.
long WinSpooler::queuedJobs(Handle printer) {
    DWORD bytesNeeded = 0;
    DWORD jobsReturned = 0;
    EnumJobsA(toPrinter(printer), kFirstJob, kAllJobs, kJobInfoLevel, nullptr, 0, &bytesNeeded,
              &jobsReturned);
    // An empty queue needs no bytes at all: records this large are many jobs.
    if (bytesNeeded > kMaxSpoolerAnswerBytes)
        return 1;
    std::vector<BYTE> records(bytesNeeded > 0 ? bytesNeeded : 1);
    jobsReturned = 0;
    EnumJobsA(toPrinter(printer), kFirstJob, kAllJobs, kJobInfoLevel, records.data(), bytesNeeded,
              &bytesNeeded, &jobsReturned);
    return static_cast<long>(jobsReturned);
}

// A paused printer is the stopped queue: the spooler takes jobs for it and keeps them until
// somebody resumes it. Under wine, whose spooler hands the jobs to CUPS, a stopped CUPS queue is
// not reported paused (its status reads 0), so there the job is taken and waits in CUPS.
bool WinSpooler::queueStopped(Handle printer) {
    DWORD bytesNeeded = 0;
    GetPrinterA(toPrinter(printer), kPrinterInfoLevel, nullptr, 0, &bytesNeeded);
    if (bytesNeeded < sizeof(PRINTER_INFO_2A) || bytesNeeded > kMaxSpoolerAnswerBytes)
        return false;
    // PRINTER_INFO_2A holds pointers: a buffer of them keeps the record aligned.
    std::vector<PRINTER_INFO_2A> record(bytesNeeded / sizeof(PRINTER_INFO_2A) + 1);
    if (!GetPrinterA(toPrinter(printer), kPrinterInfoLevel, reinterpret_cast<LPBYTE>(record.data()),
                     bytesNeeded, &bytesNeeded))
        return false;
    return (record.front().Status & PRINTER_STATUS_PAUSED) != 0;
}

bool WinSpooler::startDocument(Handle printer, const std::string& documentName) {
    std::vector<char> name(documentName.begin(), documentName.end());
    name.push_back('\0');
    std::vector<char> dataType(std::begin(kRawDataType), std::end(kRawDataType));
    // No output file.
    DOC_INFO_1A info{name.data(), nullptr, dataType.data()};
    const DWORD job =
        StartDocPrinterA(toPrinter(printer), kDocInfoLevel, reinterpret_cast<LPBYTE>(&info));
    if (job == 0)
        return false;
    jobs_[printer] = job;
    return true;
}

bool WinSpooler::startPage(Handle printer) {
    return StartPagePrinter(toPrinter(printer)) != 0;
}

long WinSpooler::writeChunk(Handle printer, const Bytes& chunk) {
    DWORD written = 0;
    // The count is the chunk's length: a 0x00 byte is data like any other.
    if (!WritePrinter(toPrinter(printer), const_cast<char*>(chunk.data()),
                      static_cast<DWORD>(chunk.size()), &written))
        return -1;
    return static_cast<long>(written);
}

bool WinSpooler::endPage(Handle printer) {
    return EndPagePrinter(toPrinter(printer)) != 0;
}

bool WinSpooler::endDocument(Handle printer) {
    if (!EndDocPrinter(toPrinter(printer)))
        return false;
    jobs_.erase(printer);  // spooled: from now on it is the spooler's
    return true;
}

// Deletes the started job; where the spooler won't, drops the printer's spool file instead.
void WinSpooler::cancelDocument(Handle printer) {
    const auto job = jobs_.find(printer);
    if (job == jobs_.end())
        return;
    if (!SetJobA(toPrinter(printer), job->second, 0, nullptr, JOB_CONTROL_DELETE))
        AbortPrinter(toPrinter(printer));
    jobs_.erase(job);
}

void WinSpooler::closePrinter(Handle printer) {
    jobs_.erase(printer);
    ClosePrinter(toPrinter(printer));
}

}  // namespace orvel
