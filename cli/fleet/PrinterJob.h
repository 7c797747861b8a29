// What one command sends to each printer: the store-settings command with its block, the
// restore-defaults command, or the features page; always through the printer output's own
// procedures, exactly as the window's commands send them.
#pragma once

#include <optional>

#include "printer/commands/mdlFlagSettings.h"
#include "printer/job/RawJob.h"
#include "settings/FlagSettings.h"

namespace orvel::cli {

class PrinterJob {
public:
    static PrinterJob storeSettings(const FlagSettings& block);
    static PrinterJob restoreDefaults();
    static PrinterJob featuresPage();

    // The exact bytes that the printer receives, all chunks in order.
    Bytes bytes() const;

    // Sends the job on the printer that services.spooler answers for. The outcome, where the
    // printer output tells it: the features page, like the window's, does not.
    std::optional<RawJobOutcome> send(PrinterServices& services,
                                      DownloadIdleControls& controls) const;

private:
    enum class Kind { StoreSettings, RestoreDefaults, FeaturesPage };

    PrinterJob(Kind kind, const FlagSettings& block) : kind_(kind), block_(block) {}

    Kind kind_;
    FlagSettings block_;
};

}  // namespace orvel::cli
