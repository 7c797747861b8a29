#include "cli/fleet/PrinterMessageSink.h"

#include <utility>

namespace orvel::cli {

PrinterMessageSink::PrinterMessageSink(Console& console, std::function<std::string()> printerName)
    : console_(console), printerName_(std::move(printerName)) {}

MessageAnswer PrinterMessageSink::show(const std::string& text, MessageButtons buttons,
                                       MessageIcon /*icon*/,
                                       const std::optional<std::string>& /*title*/) {
    console_.message(printerName_() + ": " + oneLine(text));
    if (!heard_) {
        heard_ = resultToldBy(text).value_or(PrinterResult::Failed);
        heardLines_ = lines(text);
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::OK;
}

std::vector<std::string> PrinterMessageSink::lines(const std::string& text) {
    std::vector<std::string> all;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(kLineBreak, start);
        if (end == std::string::npos)
            end = text.size();
        all.push_back(text.substr(start, end - start));
        start = end + std::char_traits<char>::length(kLineBreak);
    }
    return all;
}

std::string PrinterMessageSink::oneLine(const std::string& text) {
    std::string joined;
    for (const std::string& line : lines(text)) {
        if (!line.empty())
            joined += (joined.empty() ? "" : " ") + line;
    }
    return joined;
}

}  // namespace orvel::cli
