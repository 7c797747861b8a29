// Saves screenshots of both windows, of the main window while Apply Settings holds the thread
// with its banner up, of a button of each window lit under the pointer, and of the main window
// after ALT shortcuts moved the focus, into the folder given. Runs the real windows on stand-in
// services that print nothing: a spooler that takes every job, a message box that answers OK or
// Yes; the button pictures come from the bitmaps beside the tool.
//
//   orvel_shoot OUTPUT_FOLDER     (under an X server, e.g. xvfb-run)
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QWindow>
#include <cstdio>
#include <functional>

#include <QComboBox>

#include "ui/qt/buttons/PictureControl.h"
#include "ui/qt/loading/ProgramFolder.h"
#include "ui/qt/loading/QtPictureLoader.h"
#include "ui/qt/services/QtSleep.h"
#include "ui/qt/windows/ConfigUtilityView.h"
#include "ui/qt/windows/FeaturesView.h"

namespace {

using namespace orvel;

class AcceptingSpooler : public Spooler {
public:
    std::function<void()> onWrite;

    DefaultPrinter defaultPrinter() override { return {true, "Orvel"}; }
    Handle openPrinter(const std::string&) override { return 1; }
    long queuedJobs(Handle) override { return 0; }
    bool queueStopped(Handle) override { return false; }
    bool startDocument(Handle, const std::string&) override { return true; }
    bool startPage(Handle) override { return true; }
    long writeChunk(Handle, const Bytes& chunk) override {
        if (onWrite)
            onWrite();
        return static_cast<long>(chunk.size());
    }
    bool endPage(Handle) override { return true; }
    bool endDocument(Handle) override { return true; }
    void cancelDocument(Handle) override {}
    void closePrinter(Handle) override {}
};

class AffirmingMessageBox : public MessageBoxService {
public:
    MessageAnswer show(const std::string&, MessageButtons buttons, MessageIcon,
                       const std::optional<std::string>&) override {
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::OK;
    }
};

class NoSleep : public SleepService {
public:
    void sleep(int) override {}
};

class NoEnd : public ProgramControl {
public:
    void endProgram() override {}
};

// Lets the window reach the screen and settle.
void settle(QWidget& window) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 500 ||
           !(window.windowHandle() && window.windowHandle()->isExposed())) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (clock.elapsed() > 5000)
            break;
    }
}

bool save(const QPixmap& shot, const QString& path) {
    const bool saved = shot.save(path);
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    return saved;
}

// What the X server shows in the window's place, taken by another client while this one is
// blocked: the proof that the banner reached the screen before the download.
bool saveScreenArea(QWidget& window, const QString& path) {
    const QString import = QStandardPaths::findExecutable(QStringLiteral("import"));
    if (import.isEmpty())
        return save(window.grab(), path);
    const QRect area(window.mapToGlobal(QPoint(0, 0)), window.size());
    const QString crop = QStringLiteral("%1x%2+%3+%4")
                             .arg(area.width())
                             .arg(area.height())
                             .arg(area.x())
                             .arg(area.y());
    const int status =
        QProcess::execute(import, {QStringLiteral("-window"), QStringLiteral("root"),
                                   QStringLiteral("-crop"), crop, QStringLiteral("+repage"), path});
    std::printf("%s %s\n", status == 0 ? "saved" : "could not save", qPrintable(path));
    return status == 0;
}

// The real pointer over a control, first across the background beside it, as a user moves it.
void pointAt(QWidget& window, QWidget& control) {
    QCursor::setPos(window.mapToGlobal(control.geometry().topLeft() - QPoint(4, 4)));
    settle(window);
    QCursor::setPos(window.mapToGlobal(control.geometry().center()));
    settle(window);
}

// An ALT shortcut as the keyboard sends it to the focused control: ALT held around the letter.
void pressAlt(QWidget& window, Qt::Key letter) {
    const QString text(QChar(static_cast<char16_t>(letter - Qt::Key_A + 'a')));
    QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
    QKeyEvent press(QEvent::KeyPress, letter, Qt::AltModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, letter, Qt::AltModifier, text);
    QApplication::sendEvent(target, &release);
    settle(window);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvel_shoot OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    AcceptingSpooler spooler;
    AffirmingMessageBox messageBox;
    NoSleep sleep;
    NoEnd program;
    QtPictureLoader pictures;
    ConfigUtilityView window(pictures);
    frmConfigUtility core(
        WindowServices{spooler, messageBox, sleep, program, ProgramFolder::path().toStdString()},
        window);
    window.show();
    settle(window);

    bool saved = save(window.grab(), folder.filePath(QStringLiteral("main_window.png")));

    // The focus frame shows only in the active window.
    window.activateWindow();
    settle(window);
    pointAt(window, *window.imgSFeatures);
    saved &= save(window.grab(), folder.filePath(QStringLiteral("main_window_hover.png")));
    pressAlt(window, Qt::Key_P);
    saved &= save(window.grab(), folder.filePath(QStringLiteral("main_window_alt_p.png")));
    pressAlt(window, Qt::Key_O);
    saved &= save(window.grab(), folder.filePath(QStringLiteral("main_window_alt_o.png")));
    // Back to the resting look: the focus where the window opened, the pointer on the background.
    window.cboFont->setFocus();
    QCursor::setPos(
        window.mapToGlobal(window.imgApplySettings->geometry().topLeft() - QPoint(4, 4)));
    settle(window);

    spooler.onWrite = [&] {
        saved &=
            saveScreenArea(window, folder.filePath(QStringLiteral("main_window_applying.png")));
    };
    core.imgApplySettings_MouseUp(1, 0, 0, 0);
    spooler.onWrite = nullptr;

    core.imgSFeatures_MouseUp(1, 0, 0, 0);
    FeaturesView& features = *window.features();
    settle(features);
    saved &= save(features.grab(), folder.filePath(QStringLiteral("features_window.png")));
    pointAt(features, *features.imgClose);
    saved &= save(features.grab(), folder.filePath(QStringLiteral("features_window_hover.png")));
    return saved ? 0 : 1;
}
