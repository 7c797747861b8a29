// The utility on Windows: the main window on the system's default printer.
#include <windows.h>

#include "printer/win/WinSpooler.h"
#include "ui/core/windows/frmConfigUtility.h"
#include "ui/win32/services/ProgramFolder.h"
#include "ui/win32/services/Win32MessageBox.h"
#include "ui/win32/services/Win32ProgramControl.h"
#include "ui/win32/services/Win32Sleep.h"
#include "ui/win32/windows/KeyPreview.h"
#include "ui/win32/windows/Win32MainView.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    orvel::WinSpooler spooler;
    orvel::win32::Win32MessageBox messageBox;
    orvel::win32::Win32Sleep sleep;
    orvel::win32::Win32ProgramControl program;
    const orvel::WindowServices services{spooler, messageBox, sleep, program,
                                         orvel::win32::programFolder()};
    orvel::win32::Win32MainView view;
    orvel::frmConfigUtility window(services, view);
    window.Show();
    return orvel::win32::runMessageLoop();
}
