// The platform services that the windows run on, passed in so that tests can use doubles.
#pragma once

#include <QString>

#include "printer/job/RawJob.h"
#include "printer/job/Services.h"
#include "printer/job/Spooler.h"
#include "ui/loading/PictureLoader.h"
#include "ui/core/services/ProgramControl.h"

namespace orvel {

struct UiServices {
    Spooler& spooler;
    MessageBoxService& messageBox;
    SleepService& sleep;
    ProgramControl& program;
    // The button pictures are read through this at every swap.
    PictureLoader& pictures;
    // The folder that holds the program file, where the button pictures lie.
    QString programFolder;
};

}  // namespace orvel
