// Printer names as spoolers compare them: CUPS and winspool take a queue's name whatever its
// case, so two names that differ only in case name one printer.
#pragma once

#include <string>

namespace orvel::cli {

// Only the 7-bit letters fold: a queue name is plain ASCII.
inline std::string foldedPrinterName(const std::string& name) {
    std::string lower = name;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

inline bool samePrinterName(const std::string& one, const std::string& other) {
    return foldedPrinterName(one) == foldedPrinterName(other);
}

}  // namespace orvel::cli
