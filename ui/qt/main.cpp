// The utility: the main window on the system's default printer.
#include <QApplication>

#include "printer/commands/Maker.h"
#include "ui/core/windows/frmConfigUtility.h"
#include "ui/qt/desktop/Accessibility.h"
#include "ui/qt/desktop/DesktopSession.h"
#include "ui/qt/loading/BuiltInPictures.h"
#include "ui/qt/loading/ProgramFolder.h"
#include "ui/qt/loading/QtPictureLoader.h"
#include "ui/qt/services/QtMessageBox.h"
#include "ui/qt/services/QtProgramControl.h"
#include "ui/qt/services/QtSleep.h"
#include "ui/qt/windows/ConfigUtilityView.h"

#ifdef _WIN32
#include "printer/win/WinSpooler.h"
#else
#include "ui/core/windows/Confirmations.h"
#include "ui/qt/desktop/PreparingMessageBox.h"
#include "ui/services/SpoolerModule.h"
#endif

int main(int argc, char* argv[]) {
    orvel::DesktopSession session;
    QApplication application(argc, argv);
    session.started();
    QApplication::setApplicationName(QStringLiteral("Printer Configuration Utility"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setOrganizationName(QLatin1String(orvel::maker::kCompanyName));
    QApplication::setWindowIcon(orvel::printerIcon());
    // The program ends only by Exit or by closing the main window, each after its question.
    QApplication::setQuitOnLastWindowClosed(false);
    orvel::installAccessibility();

    const QString programFolder = orvel::ProgramFolder::path();
#ifdef _WIN32
    orvel::WinSpooler spooler;
    orvel::QtMessageBox messageBox;
#else
    // The spooler library is loaded only for the first command, while its question waits for
    // the user, so that the window starts without it.
    orvel::SpoolerModule spooler(
        orvel::ProgramFolder::filePath(programFolder, QStringLiteral("/" ORVEL_SPOOLER_MODULE)));
    orvel::QtMessageBox boxes;
    orvel::PreparingMessageBox messageBox(boxes, orvel::confirmations::kConfirmPrinterReady,
                                          [&spooler] { spooler.load(); });
#endif
    orvel::QtSleep sleep;
    orvel::QtProgramControl program;
    orvel::QtPictureLoader pictures;
    const orvel::WindowServices services{spooler, messageBox, sleep, program,
                                         programFolder.toStdString()};

    orvel::ConfigUtilityView view(pictures);
    orvel::frmConfigUtility window(services, view);
    view.show();
    return QApplication::exec();
}
