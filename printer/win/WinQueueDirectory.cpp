#include "printer/win/WinQueueDirectory.h"

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <string>
#include <vector>

#include "printer/win/SpoolerAnswerLimit.h"

namespace orvel {

namespace {

constexpr DWORD kWhich = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
constexpr DWORD kLevel = 2;

QueueState stateOf(DWORD status) {
    if (status & PRINTER_STATUS_PAUSED)
        return QueueState::Stopped;
    if (status & (PRINTER_STATUS_PRINTING | PRINTER_STATUS_PROCESSING))
        return QueueState::Processing;
    return QueueState::Idle;
}

}  // namespace

QueueListing WinQueueDirectory::listQueues() {
    QueueListing listing;
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPrintersA(kWhich, nullptr, kLevel, nullptr, 0, &needed, &returned);
    if (needed > kMaxSpoolerAnswerBytes) {
        listing.error = "the spooler's list of printers is larger than " +
                        std::to_string(kMaxSpoolerAnswerBytes) + " bytes";
        return listing;
    }
    std::vector<BYTE> buffer(needed == 0 ? 1 : needed);
    if (!EnumPrintersA(kWhich, nullptr, kLevel, buffer.data(), static_cast<DWORD>(buffer.size()),
                       &needed, &returned)) {
        if (needed == 0) {
            listing.reached = true;  // no printers at all
            return listing;
        }
        listing.error =
            "the spooler did not list its printers (error " + std::to_string(GetLastError()) + ")";
        return listing;
    }
    listing.reached = true;
    const auto* printers = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i) {
        if (printers[i].pPrinterName == nullptr)
            continue;
        listing.queues.push_back({printers[i].pPrinterName, stateOf(printers[i].Status),
                                  static_cast<long>(printers[i].cJobs)});
    }
    std::sort(listing.queues.begin(), listing.queues.end(),
              [](const QueueInfo& a, const QueueInfo& b) { return a.name < b.name; });
    return listing;
}

}  // namespace orvel
