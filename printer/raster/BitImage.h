// Pages of pixels printed as the printer's 24-pin bit-image graphics: 180 x 180 dots per inch,
// 24 dot rows a band (ESC * 39, three bytes a column, the top dot in the high bit of the first
// byte), blank bands skipped by paper feed alone (ESC J), at most 8 inches of dots a line.
//
// Plain C++ over byte strings: the printer application feeds it the lines that it gets from its
// framework, and the tests feed it pictures of their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvel::raster {

using Bytes = std::string;

constexpr int kDotsPerInch = 180;
constexpr int kPins = 24;                            // dot rows in one pass of the head
constexpr int kPrintableColumns = 8 * kDotsPerInch;  // 8 inches of dots
constexpr int kBitImageMode = 39;                    // ESC * 39: 180 dpi, 24 pins
constexpr int kMaxFeed = 255;                        // ESC J n takes one byte, n/180 inch

// How the lines that are handed over hold their pixels.
enum class PixelFormat {
    Black1,  // one bit a pixel, high bit first, 1 is black (PWG black_1)
    Black8,  // one byte a pixel, 255 is black (PWG black_8)
    Gray8,   // one byte a pixel, 0 is black (PWG sgray_8, Apple raster sgray)
};

struct PageFormat {
    int width = 0;   // pixels in a line
    int height = 0;  // lines on the page
    PixelFormat pixels = PixelFormat::Black1;
    // The page's length in 1/360 inch, sent before the page; 0 leaves the printer's own.
    int lengthIn360ths = 0;
    // Pixels at the left of each line that lie left of the head's first dot (the paper's left
    // margin in a picture of the whole sheet); the head's first dot prints this pixel.
    int firstColumn = 0;
};

// Bytes that one line of the given format holds.
std::size_t lineBytes(const PageFormat& format);

// ESC @: the printer back to its defaults, sent once at the start of a job.
Bytes jobStart();
// ESC ( U and ESC ( C: the unit of 1/360 inch, then the page length in that unit.
Bytes pageLength(int lengthIn360ths);

// Grey to black and white by error diffusion (Floyd and Steinberg, serpentine), one line at a
// time, so that a ramp keeps its average darkness and flat greys show no pattern of bands.
class Ditherer {
public:
    explicit Ditherer(int width);
    // darkness: one byte a pixel, 0 white to 255 black. Returns one flag a pixel, 1 for a dot.
    std::vector<std::uint8_t> line(const std::uint8_t* darkness);

private:
    int width_;
    bool leftToRight_ = true;
    std::vector<int> errorHere_;  // carried into the line being dithered, 1/16 units
    std::vector<int> errorNext_;
};

// One page, line by line. The output grows as bands fill; finish() ends the page with a form
// feed. Lines past the page's height are ignored; a page cut short is finished with blank lines.
class BitImagePage {
public:
    explicit BitImagePage(const PageFormat& format);

    // One line in the page's format, lineBytes(format) long.
    void addLine(const std::uint8_t* line);
    // The page's last bytes; the page takes no more lines afterwards.
    Bytes& finish();
    // What is ready so far; the caller may take it and clear it.
    Bytes& output() { return out_; }

private:
    std::vector<std::uint8_t> dotsOf(const std::uint8_t* line);
    void flushBand();
    void feed(int dots);

    PageFormat format_;
    Ditherer ditherer_;
    int columns_;                     // dots a line that reach the paper
    std::vector<std::uint8_t> band_;  // 3 bytes a column, as the head takes them
    int linesInBand_ = 0;
    int linesSeen_ = 0;
    int pendingFeed_ = 0;  // dots of paper to feed before the next band
    bool finished_ = false;
    Bytes out_;
};

// A whole page at once: every line, then the form feed.
Bytes encodePage(const PageFormat& format, const std::vector<std::uint8_t>& pixels);

}  // namespace orvel::raster
