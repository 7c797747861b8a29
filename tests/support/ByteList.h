// A job's bytes written as the numbers the printer's manual gives them, {0x1B, 0x19, 0x01}.
#pragma once

#include <initializer_list>
#include <string>

namespace orvel::test {

inline std::string bytes(std::initializer_list<int> values) {
    std::string joined;
    for (int value : values)
        joined += static_cast<char>(value);
    return joined;
}

}  // namespace orvel::test
