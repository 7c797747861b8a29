// Reads the printer's bit-image output back into pixels, as the printer would put dots on paper:
// ESC * 39 prints a band of 24 dot rows, 3 bytes a column with the top dot in the high bit of the
// first byte; ESC J n feeds n/180 inch; CR returns the head; FF ends the page. Written from the
// printer's command language, not from the encoder, so that it can catch the encoder's faults.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvel::testing {

struct DotPage {
    int lengthIn360ths = 0;  // from ESC ( C, 0 when the page set none
    // dots[y][x], 180 dots an inch both ways; as many rows as the lowest dot needs.
    std::vector<std::vector<std::uint8_t>> dots;

    bool dot(int x, int y) const {
        return y < static_cast<int>(dots.size()) && x < static_cast<int>(dots[y].size()) &&
               dots[y][x];
    }
};

struct DotJob {
    std::vector<DotPage> pages;
    bool reset = false;      // began with ESC @
    std::vector<int> feeds;  // every ESC J's n, in order
    std::string error;       // the first byte the decoder could not read, described
};

DotJob decodeDots(const std::string& bytes);

}  // namespace orvel::testing
