// Plain text in the printer's own fonts: what the printer receives for a text file.
#include <gtest/gtest.h>

#include "printer/raster/TextPage.h"

namespace orvel {
namespace {

// ESC @, ESC x 1 (letter quality), ESC k 1 (Sans Serif), ESC P (10 characters a inch).
const std::string kStart("\x1b@\x1bx\x01\x1bk\x01\x1bP", 10);

std::string printed(const std::string& text) {
    raster::TextJob job(1, 0);
    std::string out = job.take(text);
    out += job.finish();
    return out;
}

struct TextCase {
    const char* name;
    std::string text;
    std::string body;  // what follows the start of the job
};

class PlainText : public ::testing::TestWithParam<TextCase> {};

TEST_P(PlainText, ReachesThePrinterAsLines) {
    EXPECT_EQ(printed(GetParam().text), kStart + GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PlainText,
    ::testing::Values(TextCase{"UnixLines", "one\ntwo\n", "one\r\ntwo\r\n\x0c"},
                      TextCase{"DosLines", "one\r\ntwo\r\n", "one\r\ntwo\r\n\x0c"},
                      TextCase{"LastLineUnended", "one\ntwo", "one\r\ntwo\r\n\x0c"},
                      TextCase{"EmptyLinesKept", "a\n\n\nb\n", "a\r\n\r\n\r\nb\r\n\x0c"},
                      TextCase{"FormFeedParts", "p1\n\fp2\n", "p1\r\n\x0cp2\r\n\x0c"},
                      TextCase{"EndingFormFeedNotDoubled", "p1\n\f", "p1\r\n\x0c"},
                      TextCase{"Empty", "", ""},
                      // The printer's commands cannot travel inside text.
                      TextCase{"EscapeDropped", "a\x1b@b\x07\n", "a@b\r\n\x0c"},
                      TextCase{"Utf8SequenceIsOneQuestionMark", "caf\xc3\xa9 \xe2\x82\xac\n",
                               "caf? ?\r\n\x0c"},
                      TextCase{"TabsToEightColumns", "a\tb\n", "a       b\r\n\x0c"},
                      TextCase{"LongLineBrokenAtEightyColumns", std::string(85, 'x') + "\n",
                               std::string(80, 'x') + "\r\n" + std::string(5, 'x') + "\r\n\x0c"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlainText, ALineEndSplitBetweenPiecesIsOneLineEnd) {
    raster::TextJob job(1, 0);
    std::string out = job.take("a\r");
    out += job.take("\nb\xc3");
    out += job.take("\xa9\n");
    out += job.finish();
    EXPECT_EQ(out, kStart + "a\r\nb?\r\n\x0c");
}

TEST(PlainText, TheFontAndPageLengthComeFirst) {
    raster::TextJob job(7, 3960);  // ORATOR on 11-inch paper
    const std::string out = job.take("x\n");
    EXPECT_EQ(out.substr(0, 16), std::string("\x1b@\x1bx\x01\x1bk\x07\x1bP\x1b(U\x01\x00\x0a", 16));
    EXPECT_NE(out.find(std::string("\x1b(C\x02\x00\x78\x0f", 7)), std::string::npos);
    EXPECT_THROW(raster::TextJob(9, 0), std::invalid_argument);
}

}  // namespace
}  // namespace orvel
