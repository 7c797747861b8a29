// The printer's control sequences that this program sends: ESC, a command byte and its
// parameters, each parameter one byte of its value (not a digit character).
#pragma once

#include <vector>

#include "printer/job/Spooler.h"

namespace orvel::escp {

constexpr char kEsc = 0x1B;
constexpr char kTab = 0x09;
inline constexpr char kLineEnd[] = "\r\n";

struct ControlSequence {
    char command;          // the byte after ESC
    const char* mnemonic;  // how a person writes it: "ESC k"
    int parameterCount;
};

// Every sequence the program knows, in one table.
const std::vector<ControlSequence>& controlSequences();

// ESC, the command and its parameters. The command must be in the table and given as many
// parameters as it takes; anything else is a programming error (std::invalid_argument).
Bytes sequence(char command, std::vector<int> parameters = {});

// The command bytes.
constexpr char kInitialize = '@';          // print modes back to the printer's defaults
constexpr char kLetterQuality = 'x';       // 1: letter quality
constexpr char kTypeface = 'k';            // n: typeface n
constexpr char kTenPitch = 'P';            // 10 characters per inch
constexpr char kDoubleHeight = 'w';        // 1: on
constexpr char kDoubleWidth = 'W';         // 1: on
constexpr char kJustification = 'a';       // 1: centre each line
constexpr char kBold = 'E';                // emphasized on
constexpr char kPermanentSettings = 0x19;  // EM; 1: restore factory settings, 0: store settings

}  // namespace orvel::escp
