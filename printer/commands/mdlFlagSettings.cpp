#include "printer/commands/mdlFlagSettings.h"

#include <stdexcept>

#include "printer/commands/EscP.h"
#include "printer/job/Messages.h"

namespace orvel::mdlFlagSettings {

namespace {

// The third byte of the command: a plain value, not a digit character.
constexpr int kRestoreParameter = 0x01;
constexpr int kStoreParameter = 0x00;

// Returns the idle look of the main window before the busy message: the banner gone and the
// buttons back, painted at once so they show behind the modal message.
void restoreIdleControls(DownloadIdleControls& controls) {
    controls.enableApplySettings();
    controls.hideWarning();
    controls.enableBackground();
    controls.repaintApplySettings();
    controls.repaintWarning();
    controls.repaintBackground();
}

}  // namespace

Bytes fncDownloadCommand(std::int16_t mode, const FlagSettings* block) {
    if (mode == kRestoreDefaults)
        return escp::sequence(escp::kPermanentSettings, {kRestoreParameter});
    if (mode != kApplySettings)
        throw std::invalid_argument("unknown download mode");
    if (block == nullptr)
        throw std::invalid_argument("storing settings needs a block");
    Bytes command = escp::sequence(escp::kPermanentSettings, {kStoreParameter});
    for (std::int16_t value : block->values) {
        // A value that does not fit its byte would store a different setting than chosen;
        // never send it truncated.
        if (value < 0 || value > 255)
            throw std::invalid_argument("a block value is one byte");
        command += static_cast<char>(value);
    }
    return command;
}

RawJobOutcome fncDownloadSettings(PrinterServices& services, DownloadIdleControls& controls,
                                  std::int16_t mode, const FlagSettings* block) {
    const Bytes command = fncDownloadCommand(mode, block);
    const RawJobOutcome outcome =
        fncSendRawJob(services, kDownloadDocumentName, {command}, BusyCheck::On);
    switch (outcome) {
        case RawJobOutcome::Sent:
            // Gives the printer time to store the settings before anything else reaches it.
            services.sleep.sleep(kPauseAfterDownloadMs);
            break;
        case RawJobOutcome::PrinterBusy:
            restoreIdleControls(controls);
            showMessage(services.messageBox, messages::kPrinterBusy);
            break;
        case RawJobOutcome::NotSent:
            break;
    }
    return outcome;
}

}  // namespace orvel::mdlFlagSettings
