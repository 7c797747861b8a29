#pragma once

#include <QMessageBox>

#include "printer/job/Services.h"

namespace orvel {

// A modal message box with the requested buttons and standard icon. OK is the default of OK and
// Cancel; closing the box, or Escape, answers Cancel or No.
class QtMessageBox : public MessageBoxService {
public:
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                       const std::optional<std::string>& title) override;

    // Sets up a box the way show() presents it, without showing it.
    static void prepare(QMessageBox& box, const std::string& text, MessageButtons buttons,
                        MessageIcon icon, const std::optional<std::string>& title);
    // The answer for the button that ended the box; closing it ends it with its escape button.
    static MessageAnswer answerFor(QMessageBox::StandardButton clicked);
};

}  // namespace orvel
