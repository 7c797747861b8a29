// The system's own message box: MessageBoxA, modal to the window that is shown.
#pragma once

#include "printer/job/Services.h"

namespace orvel::win32 {

class Win32MessageBox : public MessageBoxService {
public:
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                       const std::optional<std::string>& title) override;
};

}  // namespace orvel::win32
