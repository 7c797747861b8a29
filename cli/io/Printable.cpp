#include "cli/io/Printable.h"

namespace orvel::cli {

std::string printable(const std::string& text) {
    std::string shown = text;
    for (char& c : shown) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = '?';
    }
    return shown;
}

}  // namespace orvel::cli
