// The pause after a sent download, and what the windows do about input given while a command
// holds the thread.
#pragma once

#include "printer/job/Services.h"

namespace orvel::win32 {

// Blocks the thread for the time given, repainting the windows meanwhile (so that the banner
// stays on screen over a window that was covered and uncovered) but taking no input: the clicks
// and keys given during the pause are dropped afterwards.
class Win32Sleep : public SleepService {
public:
    void sleep(int milliseconds) override;
};

// Takes every key and mouse message waiting in the thread's queue off it, unseen: input given
// while a command held the thread must not act once the command is over. Other messages
// (painting, messages sent by other programs) are handled as usual.
void discardQueuedInput();

// Whether a command holds the thread: a message box shown then drops the input given before it
// appeared, so that a key pressed during the spooler calls does not answer it.
void setInputHeld(bool held);
bool inputHeld();

}  // namespace orvel::win32
