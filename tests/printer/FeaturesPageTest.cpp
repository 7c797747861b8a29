#include <gtest/gtest.h>

#include "printer/commands/FeaturesPage.h"
#include "printer/commands/Maker.h"
#include "tests/support/FakeServices.h"
#include "tests/support/RecordingSpooler.h"

namespace orvel {
namespace {

// The page written out by hand, line by line, from the printer's command table.
const Bytes kEsc = "\x1B";
const Bytes kReset = kEsc + "@" + kEsc + "x\x01" + kEsc + Bytes("k\x00", 2) + kEsc + "P";
const Bytes kEnd = "\r\n";
const Bytes kGap = "\r\n\r\n";

Bytes k(int n) {
    return kEsc + "k" + Bytes(1, static_cast<char>(n));
}

Bytes goldenTitle() {
    return kReset + kEsc + "w\x01" + kEsc + "W\x01" + kEsc + "a\x01" + "Varnet Orvel FEATURES" +
           kGap;
}

Bytes goldenBody() {
    const Bytes web = maker::kWebAddress;
    return kReset + "1.24 Pin 80 column Dot Matrix Printer with speed 300 CPS at HSD 10 CPI." +
           kGap + "2.Comes with USB 2.0/Parallel/Serial interfaces with Autoshare feature." + kGap +
           "3.Built in 9 LQ fonts:" + kGap + k(0) + "\t\tRoman" + k(1) + "\t\tSans Serif" + k(2) +
           "\tCourier" + kGap + k(3) + "\t\tPrestige" + k(4) + "\tScript" + k(5) + "\t\tOCR-B" +
           kGap + k(6) + "\t\tOCR-A" + k(7) + "\t\tORATOR" + k(8) + "\t\tORATOR-s " + k(0) + kGap +
           "4.Advanced paper handling system to take care of all paper needs." + kGap +
           "5.Supports two paper paths." + kGap +
           "6.Printer driver support for Windows 95, 98, Me, NT 4.0, 2000, XP, 2003, XPx64," +
           kEnd + "  Vista and selected Linux distributions. (Available in " + web + ")" + kGap +
           "7.Easy Windows and Linux printer driver installation through Auto Installer" + kEnd +
           "  utility." + kGap +
           "8.Windows printer configuration utility to configure the printer permanent" + kEnd +
           "  settings." + kGap + kEsc + "E" + "For Further Details Contact...." + kEnd +
           maker::kCompanyName + kEnd + maker::kPostalAddress + kEnd + "\tPhone:\t" +
           maker::kPhone + kEnd + "\tFax:\t" + maker::kFax + kEnd + "\tE-Mail:\t" + maker::kEmail +
           kEnd + "\tWeb:\t" + web + kEnd + kEsc + "@";
}

TEST(FeaturesPage, IsTheTitleChunkThenTheBodyChunkByteForByte) {
    const std::vector<Bytes> chunks = featuresPageChunks();
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0], goldenTitle());
    EXPECT_EQ(chunks[1], goldenBody());
}

TEST(FeaturesPage, FramingBytesAndNoFormFeed) {
    const std::vector<Bytes> chunks = featuresPageChunks();
    const Bytes title19(
        "\x1B\x40\x1B\x78\x01\x1B\x6B\x00\x1B\x50\x1B\x77\x01\x1B\x57\x01\x1B\x61\x01", 19);
    EXPECT_EQ(chunks[0].substr(0, 19), title19);
    EXPECT_EQ(chunks[0].substr(chunks[0].size() - 4), kGap);
    EXPECT_EQ(chunks[1].substr(0, 10), title19.substr(0, 10));
    EXPECT_EQ(chunks[1].substr(chunks[1].size() - 4), Bytes("\r\n\x1B\x40"));
    for (const Bytes& chunk : chunks)
        EXPECT_EQ(chunk.find('\x0C'), Bytes::npos);
    // The web address is one value, printed twice.
    const Bytes web = maker::kWebAddress;
    EXPECT_NE(chunks[1].find("(Available in " + web + ")"), Bytes::npos);
    EXPECT_NE(chunks[1].find("\tWeb:\t" + web + "\r\n"), Bytes::npos);
}

TEST(FeaturesPage, TypefaceParametersRunZeroToEightThenZero) {
    const Bytes body = featuresPageChunks()[1];
    std::vector<int> typefaces;
    for (size_t i = 0; i + 2 < body.size(); ++i) {
        if (body[i] == '\x1B' && body[i + 1] == 'k')
            typefaces.push_back(body[i + 2]);
    }
    // The first is the chunk's opening Roman.
    EXPECT_EQ(typefaces, (std::vector<int>{0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 0}));
}

TEST(FeaturesPage, IsSpooledEvenBehindQueuedJobsWithNoPause) {
    test::RecordingSpooler spooler;
    test::ScriptedMessageBox messageBox;
    test::RecordingSleep sleep;
    PrinterServices services{spooler, messageBox, sleep};
    spooler.jobsInQueue = 2;
    fncPrintFeaturesPage(services);
    const std::vector<Bytes> chunks = featuresPageChunks();
    const std::vector<std::string> expected = {"default",
                                               "open Orvel",
                                               "startDoc Varnet Orvel FEATURES",
                                               "startPage",
                                               "write " + std::to_string(chunks[0].size()),
                                               "write " + std::to_string(chunks[1].size()),
                                               "endPage",
                                               "endDoc",
                                               "close"};
    EXPECT_EQ(spooler.calls, expected);
    EXPECT_EQ(spooler.written, chunks);
    EXPECT_TRUE(messageBox.shown.empty());
    EXPECT_TRUE(sleep.pauses.empty());
}

}  // namespace
}  // namespace orvel
