// Platform services that the printer output uses and that the windows provide: the modal
// message box and the blocking pause. Each has one production implementation and one test double.
#pragma once

#include <optional>
#include <string>

namespace orvel {

// The title of every message box but the no-printer message.
inline constexpr char kMessageTitle[] = "Printer Configuration Utility";
// The application's title, shown by a message box that is given no title.
inline constexpr char kApplicationTitle[] = "Varnet Orvel Printer Utility";
// Lines of a message are joined by CR LF.
inline constexpr char kLineBreak[] = "\r\n";

enum class MessageButtons { OK, OKCancel, YesNo };
enum class MessageIcon { Critical, Information, Question };
enum class MessageAnswer { OK, Cancel, Yes, No };

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Modal: returns only when the user has chosen. No title means the application's title.
    // Closing the box answers Cancel for OK/Cancel and No for Yes/No.
    virtual MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                               const std::optional<std::string>& title) = 0;
};

class SleepService {
public:
    virtual ~SleepService() = default;
    // Blocks the calling thread.
    virtual void sleep(int milliseconds) = 0;
};

}  // namespace orvel
