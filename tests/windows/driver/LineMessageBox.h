// Messages as lines on standard error: each message on one line, after the printer's name.
#pragma once

#include <functional>
#include <string>

#include "printer/Services.h"

namespace orvel::windriver {

class LineMessageBox : public MessageBoxService {
public:
    // printerLabel names the printer at the moment a message is shown.
    explicit LineMessageBox(std::function<std::string()> printerLabel);

    // Writes "PRINTER: " and the message's non-empty lines joined by one blank, and answers the
    // affirmative button: nobody is there to choose.
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                       const std::optional<std::string>& title) override;

    bool anyShown() const { return shown_ > 0; }

    // The text of a message on one line.
    static std::string oneLine(const std::string& text);

private:
    std::function<std::string()> printerLabel_;
    int shown_ = 0;
};

}  // namespace orvel::windriver
