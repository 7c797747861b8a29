// What the main window offers the features window: the printer-readiness question, the features
// printout and showing the main window again. The features window knows the main window only
// through this.
#pragma once

namespace orvel {

class MainWindowOffers {
public:
    virtual ~MainWindowOffers() = default;
    // Asks whether the printer is ready; true only for OK.
    virtual bool ConfirmPrinterReady() = 0;
    // Prints the features page; its outcome is reported by the printout itself.
    virtual void fncPrintPrinterFeatures() = 0;
    // Makes the main window visible and active.
    virtual void Show() = 0;
};

}  // namespace orvel
