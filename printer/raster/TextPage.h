// Plain text printed in the printer's own fonts: letter quality, the chosen typeface at 10
// characters a inch, every line ended by CR LF, pages parted by form feed.
//
// Text is data, never commands: control characters other than tab and form feed are dropped, so
// that a text file cannot reach the printer's command language, and every character beyond 7-bit
// text (a UTF-8 sequence counts as one) prints as '?'. Lines longer than the 80 columns of the
// printable width are broken, so that the printer's own wrapping does not decide.
#pragma once

#include <string>

namespace orvel::raster {

constexpr int kTextColumns = 80;

// Converts text piece by piece; a line end or a UTF-8 sequence may be split between pieces.
class TextJob {
public:
    // typeface: ESC k n, 0 to 8, the numbers of the font setting's choices. lengthIn360ths as
    // for a page of pixels (0 leaves the printer's own).
    TextJob(int typeface, int lengthIn360ths);

    std::string take(const std::string& text);
    // The last bytes: an unfinished line ended, a form feed unless the text just gave one.
    std::string finish();

private:
    void character(unsigned char c, std::string& out);
    void endLine(std::string& out);

    std::string start_;
    bool started_ = false;
    int column_ = 0;
    bool lastWasCarriageReturn_ = false;
    bool atPageStart_ = true;
    int continuationBytes_ = 0;  // still to come of a UTF-8 sequence
};

}  // namespace orvel::raster
