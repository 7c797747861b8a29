#include "printer/raster/BitImage.h"

#include <algorithm>
#include <stdexcept>

namespace orvel::raster {
namespace {

constexpr char kEsc = 0x1B;
constexpr char kCarriageReturn = 0x0D;
constexpr char kFormFeed = 0x0C;
constexpr int kBytesPerColumn = kPins / 8;
constexpr int kUnitOf360th = 10;  // ESC ( U m: the unit is m/3600 inch

Bytes twoByteNumber(int value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

}  // namespace

std::size_t lineBytes(const PageFormat& format) {
    if (format.pixels == PixelFormat::Black1)
        return (static_cast<std::size_t>(format.width) + 7) / 8;
    return static_cast<std::size_t>(format.width);
}

Bytes jobStart() {
    return {kEsc, '@'};
}

Bytes pageLength(int lengthIn360ths) {
    if (lengthIn360ths <= 0 || lengthIn360ths > 0xFFFF)
        throw std::invalid_argument("page length out of range");
    Bytes bytes = {kEsc, '(', 'U', 1, 0, kUnitOf360th};
    bytes += Bytes{kEsc, '(', 'C', 2, 0};
    bytes += twoByteNumber(lengthIn360ths);
    return bytes;
}

Ditherer::Ditherer(int width) : width_(width), errorHere_(width + 2, 0), errorNext_(width + 2, 0) {}

std::vector<std::uint8_t> Ditherer::line(const std::uint8_t* darkness) {
    std::vector<std::uint8_t> dots(width_, 0);
    std::fill(errorNext_.begin(), errorNext_.end(), 0);
    const int step = leftToRight_ ? 1 : -1;
    const int first = leftToRight_ ? 0 : width_ - 1;
    for (int i = 0; i < width_; ++i) {
        const int x = first + i * step;
        // The error arrays have one spare cell on each side: index x + 1 is pixel x.
        const int wanted = darkness[x] * 16 + errorHere_[x + 1];
        const int printed = wanted >= 128 * 16 ? 255 * 16 : 0;
        dots[x] = printed ? 1 : 0;
        const int error = (wanted - printed) / 16;
        errorHere_[x + 1 + step] += error * 7;
        errorNext_[x + 1 - step] += error * 3;
        errorNext_[x + 1] += error * 5;
        errorNext_[x + 1 + step] += error * 1;
    }
    std::swap(errorHere_, errorNext_);
    leftToRight_ = !leftToRight_;
    return dots;
}

BitImagePage::BitImagePage(const PageFormat& format)
    : format_(format),
      ditherer_(std::max(format.width, 0)),
      columns_(std::clamp(format.width - std::max(format.firstColumn, 0), 0, kPrintableColumns)),
      band_(static_cast<std::size_t>(columns_) * kBytesPerColumn, 0) {
    if (format.width <= 0 || format.height <= 0 || format.firstColumn < 0)
        throw std::invalid_argument("a page has pixels");
    if (format.lengthIn360ths > 0)
        out_ += pageLength(format.lengthIn360ths);
}

std::vector<std::uint8_t> BitImagePage::dotsOf(const std::uint8_t* line) {
    switch (format_.pixels) {
        case PixelFormat::Black1: {
            std::vector<std::uint8_t> dots(format_.width);
            for (int x = 0; x < format_.width; ++x)
                dots[x] = (line[x / 8] >> (7 - x % 8)) & 1;
            return dots;
        }
        case PixelFormat::Black8:
            return ditherer_.line(line);
        case PixelFormat::Gray8: {
            std::vector<std::uint8_t> darkness(line, line + format_.width);
            for (std::uint8_t& value : darkness)
                value = static_cast<std::uint8_t>(255 - value);
            return ditherer_.line(darkness.data());
        }
    }
    return {};
}

void BitImagePage::addLine(const std::uint8_t* line) {
    if (finished_ || linesSeen_ >= format_.height)
        return;
    ++linesSeen_;
    const std::vector<std::uint8_t> dots = dotsOf(line);
    // Dot row r of the band is bit 7 - r % 8 of byte r / 8 of each column: the top dot is the
    // high bit of the first byte.
    const int row = linesInBand_;
    const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (row % 8));
    for (int x = 0; x < columns_; ++x) {
        if (dots[format_.firstColumn + x])
            band_[static_cast<std::size_t>(x) * kBytesPerColumn + row / 8] |= bit;
    }
    if (++linesInBand_ == kPins)
        flushBand();
}

void BitImagePage::feed(int dots) {
    while (dots > 0) {
        const int step = std::min(dots, kMaxFeed);
        out_ += Bytes{kEsc, 'J', static_cast<char>(step)};
        dots -= step;
    }
}

void BitImagePage::flushBand() {
    // The columns after the last dot are left out: the head need not travel over them.
    int used = columns_;
    while (used > 0 && band_[(used - 1) * kBytesPerColumn] == 0 &&
           band_[(used - 1) * kBytesPerColumn + 1] == 0 &&
           band_[(used - 1) * kBytesPerColumn + 2] == 0)
        --used;
    if (used > 0) {
        feed(pendingFeed_);
        pendingFeed_ = 0;
        out_ += Bytes{kEsc, '*', static_cast<char>(kBitImageMode)};
        out_ += twoByteNumber(used);
        out_.append(reinterpret_cast<const char*>(band_.data()),
                    static_cast<std::size_t>(used) * kBytesPerColumn);
        out_ += kCarriageReturn;
    }
    pendingFeed_ += kPins;
    std::fill(band_.begin(), band_.end(), 0);
    linesInBand_ = 0;
}

Bytes& BitImagePage::finish() {
    if (finished_)
        return out_;
    if (linesInBand_ > 0)
        flushBand();
    // The rest of the page is blank: the form feed takes the paper to the next page.
    out_ += kFormFeed;
    finished_ = true;
    return out_;
}

Bytes encodePage(const PageFormat& format, const std::vector<std::uint8_t>& pixels) {
    const std::size_t stride = lineBytes(format);
    if (pixels.size() < stride * static_cast<std::size_t>(format.height))
        throw std::invalid_argument("fewer pixels than the page holds");
    BitImagePage page(format);
    for (int y = 0; y < format.height; ++y)
        page.addLine(pixels.data() + stride * y);
    return page.finish();
}

}  // namespace orvel::raster
