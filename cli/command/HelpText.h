// The program's name, version and help.
#pragma once

namespace orvel::cli {

inline constexpr char kProgramName[] = "orvel-settings";
inline constexpr char kVersionLine[] = "orvel-settings 1.00";
inline constexpr char kHint[] = "Try 'orvel-settings --help'.";

inline constexpr char kHelpText[] =
    "usage: orvel-settings COMMAND [ARGUMENTS]\n"
    "Sets the permanent settings of Varnet Orvel printers through the print spooler.\n"
    "\n"
    "  show [PROFILE]                   print the nineteen settings that PROFILE stores\n"
    "  apply [PROFILE] [-d PRINTER]... [-h SERVER[:PORT]] [-o FILE]\n"
    "                                   store PROFILE's settings in the printers\n"
    "  restore [-d PRINTER]... [-h SERVER[:PORT]] [-o FILE]\n"
    "                                   restore the printers' factory settings\n"
    "  features-page [-d PRINTER]... [-h SERVER[:PORT]] [-o FILE]\n"
    "                                   print the features page\n"
    "  decode [FILE]                    print what a captured job makes the printer do\n"
    "  printers [-h SERVER[:PORT]]      list the queues: name, state, jobs, the default marked\n"
    "\n"
    "  -d PRINTER  a printer's queue, repeatable; without -d, the default printer\n"
    "  -h SERVER   the CUPS server to use instead of the usual one (not on Windows, where\n"
    "              -d takes \\\\server\\printer names instead)\n"
    "  -o FILE     write the job's exact bytes to FILE instead of sending it (- for standard\n"
    "              output); no spooler is used\n"
    "  --help      this help\n"
    "  --version   the program's version\n"
    "\n"
    "Without PROFILE the settings are the defaults; a PROFILE or FILE of - is standard input.\n"
    "A profile holds \"Caption: Choice\" lines, as decode prints them for a settings job, and\n"
    "optionally \"Model: Domestic\" or \"Model: Export\".\n"
    "Exit status: 0 every printer was sent its job, 1 some printer was not, 2 the command line\n"
    "or the profile is wrong (nothing was sent).\n";

}  // namespace orvel::cli
