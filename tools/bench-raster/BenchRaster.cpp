// How many pages a second the bit-image conversion turns out: an A4 sheet and a 12-inch
// fanfold page at 180 dpi, 8-bit grey with text-like black strokes and a grey photograph, as
// the printer application receives them. Prints one line per page kind.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "printer/raster/BitImage.h"

namespace {

std::vector<std::uint8_t> page(int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, 255);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t& pixel = pixels[static_cast<std::size_t>(y) * width + x];
            if (y > height / 2 && y < height / 2 + 600 && x > 100 && x < width - 100)
                pixel = static_cast<std::uint8_t>((x * 3 + y) % 256);  // a grey picture
            else if (y % 30 < 20 && (x * 7 + y * 3) % 11 < 4 && y < height / 2)
                pixel = 0;  // lines of text
        }
    }
    return pixels;
}

void measure(const char* name, int width, int height, int lengthIn360ths) {
    const std::vector<std::uint8_t> pixels = page(width, height);
    const orvel::raster::PageFormat format{width, height, orvel::raster::PixelFormat::Gray8,
                                           lengthIn360ths, 45};
    const int pages = 20;
    std::size_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < pages; ++i)
        bytes += orvel::raster::encodePage(format, pixels).size();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-26s %4d x %4d  %7.1f pages/s  %8zu bytes a page\n", name, width, height,
                pages / seconds, bytes / pages);
}

}  // namespace

int main() {
    measure("A4 (8.27 x 11.69 in)", 1488, 2104, 4209);
    measure("12-inch fanfold (8.5 in)", 1530, 2160, 4320);
    return 0;
}
