#pragma once

namespace orvel {

// Ending the program: at once, every window destroyed, no close handler run.
class ProgramControl {
public:
    virtual ~ProgramControl() = default;
    virtual void endProgram() = 0;
};

}  // namespace orvel
