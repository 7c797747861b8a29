// Message boxes that put the time one of them waits for the user to use: while the question is
// up, a preparation runs that the command after it would otherwise start with. It runs in the
// box's own event loop once the box has been painted, so that the box shows as soon as ever, and
// the user's answer is taken once it is done. No thread or timer is involved.
#pragma once

#include <functional>

#include "printer/job/Messages.h"
#include "printer/job/Services.h"

namespace orvel {

class PreparingMessageBox : public MessageBoxService {
public:
    // Every box is shown by `boxes`; the preparation runs while `question` is up.
    PreparingMessageBox(MessageBoxService& boxes, const Message& question,
                        std::function<void()> preparation);

    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                       const std::optional<std::string>& title) override;

private:
    MessageBoxService& boxes_;
    std::string questionText_;
    std::function<void()> preparation_;
};

}  // namespace orvel
