// The platform services that the windows run on, passed in so that tests can use doubles.
#pragma once

#include <string>

#include "printer/job/Services.h"
#include "printer/job/Spooler.h"
#include "ui/core/services/ProgramControl.h"

namespace orvel {

struct WindowServices {
    Spooler& spooler;
    MessageBoxService& messageBox;
    SleepService& sleep;
    ProgramControl& program;
    // The folder that holds the program file, where the button pictures lie, in the platform's
    // own notation.
    std::string programFolder;
};

}  // namespace orvel
