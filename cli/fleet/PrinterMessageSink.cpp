#include "cli/fleet/PrinterMessageSink.h"

#include <utility>

namespace orvel::cli {

PrinterMessageSink::PrinterMessageSink(Console& console, std::function<std::string()> printerName)
    : console_(console), printerName_(std::move(printerName)) {}

MessageAnswer PrinterMessageSink::show(const std::string& text, MessageButtons buttons,
                                       MessageIcon /*icon*/,
                                       const std::optional<std::string>& /*title*/) {
    console_.message(printerName_() + ": " + oneLine(text));
    if (!heard_)
        heard_ = resultToldBy(text).value_or(PrinterResult::Failed);
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::OK;
}

std::string PrinterMessageSink::oneLine(const std::string& text) {
    std::string joined;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(kLineBreak, start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        if (!line.empty())
            joined += (joined.empty() ? "" : " ") + line;
        start = end + std::char_traits<char>::length(kLineBreak);
    }
    return joined;
}

}  // namespace orvel::cli
