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
    "  apply [PROFILE] [SENDING] [-o FILE]\n"
    "                                   store PROFILE's settings in the printers\n"
    "  restore [SENDING] [-o FILE]      restore the printers' factory settings\n"
    "  features-page [SENDING] [-o FILE]\n"
    "                                   print the features page\n"
    "  decode [FILE]                    print what a captured job makes the printer do\n"
    "  printers [-h SERVER[:PORT]] [-E] [-U USER]\n"
    "                                   list the queues: name, state, jobs, the default marked\n"
    "\n"
    "SENDING: [-d PRINTER]... [-h SERVER[:PORT]] [-E] [-U USER] [--json] [--wait[=SECONDS]]\n"
    "  -d PRINTER  a queue's name, a printer URI (ipp://HOST[:PORT]/printers/NAME, ipps://...,\n"
    "              a printer application's ipp://HOST:PORT/ipp/print/NAME) or a pattern of\n"
    "              queue names ('orvel*'); repeatable; without -d, the default printer\n"
    "  -h SERVER   the CUPS server of the queue names and patterns instead of the usual one\n"
    "  -E          encrypt the connections to the schedulers\n"
    "  -U USER     send the jobs as USER; no password is ever asked for\n"
    "  --json      one JSON object per printer per line instead of the result lines\n"
    "  --wait[=SECONDS]\n"
    "              wait until the jobs have left their queues, 60 s or SECONDS (at most 600);\n"
    "              only completed jobs count as sent\n"
    "  -o FILE     write the job's exact bytes to FILE instead of sending it (- for standard\n"
    "              output); no spooler is used\n"
    "  --help      this help\n"
    "  --version   the program's version\n"
    "\n"
    "On Windows, -d takes \\\\server\\printer names; -h, -E, -U, printer URIs and --wait are not\n"
    "available there.\n"
    "Without PROFILE the settings are the defaults; a PROFILE or FILE of - is standard input.\n"
    "A profile holds \"Caption: Choice\" lines, as decode prints them for a settings job, and\n"
    "optionally \"Model: Domestic\" or \"Model: Export\".\n"
    "Exit status: 0 every printer was sent its job, 1 some printer was not, 2 the command line\n"
    "or the profile is wrong (nothing was sent).\n";

}  // namespace orvel::cli
