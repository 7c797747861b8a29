#include "ui/win32/services/Win32MessageBox.h"

#include <windows.h>

#include "ui/win32/services/Win32Sleep.h"

namespace orvel::win32 {

namespace {

UINT buttonsOf(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OKCancel:
            return MB_OKCANCEL;
        case MessageButtons::YesNo:
            return MB_YESNO;
        case MessageButtons::OK:
            break;
    }
    return MB_OK;
}

UINT iconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::Question:
            return MB_ICONQUESTION;
        case MessageIcon::Critical:
            break;
    }
    return MB_ICONSTOP;
}

MessageAnswer answerOf(int chosen, MessageButtons buttons) {
    switch (chosen) {
        case IDOK:
            return MessageAnswer::OK;
        case IDYES:
            return MessageAnswer::Yes;
        case IDNO:
            return MessageAnswer::No;
        default:
            // Escape or the box's close button.
            return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    }
}

// The window the box belongs to: the program's visible, enabled top-level window, so that the
// box is modal to it and comes up in front of it.
HWND ownerWindow() {
    HWND active = GetActiveWindow();
    if (active != nullptr && IsWindowVisible(active))
        return active;
    return nullptr;
}

}  // namespace

MessageAnswer Win32MessageBox::show(const std::string& text, MessageButtons buttons,
                                    MessageIcon icon, const std::optional<std::string>& title) {
    const std::string caption = title.value_or(kApplicationTitle);
    if (inputHeld())
        discardQueuedInput();
    // The text's lines are joined by CR LF already, as the box shows them.
    const int chosen = MessageBoxA(ownerWindow(), text.c_str(), caption.c_str(),
                                   buttonsOf(buttons) | iconOf(icon) | MB_SETFOREGROUND);
    return answerOf(chosen, buttons);
}

}  // namespace orvel::win32
