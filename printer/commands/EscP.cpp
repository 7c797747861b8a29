#include "printer/commands/EscP.h"

#include <stdexcept>

namespace orvel::escp {

const std::vector<ControlSequence>& controlSequences() {
    static const std::vector<ControlSequence> table = {
        {kInitialize, "ESC @", 0},         {kLetterQuality, "ESC x", 1},
        {kTypeface, "ESC k", 1},           {kTenPitch, "ESC P", 0},
        {kDoubleHeight, "ESC w", 1},       {kDoubleWidth, "ESC W", 1},
        {kJustification, "ESC a", 1},      {kBold, "ESC E", 0},
        {kPermanentSettings, "ESC EM", 1},
    };
    return table;
}

Bytes sequence(char command, std::vector<int> parameters) {
    for (const ControlSequence& known : controlSequences()) {
        if (known.command != command)
            continue;
        if (static_cast<int>(parameters.size()) != known.parameterCount) {
            throw std::invalid_argument(std::string(known.mnemonic) + " takes " +
                                        std::to_string(known.parameterCount) + " parameter(s)");
        }
        Bytes bytes = {kEsc, command};
        for (int parameter : parameters) {
            if (parameter < 0 || parameter > 255) {
                throw std::invalid_argument("a parameter is one byte");
            }
            bytes += static_cast<char>(parameter);
        }
        return bytes;
    }
    throw std::invalid_argument("unknown control sequence");
}

}  // namespace orvel::escp
