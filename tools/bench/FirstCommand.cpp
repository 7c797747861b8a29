// One fresh program's first command, as the first-command benchmark starts it: the 15-byte
// store-settings job handed to the default printer through fncSendRawJob, busy check on. Built
// twice: with the CUPS spooler linked in, and with the spooler module that the window program
// opens (ORVEL_SPOOLER_MODULE). Prints one line, "OPEN_MS HANDOFF_MS": the time the module took
// to open (0 for the linked spooler), which the program spends while its question waits for the
// user, and the hand-off after it.
//
//   orvel_first_command_linked
//   orvel_first_command_module MODULE
#include <chrono>
#include <cstdio>
#include <memory>

#include "printer/RawJob.h"
#include "printer/mdlFlagSettings.h"
#include "tests/support/FakeServices.h"

#ifdef ORVEL_SPOOLER_MODULE
#include "ui/SpoolerModule.h"
#else
#include "printer/cups/CupsSpooler.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char* argv[]) {
#ifdef ORVEL_SPOOLER_MODULE
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvel_first_command_module MODULE\n");
        return 2;
    }
    const auto opening = Clock::now();
    orvel::SpoolerModule spooler(QString::fromLocal8Bit(argv[1]));
    if (!spooler.load())
        return 1;
    const double opened = millisecondsSince(opening);
#else
    (void)argc;
    (void)argv;
    orvel::CupsSpooler spooler;
    const double opened = 0;
#endif
    orvel::test::ScriptedMessageBox messageBox;
    orvel::test::RecordingSleep sleep;  // stands in for the pause after a download
    orvel::PrinterServices services{spooler, messageBox, sleep};
    const orvel::FlagSettings zeros{};
    const orvel::Bytes command =
        orvel::mdlFlagSettings::fncDownloadCommand(orvel::mdlFlagSettings::kApplySettings, &zeros);

    const auto handingOff = Clock::now();
    const auto outcome = orvel::fncSendRawJob(
        services, orvel::mdlFlagSettings::kDownloadDocumentName, {command}, orvel::BusyCheck::On);
    const double handedOff = millisecondsSince(handingOff);
    if (outcome != orvel::RawJobOutcome::Sent || !messageBox.shown.empty())
        return 1;
    std::printf("%.2f %.2f\n", opened, handedOff);
    return 0;
}
