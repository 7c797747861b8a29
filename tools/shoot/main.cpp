// Saves screenshots of both windows, and of the main window while Apply Settings holds the
// thread with its banner up, into the folder given. Runs the real windows on stand-in services
// that print nothing: a spooler that takes every job, a message box that answers OK or Yes.
//
//   orvel_shoot OUTPUT_FOLDER     (under an X server, e.g. xvfb-run)
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QWindow>
#include <cstdio>
#include <functional>

#include "ui/ProgramFolder.h"
#include "ui/QtPictureLoader.h"
#include "ui/QtSleep.h"
#include "ui/frmConfigUtility.h"
#include "ui/frmFeatures.h"

namespace {

using namespace orvel;

class AcceptingSpooler : public Spooler {
public:
    std::function<void()> onWrite;

    DefaultPrinter defaultPrinter() override { return {true, "Orvel"}; }
    Handle openPrinter(const std::string&) override { return 1; }
    long queuedJobs(Handle) override { return 0; }
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
    frmConfigUtility window(
        UiServices{spooler, messageBox, sleep, program, pictures, ProgramFolder::path()});
    window.show();
    settle(window);

    bool saved = save(window.grab(), folder.filePath(QStringLiteral("main_window.png")));

    spooler.onWrite = [&] {
        saved &=
            saveScreenArea(window, folder.filePath(QStringLiteral("main_window_applying.png")));
    };
    window.imgApplySettings_MouseUp(1, 0, 0, 0);
    spooler.onWrite = nullptr;

    window.imgSFeatures_MouseUp(1, 0, 0, 0);
    frmFeatures& features = *window.features();
    settle(features);
    saved &= save(features.grab(), folder.filePath(QStringLiteral("features_window.png")));
    return saved ? 0 : 1;
}
