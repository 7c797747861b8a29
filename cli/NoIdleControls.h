// The command line has no window to put back into its idle state when a printer is busy.
#pragma once

#include "printer/mdlFlagSettings.h"

namespace orvel::cli {

class NoIdleControls : public DownloadIdleControls {
public:
    void enableApplySettings() override {}
    void hideWarning() override {}
    void enableBackground() override {}
    void repaintApplySettings() override {}
    void repaintWarning() override {}
    void repaintBackground() override {}
};

}  // namespace orvel::cli
