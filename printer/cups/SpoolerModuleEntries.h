// The entry points of a spooler module: a spooler backend built as a shared module of its own,
// which the program opens only when a command first needs the spooler, so that the spooler
// library and everything it pulls in cost the program nothing until then. Plain C functions, so
// that the program finds them by name.
#pragma once

#include "printer/job/Spooler.h"

namespace orvel::spooler_module {

// Raised whenever the Spooler interface or these entry points change: a module built against
// another version is refused rather than called through a table that no longer fits it.
inline constexpr int kInterfaceVersion = 2;

inline constexpr char kVersionEntry[] = "orvel_spooler_module_version";
inline constexpr char kCreateEntry[] = "orvel_spooler_module_create";
inline constexpr char kDestroyEntry[] = "orvel_spooler_module_destroy";

// The interface version the module was built for.
using VersionFunction = int (*)();
// A new spooler, or null when none can be made.
using CreateFunction = Spooler* (*)();
// Ends a spooler that the same module made.
using DestroyFunction = void (*)(Spooler*);

}  // namespace orvel::spooler_module
