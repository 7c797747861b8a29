// The CUPS spooler as a spooler module: the program opens it, and with it libcups, only when a
// command first needs the spooler.
#include <new>
#include <type_traits>

#include "printer/cups/CupsSpooler.h"
#include "printer/cups/SpoolerModuleEntries.h"

// The module shows nothing but its entry points.
#define ORVEL_MODULE_ENTRY extern "C" __attribute__((visibility("default")))

ORVEL_MODULE_ENTRY int orvel_spooler_module_version() {
    return orvel::spooler_module::kInterfaceVersion;
}

ORVEL_MODULE_ENTRY orvel::Spooler* orvel_spooler_module_create() {
    return new (std::nothrow) orvel::CupsSpooler();
}

ORVEL_MODULE_ENTRY void orvel_spooler_module_destroy(orvel::Spooler* spooler) {
    delete spooler;
}

static_assert(std::is_same_v<decltype(&orvel_spooler_module_version),
                             orvel::spooler_module::VersionFunction>);
static_assert(
    std::is_same_v<decltype(&orvel_spooler_module_create), orvel::spooler_module::CreateFunction>);
static_assert(std::is_same_v<decltype(&orvel_spooler_module_destroy),
                             orvel::spooler_module::DestroyFunction>);
