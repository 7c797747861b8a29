// Test doubles of the message box, the pause and the end of the program.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "printer/job/Services.h"
#include "ui/core/services/ProgramControl.h"

namespace orvel::test {

struct ShownMessage {
    std::string text;
    MessageButtons buttons;
    MessageIcon icon;
    std::optional<std::string> title;
};

// Records every message and answers from a script; with the script empty it answers the
// affirmative button (OK or Yes).
class ScriptedMessageBox : public MessageBoxService {
public:
    std::vector<ShownMessage> shown;
    std::deque<MessageAnswer> answers;
    // Run when a message is shown, before it is answered.
    std::function<void(const ShownMessage&)> onShow;

    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                       const std::optional<std::string>& title) override {
        shown.push_back({text, buttons, icon, title});
        if (onShow)
            onShow(shown.back());
        if (!answers.empty()) {
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::OK;
    }
};

// Records the pauses instead of taking them.
class RecordingSleep : public SleepService {
public:
    std::vector<int> pauses;
    std::function<void(int)> onSleep;

    void sleep(int milliseconds) override {
        pauses.push_back(milliseconds);
        if (onSleep)
            onSleep(milliseconds);
    }
};

// Records the ends of the program instead of ending it.
class RecordingProgramControl : public ProgramControl {
public:
    int endings = 0;
    void endProgram() override { ++endings; }
};

}  // namespace orvel::test
