#include "printer/raster/TextPage.h"

#include <stdexcept>

#include "printer/raster/BitImage.h"

namespace orvel::raster {
namespace {

constexpr char kEsc = 0x1B;
constexpr unsigned char kTab = 0x09;
constexpr unsigned char kLineFeed = 0x0A;
constexpr unsigned char kFormFeed = 0x0C;
constexpr unsigned char kCarriageReturn = 0x0D;
constexpr int kTabWidth = 8;

}  // namespace

TextJob::TextJob(int typeface, int lengthIn360ths) {
    if (typeface < 0 || typeface > 8)
        throw std::invalid_argument("typeface out of range");
    start_ = jobStart();
    start_ += std::string{kEsc, 'x', 1};                            // letter quality
    start_ += std::string{kEsc, 'k', static_cast<char>(typeface)};  // the typeface
    start_ += std::string{kEsc, 'P'};                               // 10 characters a inch
    if (lengthIn360ths > 0)
        start_ += pageLength(lengthIn360ths);
}

void TextJob::endLine(std::string& out) {
    out += "\r\n";
    column_ = 0;
    atPageStart_ = false;
}

void TextJob::character(unsigned char c, std::string& out) {
    // A CR LF pair, a lone LF and a lone CR all end one line.
    if (c == kLineFeed && lastWasCarriageReturn_) {
        lastWasCarriageReturn_ = false;
        return;
    }
    lastWasCarriageReturn_ = c == kCarriageReturn;
    if (c == kLineFeed || c == kCarriageReturn) {
        endLine(out);
        return;
    }
    if (c == kFormFeed) {
        if (column_ > 0)
            out += "\r";
        out += static_cast<char>(kFormFeed);
        column_ = 0;
        atPageStart_ = true;
        return;
    }
    if (c == kTab) {
        const int spaces = kTabWidth - column_ % kTabWidth;
        if (column_ + spaces > kTextColumns) {
            endLine(out);
            return;
        }
        out.append(spaces, ' ');
        column_ += spaces;
        atPageStart_ = false;
        return;
    }
    if (c < 0x20 || c == 0x7F)
        return;
    if (column_ == kTextColumns)
        endLine(out);
    out += static_cast<char>(c);
    ++column_;
    atPageStart_ = false;
}

std::string TextJob::take(const std::string& text) {
    std::string out;
    if (!started_) {
        out = start_;
        started_ = true;
    }
    for (unsigned char c : text) {
        if (continuationBytes_ > 0 && (c & 0xC0) == 0x80) {
            --continuationBytes_;
            continue;
        }
        continuationBytes_ = 0;
        if (c >= 0x80) {
            // One '?' for the whole sequence: its lead byte tells how many bytes follow.
            continuationBytes_ = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
            character('?', out);
            continue;
        }
        character(c, out);
    }
    return out;
}

std::string TextJob::finish() {
    std::string out = started_ ? std::string() : start_;
    started_ = true;
    if (column_ > 0)
        endLine(out);
    if (!atPageStart_)
        out += static_cast<char>(kFormFeed);
    return out;
}

}  // namespace orvel::raster
