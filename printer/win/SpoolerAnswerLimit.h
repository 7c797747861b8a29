// The most that the winspool backend lets the spooler ask it to allocate for one answer (the
// records of a queue's jobs, of a printer, of all printers): a size reported larger than this is
// taken as no answer rather than allocated.
#pragma once

#include <windows.h>

namespace orvel {

inline constexpr DWORD kMaxSpoolerAnswerBytes = 16 * 1024 * 1024;

}  // namespace orvel
