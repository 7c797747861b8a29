// The settings download: the printer's restore-defaults and store-settings commands.
#pragma once

#include <cstdint>

#include "printer/job/RawJob.h"
#include "settings/FlagSettings.h"

namespace orvel {

// The main window's controls that a refused download puts back into their idle state.
class DownloadIdleControls {
public:
    virtual ~DownloadIdleControls() = default;
    virtual void enableApplySettings() = 0;
    virtual void hideWarning() = 0;
    virtual void enableBackground() = 0;
    virtual void repaintApplySettings() = 0;
    virtual void repaintWarning() = 0;
    virtual void repaintBackground() = 0;
};

// For a caller without a window, such as the command line: nothing to put back.
class NoIdleControls : public DownloadIdleControls {
public:
    void enableApplySettings() override {}
    void hideWarning() override {}
    void enableBackground() override {}
    void repaintApplySettings() override {}
    void repaintWarning() override {}
    void repaintBackground() override {}
};

namespace mdlFlagSettings {

constexpr std::int16_t kRestoreDefaults = 1;
constexpr std::int16_t kApplySettings = 2;
inline constexpr char kDownloadDocumentName[] = "Permanent Settings Configuration";
constexpr int kPauseAfterDownloadMs = 2500;

// The command bytes of a mode: ESC EM 1, or ESC EM 0 and the twelve values one byte each.
// Mode 1 never reads the block.
Bytes fncDownloadCommand(std::int16_t mode, const FlagSettings* block);

// Sends the mode's command with the busy check on; pauses after a sent job; on a busy printer
// restores the idle controls and shows the busy message. Returns what became of the job.
RawJobOutcome fncDownloadSettings(PrinterServices& services, DownloadIdleControls& controls,
                                  std::int16_t mode, const FlagSettings* block);

}  // namespace mdlFlagSettings
}  // namespace orvel
