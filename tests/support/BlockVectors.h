// Known selections and the block the printer must receive for them, written out by hand from the
// printer's layout. The encoder must produce them and the decoder must read them back.
#pragma once

#include <array>
#include <map>
#include <ostream>
#include <vector>

#include "settings/SettingsTable.h"

namespace orvel::test {

struct BlockVector {
    const char* name;
    std::map<Setting, int> changes;  // from the defaults
    std::array<int, 12> values;
};

inline void PrintTo(const BlockVector& v, std::ostream* os) {
    *os << v.name;
}

inline constexpr std::array<int, 12> kDefaultBlock = {1, 16, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1};

inline const std::vector<BlockVector>& blockVectors() {
    using S = Setting;
    static const std::vector<BlockVector> vectors = {
        {"Defaults", {}, kDefaultBlock},
        {"Export", {{S::cboPageLength, 8}}, {1, 16, 2, 0, 15, 120, 0, 8, 2, 1, 1, 1}},
        {"FirstFlagByteFull",
         {{S::cboPrintDir, 0},
          {S::cboSlaZero, 1},
          {S::cboSOP, 0},
          {S::cboRollPaper, 0},
          {S::cboLineSpc, 3},
          {S::cboTearOff, 3}},
         {1, 255, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1}},
        {"SecondFlagByteFull",
         {{S::cboStrobeEdge, 0},
          {S::cboCharTable, 2},
          {S::cboALF, 0},
          {S::cboSpcComp, 0},
          {S::cboLanStd, 2}},
         {1, 16, 93, 0, 16, 224, 0, 8, 2, 1, 1, 1}},
        {"TearOffDisabledDiffersFromShortAutoOnlyInValue3",
         {{S::cboTearOff, 4}},
         {1, 16, 2, 2, 16, 224, 0, 8, 2, 1, 1, 1}},
        {"ParallelKeepsTheSerialCodes",
         {{S::cboInterface, 0}},
         {1, 16, 2, 0, 16, 224, 1, 8, 2, 1, 1, 1}},
        {"LineCodesOutOfListOrder",
         {{S::cboInterface, 2}, {S::cboBaudRate, 0}, {S::cboParity, 1}, {S::cboFlowCtrl, 0}},
         {1, 16, 2, 0, 16, 224, 3, 1, 3, 0, 1, 1}},
        {"ElevenPointSixSixInch",
         {{S::cboPageLength, 9}},
         {1, 16, 2, 0, 16, 101, 0, 8, 2, 1, 1, 1}},
        {"ThreePointSixSevenInch", {{S::cboPageLength, 1}}, {1, 16, 2, 0, 5, 40, 0, 8, 2, 1, 1, 1}},
        {"PunjabiAnd32K",
         {{S::cboLanguage, 7}, {S::cboInputBS, 0}, {S::cboFont, 8}},
         {8, 16, 2, 0, 16, 224, 0, 8, 2, 1, 8, 0}},
    };
    return vectors;
}

}  // namespace orvel::test
