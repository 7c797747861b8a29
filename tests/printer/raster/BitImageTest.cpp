// Pages of pixels through the bit-image encoder and back through the test's own reading of the
// printer's commands: black-and-white pages come back dot for dot, greys keep their darkness.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "EscPPixels.h"
#include "printer/raster/BitImage.h"

namespace orvel {
namespace {

using raster::PageFormat;
using raster::PixelFormat;
using testing::decodeDots;
using testing::DotJob;

// 180 dots an inch; 8 inches reach the paper.
constexpr int kPrintable = 1440;
constexpr int kBand = 24;

using Picture = std::function<bool(int x, int y)>;

std::vector<std::uint8_t> oneBitLines(int width, int height, const Picture& black) {
    const int stride = (width + 7) / 8;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (black(x, y))
                pixels[y * stride + x / 8] |= 0x80 >> (x % 8);
    return pixels;
}

struct BlackAndWhiteCase {
    const char* name;
    int width, height;
    Picture black;
};

class BlackAndWhitePages : public ::testing::TestWithParam<BlackAndWhiteCase> {};

TEST_P(BlackAndWhitePages, EveryDotWhereThePictureIsBlack) {
    const BlackAndWhiteCase& c = GetParam();
    const PageFormat format{c.width, c.height, PixelFormat::Black1, 0};
    const DotJob job =
        decodeDots(raster::encodePage(format, oneBitLines(c.width, c.height, c.black)));
    ASSERT_EQ(job.error, "");
    ASSERT_EQ(job.pages.size(), 1u);
    const testing::DotPage& page = job.pages[0];
    int wrong = 0;
    for (int y = 0; y < c.height + kBand; ++y)
        for (int x = 0; x < std::max(c.width, kPrintable) + 8; ++x) {
            const bool expected = x < kPrintable && x < c.width && y < c.height && c.black(x, y);
            if (page.dot(x, y) != expected && ++wrong <= 5)
                ADD_FAILURE() << "dot at x " << x << " y " << y << " should be "
                              << (expected ? "black" : "white");
        }
    EXPECT_EQ(wrong, 0);
}

bool noise(int x, int y) {
    return std::minstd_rand(static_cast<unsigned>(x * 7919 + y * 104729 + 1))() % 3 == 0;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, BlackAndWhitePages,
    ::testing::Values(
        BlackAndWhiteCase{"Checkerboard", 100, 48, [](int x, int y) { return (x + y) % 2 == 0; }},
        // The rows on either side of each band edge, and the first and last column.
        BlackAndWhiteCase{"BandEdges", 300, 72,
                          [](int x, int y) {
                              return y % kBand == 0 || y % kBand == kBand - 1 || x == 0 || x == 299;
                          }},
        // 50 lines: two full bands and 2 lines of a third.
        BlackAndWhiteCase{"PartialLastBand", 200, 50, noise},
        BlackAndWhiteCase{"OnlyTheLastLine", 64, 49, [](int, int y) { return y == 48; }},
        // Fifteen blank bands between two printed ones: more feed than one ESC J can give.
        BlackAndWhiteCase{"BlankBands", 120, 17 * kBand,
                          [](int x, int y) { return (y < kBand || y >= 16 * kBand) && x % 3; }},
        // Wider than the 8 inches: what lies right of them never reaches the paper.
        BlackAndWhiteCase{"WiderThanPrintable", 1600, 30,
                          [](int x, int y) { return x >= 1400 || y == 5; }},
        BlackAndWhiteCase{"FullWidthNoise", kPrintable, 60, noise},
        BlackAndWhiteCase{"OddWidth", 13, 25, [](int x, int y) { return x == 12 || y == 24; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BitImage, TheLeftMarginIsLeftOut) {
    // A sheet 1530 dots wide whose first 45 lie left of the head: the head's first dot prints
    // pixel 45, and 8 inches later the line ends.
    const int width = 1530, height = 24, margin = 45;
    const Picture black = [](int x, int y) { return x == 45 || x == 46 + y || x >= 1484; };
    const DotJob job = decodeDots(raster::encodePage(
        {width, height, PixelFormat::Black1, 0, margin}, oneBitLines(width, height, black)));
    ASSERT_EQ(job.error, "");
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < kPrintable + 50; ++x)
            ASSERT_EQ(job.pages[0].dot(x, y), x < kPrintable && black(x + margin, y))
                << x << "," << y;
}

TEST(BitImage, BlankBandsAreFedNotPrinted) {
    const int height = 17 * kBand;
    const PageFormat format{120, height, PixelFormat::Black1, 0};
    const DotJob job = decodeDots(raster::encodePage(
        format, oneBitLines(120, height, [](int, int y) { return y < kBand || y >= 16 * kBand; })));
    ASSERT_EQ(job.error, "");
    // One band printed, then the paper fed by 24 dots for it and 360 for the fifteen blank ones,
    // each ESC J at most 255, then the last band.
    int fed = 0;
    for (int n : job.feeds) {
        EXPECT_LE(n, 255);
        fed += n;
    }
    EXPECT_EQ(fed, 16 * kBand);
}

TEST(BitImage, ABlankPageIsAFormFeedAlone) {
    const PageFormat format{500, 200, PixelFormat::Black1, 3960};
    const std::string bytes =
        raster::encodePage(format, oneBitLines(500, 200, [](int, int) { return false; }));
    EXPECT_EQ(bytes.find("\x1b*"), std::string::npos);
    EXPECT_EQ(bytes.back(), '\x0c');
    const DotJob job = decodeDots(bytes);
    ASSERT_EQ(job.error, "");
    EXPECT_EQ(job.pages.at(0).lengthIn360ths, 3960);
}

TEST(BitImage, PageLengthInThreeHundredSixtiethsLowByteFirst) {
    // ESC ( U 1 0 10 makes the unit 10/3600 inch; ESC ( C 2 0 nL nH the length, 12 inches.
    EXPECT_EQ(raster::pageLength(4320),
              std::string("\x1b(U\x01\x00\x0a\x1b(C\x02\x00\xe0\x10", 13));
}

TEST(BitImage, TheTopDotIsTheHighBitOfTheFirstByte) {
    // One column, one dot on the band's top row: ESC * 39, one column, 0x80 0x00 0x00.
    const PageFormat format{1, 1, PixelFormat::Black1, 0};
    const std::string bytes = raster::encodePage(format, {0x80});
    EXPECT_EQ(bytes, std::string("\x1b*\x27\x01\x00\x80\x00\x00\r\x0c", 10));
}

TEST(BitImage, EightBitBlackAndWhiteIsExact) {
    const int width = 90, height = 40;
    for (PixelFormat format : {PixelFormat::Black8, PixelFormat::Gray8}) {
        const std::uint8_t black = format == PixelFormat::Black8 ? 255 : 0;
        std::vector<std::uint8_t> pixels(width * height, static_cast<std::uint8_t>(255 - black));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (noise(x, y))
                    pixels[y * width + x] = black;
        const DotJob job = decodeDots(raster::encodePage({width, height, format, 0}, pixels));
        ASSERT_EQ(job.error, "");
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(job.pages[0].dot(x, y), noise(x, y)) << x << "," << y;
    }
}

double darkness(const testing::DotPage& page, int x0, int x1, int y0, int y1) {
    int dots = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            dots += page.dot(x, y);
    return double(dots) / ((x1 - x0) * (y1 - y0));
}

TEST(BitImage, AGreyRampKeepsItsDarknessEverywhere) {
    // Left white to right black in sgray; each strip of 40 columns prints as dark as its grey.
    const int width = 400, height = 5 * kBand;
    std::vector<std::uint8_t> pixels(width * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[y * width + x] = static_cast<std::uint8_t>(255 - x * 255 / (width - 1));
    const DotJob job =
        decodeDots(raster::encodePage({width, height, PixelFormat::Gray8, 0}, pixels));
    ASSERT_EQ(job.error, "");
    for (int strip = 0; strip < 10; ++strip) {
        double wanted = 0;
        for (int x = strip * 40; x < strip * 40 + 40; ++x)
            wanted += (x * 255 / (width - 1)) / 255.0;
        wanted /= 40;
        EXPECT_NEAR(darkness(job.pages[0], strip * 40, strip * 40 + 40, 0, height), wanted, 0.04)
            << "strip " << strip;
    }
    // Pure white stays white, pure black all black.
    EXPECT_FALSE(job.pages[0].dot(0, 10));
    EXPECT_TRUE(job.pages[0].dot(width - 1, 10));
}

TEST(BitImage, FlatGreyHasNoBands) {
    // Half grey: every band of the head, its upper and its lower half, close to half dark.
    const int width = 240, height = 4 * kBand;
    const std::vector<std::uint8_t> pixels(width * height, 128);
    const DotJob job =
        decodeDots(raster::encodePage({width, height, PixelFormat::Black8, 0}, pixels));
    ASSERT_EQ(job.error, "");
    for (int y = 0; y < height; y += kBand / 2)
        EXPECT_NEAR(darkness(job.pages[0], 0, width, y, y + kBand / 2), 0.5, 0.02) << "row " << y;
}

TEST(BitImage, LinesGivenOneByOneMatchTheWholePage) {
    const int width = 77, height = 53;
    const std::vector<std::uint8_t> pixels = oneBitLines(width, height, noise);
    const PageFormat format{width, height, PixelFormat::Black1, 2160};
    raster::BitImagePage page(format);
    std::string streamed;
    for (int y = 0; y < height; ++y) {
        page.addLine(pixels.data() + y * 10);
        streamed += page.output();
        page.output().clear();
    }
    streamed += page.finish();
    EXPECT_EQ(streamed, raster::encodePage(format, pixels));
}

TEST(BitImage, APageCutShortStillEndsWithAFormFeed) {
    raster::BitImagePage page({16, 100, PixelFormat::Black1, 0});
    const std::uint8_t line[2] = {0xFF, 0xFF};
    page.addLine(line);
    const DotJob job = decodeDots(page.finish());
    ASSERT_EQ(job.error, "");
    ASSERT_EQ(job.pages.size(), 1u);
    EXPECT_TRUE(job.pages[0].dot(15, 0));
    EXPECT_FALSE(job.pages[0].dot(0, 1));
}

}  // namespace
}  // namespace orvel
