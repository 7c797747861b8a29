// Message boxes that put the time one of them waits for the user to use: while the question is
// up, a preparation runs that the command after it would otherwise start with. It runs in the
// box's own event loop once the box has been painted, so that the box shows as soon as ever, and
// the user's answer is taken once it is done. No thread or timer is involved.
#pragma once

#include <functional>
#include <memory>

#include "printer/job/Messages.h"
#include "printer/job/Services.h"

namespace orvel {

class PreparingMessageBox : public MessageBoxService {
public:
    // Every box is shown by `boxes`; the preparation runs while `question` is up. Made once the
    // application exists and outside its event delivery: it joins the application's filters
    // here, for its whole life.
    PreparingMessageBox(MessageBoxService& boxes, const Message& question,
                        std::function<void()> preparation);
    ~PreparingMessageBox() override;

    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                       const std::optional<std::string>& title) override;

private:
    class FirstPaintWatch;

    MessageBoxService& boxes_;
    std::string questionText_;
    std::unique_ptr<FirstPaintWatch> watch_;
};

}  // namespace orvel
