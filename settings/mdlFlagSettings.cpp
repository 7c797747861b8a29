#include "settings/mdlFlagSettings.h"

#include <stdexcept>

namespace orvel {

namespace {

constexpr int kWholeValue = 0xFF;

std::vector<int> pageLengthBytes(bool highByte) {
    std::vector<int> bytes;
    for (int number : pageLengthNumbers())
        bytes.push_back(highByte ? number / 256 : number % 256);
    return bytes;
}

}  // namespace

const std::vector<int>& pageLengthNumbers() {
    static const std::vector<int> numbers = {1080, 1320, 1440, 1980, 2160, 2520,
                                             2880, 3060, 3960, 4197, 4320, 5040};
    return numbers;
}

const std::vector<BlockField>& blockFields() {
    static const std::vector<BlockField> fields = {
        {Setting::cboFont, 0, kWholeValue, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        // First flag byte.
        {Setting::cboSOP, 1, 0x04, {4, 0}},
        {Setting::cboPrintDir, 1, 0x01, {1, 0}},
        {Setting::cboSlaZero, 1, 0x02, {0, 2}},  // the bit is set for "Normal", not "Slashed"
        {Setting::cboLineSpc, 1, 0x30, {0, 16, 32, 48}},
        {Setting::cboTearOff, 1, 0xC0, {0, 64, 128, 192, 0}},
        {Setting::cboRollPaper, 1, 0x08, {8, 0}},
        // Second flag byte; its bit 7 is never set.
        {Setting::cboStrobeEdge, 2, 0x01, {1, 0}},
        {Setting::cboSpcComp, 2, 0x10, {16, 0}},
        {Setting::cboALF, 2, 0x04, {4, 0}},
        {Setting::cboCharTable, 2, 0x0A, {0, 2, 8}},
        {Setting::cboLanStd, 2, 0x60, {0, 32, 64}},
        // "Disabled" tear-off shares its first-flag-byte bits with "Short Auto"; this value
        // tells the two apart.
        {Setting::cboTearOff, 3, 0x02, {0, 0, 0, 0, 2}},
        // The printer takes the page length high byte first.
        {Setting::cboPageLength, 4, kWholeValue, pageLengthBytes(true)},
        {Setting::cboPageLength, 5, kWholeValue, pageLengthBytes(false)},
        // The line codes do not follow the list order: "Autoshare" is 0, parity "Odd" 3.
        {Setting::cboInterface, 6, kWholeValue, {1, 2, 3, 0}},
        {Setting::cboBaudRate, 7, kWholeValue, {1, 2, 4, 8, 16}},
        {Setting::cboParity, 8, kWholeValue, {1, 3, 2}},
        {Setting::cboFlowCtrl, 9, kWholeValue, {0, 1, 2}},
        {Setting::cboLanguage, 10, kWholeValue, {1, 2, 3, 4, 5, 6, 7, 8}},
        {Setting::cboInputBS, 11, kWholeValue, {0, 1}},
    };
    return fields;
}

namespace mdlFlagSettings {

FlagSettings fncGetFlagSettings(const Selections& selections) {
    FlagSettings block;
    for (const BlockField& field : blockFields()) {
        const int choice = selections[index(field.setting)];
        // Every box holds a choice of its own list once the window is initialised; anything
        // else is a programming error, not a value to send.
        block.values[field.valueIndex] += static_cast<std::int16_t>(field.codes.at(choice));
    }
    return block;
}

}  // namespace mdlFlagSettings
}  // namespace orvel
