#include "ui/core/windows/FeaturesText.h"

#include <vector>

#include "printer/commands/Maker.h"
#include "printer/job/Services.h"

namespace orvel {

namespace {

std::string spaces(int count) {
    return std::string(count, ' ');
}

const std::string kTab = "\t";

// Points 1 to 3 have five blanks after their number, points 4 to 7 four.
std::vector<std::string> featureLines() {
    return {
        " 1." + spaces(5) + "24 Pin 80 column Dot Matrix Printer with speed 300 CPS at HSD 10 CPI.",
        "",
        " 2." + spaces(5) + "Comes with USB 2.0/Parallel/Serial interfaces with Autoshare feature.",
        "",
        " 3." + spaces(5) + "Built in 9 LQ fonts:",
        spaces(13) + "Roman" + kTab + spaces(6) + "Sans Serif" + spaces(9) + "Courier",
        spaces(13) + "Prestige" + kTab + spaces(6) + "Script" + kTab + spaces(3) + "OCR-B",
        spaces(13) + "OCR-A" + kTab + spaces(6) + "ORATOR" + spaces(12) + "ORATOR-S",
        "",
        " 4." + spaces(4) + "Advanced paper handling system to take care of all paper needs.",
        "",
        " 5." + spaces(4) + "Supports two paper paths.",
        "",
        " 6." + spaces(4) +
            "Printer driver support for Windows 95, 98, Me, NT 4.0, 2000, XP, 2003, XPx64,",
        spaces(8) + "Vista, 7, 7 x64, 8, 8 x64 and selected Linux distributions.",
        spaces(8) + "(Available in " + maker::kWebAddress + ").",
        "",
        " 7." + spaces(4) +
            "Windows printer configuration utility to configure the printer permanent ",
        spaces(8) + "settings.",
    };
}

}  // namespace

std::string featuresText() {
    std::string text;
    for (const std::string& line : featureLines())
        text += line + kLineBreak;
    return text;
}

}  // namespace orvel
