#include "cli/fleet/PrinterJob.h"

#include "printer/commands/FeaturesPage.h"

namespace orvel::cli {

PrinterJob PrinterJob::storeSettings(const FlagSettings& block) {
    return PrinterJob(Kind::StoreSettings, block);
}

PrinterJob PrinterJob::restoreDefaults() {
    return PrinterJob(Kind::RestoreDefaults, FlagSettings{});
}

PrinterJob PrinterJob::featuresPage() {
    return PrinterJob(Kind::FeaturesPage, FlagSettings{});
}

Bytes PrinterJob::bytes() const {
    switch (kind_) {
        case Kind::StoreSettings:
            return mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &block_);
        case Kind::RestoreDefaults:
            return mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kRestoreDefaults, nullptr);
        case Kind::FeaturesPage:
            break;
    }
    return featuresPageBytes();
}

std::optional<RawJobOutcome> PrinterJob::send(PrinterServices& services,
                                              DownloadIdleControls& controls) const {
    switch (kind_) {
        case Kind::StoreSettings:
            return mdlFlagSettings::fncDownloadSettings(services, controls,
                                                        mdlFlagSettings::kApplySettings, &block_);
        case Kind::RestoreDefaults:
            return mdlFlagSettings::fncDownloadSettings(services, controls,
                                                        mdlFlagSettings::kRestoreDefaults, nullptr);
        case Kind::FeaturesPage:
            break;
    }
    fncPrintFeaturesPage(services);
    return std::nullopt;
}

}  // namespace orvel::cli
