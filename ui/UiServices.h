// The platform services that the windows run on, passed in so that tests can use doubles.
#pragma once

#include "printer/RawJob.h"
#include "printer/Services.h"
#include "printer/Spooler.h"
#include "ui/ProgramControl.h"

namespace orvel {

struct UiServices {
    Spooler& spooler;
    MessageBoxService& messageBox;
    SleepService& sleep;
    ProgramControl& program;
};

}  // namespace orvel
