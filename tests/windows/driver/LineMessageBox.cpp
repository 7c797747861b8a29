#include "LineMessageBox.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace orvel::windriver {

LineMessageBox::LineMessageBox(std::function<std::string()> printerLabel)
    : printerLabel_(std::move(printerLabel)) {}

MessageAnswer LineMessageBox::show(const std::string& text, MessageButtons buttons,
                                   MessageIcon /*icon*/,
                                   const std::optional<std::string>& /*title*/) {
    ++shown_;
    const std::string line = printerLabel_() + ": " + oneLine(text) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::OK;
}

std::string LineMessageBox::oneLine(const std::string& text) {
    std::string joined;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(kLineBreak, start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        if (!line.empty())
            joined += (joined.empty() ? "" : " ") + line;
        start = end + std::strlen(kLineBreak);
    }
    return joined;
}

}  // namespace orvel::windriver
