// A program's output as its lines, without their line ends, for comparing line by line.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace orvel::test {

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace orvel::test
