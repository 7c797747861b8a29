#include "printer/commands/FeaturesPage.h"

#include "printer/commands/EscP.h"
#include "printer/commands/Maker.h"

namespace orvel {

namespace {

using escp::sequence;

const std::string kCrLf = escp::kLineEnd;
const std::string kBlankLineAfter = kCrLf + kCrLf;
const std::string kTab(1, escp::kTab);

// Letter quality, Roman, 10 characters per inch: how both chunks begin.
Bytes plainLetterQuality() {
    return sequence(escp::kInitialize) + sequence(escp::kLetterQuality, {1}) +
           sequence(escp::kTypeface, {0}) + sequence(escp::kTenPitch);
}

// The page's three lines of typefaces, each name printed in its own typeface, lined up by tabs.
struct TypefaceSample {
    int typeface;
    int tabs;
    const char* name;
};

const std::vector<std::vector<TypefaceSample>> kTypefaceLines = {
    {{0, 2, "Roman"}, {1, 2, "Sans Serif"}, {2, 1, "Courier"}},
    {{3, 2, "Prestige"}, {4, 1, "Script"}, {5, 2, "OCR-B"}},
    {{6, 2, "OCR-A"}, {7, 2, "ORATOR"}, {8, 2, "ORATOR-s "}},
};

Bytes typefaceLines() {
    Bytes lines;
    for (size_t i = 0; i < kTypefaceLines.size(); ++i) {
        for (const TypefaceSample& sample : kTypefaceLines[i]) {
            lines += sequence(escp::kTypeface, {sample.typeface});
            lines += std::string(sample.tabs, escp::kTab) + sample.name;
        }
        // The last line returns to Roman before its line end.
        if (i + 1 == kTypefaceLines.size())
            lines += sequence(escp::kTypeface, {0});
        lines += kBlankLineAfter;
    }
    return lines;
}

Bytes titleChunk() {
    return plainLetterQuality() + sequence(escp::kDoubleHeight, {1}) +
           sequence(escp::kDoubleWidth, {1}) + sequence(escp::kJustification, {1}) +
           kFeaturesDocumentName + kBlankLineAfter;
}

Bytes bodyChunk() {
    const std::string web = maker::kWebAddress;
    Bytes body = plainLetterQuality();
    body +=
        "1.24 Pin 80 column Dot Matrix Printer with speed 300 CPS at HSD 10 CPI." + kBlankLineAfter;
    body +=
        "2.Comes with USB 2.0/Parallel/Serial interfaces with Autoshare feature." + kBlankLineAfter;
    body += "3.Built in 9 LQ fonts:" + kBlankLineAfter;
    body += typefaceLines();
    body += "4.Advanced paper handling system to take care of all paper needs." + kBlankLineAfter;
    body += "5.Supports two paper paths." + kBlankLineAfter;
    body +=
        "6.Printer driver support for Windows 95, 98, Me, NT 4.0, 2000, XP, 2003, XPx64," + kCrLf;
    body +=
        "  Vista and selected Linux distributions. (Available in " + web + ")" + kBlankLineAfter;
    body += "7.Easy Windows and Linux printer driver installation through Auto Installer" + kCrLf;
    body += "  utility." + kBlankLineAfter;
    body += "8.Windows printer configuration utility to configure the printer permanent" + kCrLf;
    body += "  settings." + kBlankLineAfter;
    // Bold stays on through the contact details; the closing initialisation ends it.
    body += sequence(escp::kBold) + "For Further Details Contact...." + kCrLf;
    body += std::string(maker::kCompanyName) + kCrLf;
    body += std::string(maker::kPostalAddress) + kCrLf;
    body += kTab + "Phone:" + kTab + maker::kPhone + kCrLf;
    body += kTab + "Fax:" + kTab + maker::kFax + kCrLf;
    body += kTab + "E-Mail:" + kTab + maker::kEmail + kCrLf;
    body += kTab + "Web:" + kTab + web + kCrLf;
    // No form feed: the page ends where the text does.
    body += sequence(escp::kInitialize);
    return body;
}

}  // namespace

std::vector<Bytes> featuresPageChunks() {
    return {titleChunk(), bodyChunk()};
}

Bytes featuresPageBytes() {
    return titleChunk() + bodyChunk();
}

void fncPrintFeaturesPage(PrinterServices& services) {
    // A queue that already holds jobs is no reason to refuse: the page simply waits its turn.
    fncSendRawJob(services, kFeaturesDocumentName, featuresPageChunks(), BusyCheck::Off);
}

}  // namespace orvel
