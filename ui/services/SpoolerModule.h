// The system's spooler, kept in a module beside the program and opened when it is first needed,
// so that the spooler library and the libraries it pulls in are neither loaded nor resident
// while the window only starts and waits. The module is the one file that its absolute path
// names and that was checked to be a regular file: nothing is searched for, neither by the
// toolkit (which would try names of its own making) nor by the loader (which searches folders
// for a bare name). A module that is missing, damaged or built for another
// interface leaves the printer out of reach: the default printer is found under no name, and
// opening it fails, so that a command tells the user that the printer cannot be accessed.
#pragma once

#include <sys/stat.h>

#include <QString>

#include "printer/cups/SpoolerModuleEntries.h"
#include "printer/job/ForwardingSpooler.h"

namespace orvel {

class SpoolerModule : public ForwardingSpooler {
public:
    explicit SpoolerModule(const QString& modulePath);
    ~SpoolerModule() override;
    SpoolerModule(const SpoolerModule&) = delete;
    SpoolerModule& operator=(const SpoolerModule&) = delete;

    // Opens the module and makes its spooler unless that is done; true when the spooler is
    // there. Looking up the default printer and opening a printer do this first. The first
    // failure is told on the standard error; a later call tries again, so that a module put
    // right is taken up without a restart.
    bool load();

    // The two operations that come first: each opens the module. The rest reach the module's
    // spooler once it is there, and fail as for a printer out of reach before.
    DefaultPrinter defaultPrinter() override;
    Handle openPrinter(const std::string& name) override;

private:
    // Why the module can't be used, or empty once its spooler is made.
    QString open();
    QString takeSpooler(void* library, const struct stat& checked);
    void tell(const QString& why);

    QString path_;
    // Never unloaded: the spooler library may leave handlers behind that outlive its spooler.
    void* library_ = nullptr;
    spooler_module::DestroyFunction destroy_ = nullptr;
    Spooler* spooler_ = nullptr;
    bool told_ = false;
};

}  // namespace orvel
