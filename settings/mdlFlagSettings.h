// The encoding of the nineteen selections into the printer's FlagSettings block.
#pragma once

#include <vector>

#include "settings/FlagSettings.h"
#include "settings/SettingsTable.h"

namespace orvel {

// One setting's share of one block value: the choice at index c contributes codes[c]. Where
// several settings share a value (the two flag bytes) their contributions occupy separate bits,
// given by mask; a value that one setting fills alone has the mask 0xFF.
struct BlockField {
    Setting setting;
    int valueIndex;
    int mask;
    std::vector<int> codes;
};

// Every contribution of every setting to the block, in the order the encoder applies them.
const std::vector<BlockField>& blockFields();

// Page length numbers in 1/360 inch, one per choice of the page length box. They are the
// printer's fixed numbers, not computed from the choice texts (3.67 inch is 1320, 11.66 is 4197).
const std::vector<int>& pageLengthNumbers();

namespace mdlFlagSettings {

// A new block from the nineteen selections, every box read whatever its enabled state.
FlagSettings fncGetFlagSettings(const Selections& selections);

}  // namespace mdlFlagSettings
}  // namespace orvel
