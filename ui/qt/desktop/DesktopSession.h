// Starting the program's windows needs a display. Without one Qt ends the program with an abort
// and a core dump; the program instead says in one line that it needs a desktop session and ends
// with status 1.
#pragma once

#include <QString>
#include <QtGlobal>

namespace orvel {

class DesktopSession {
public:
    // The line printed, on standard error, when no display can be opened.
    static constexpr char kNoDisplayLine[] =
        "varnet-orvel: this program needs a desktop session, and no display could be opened.";

    // From here until started(), a fatal message (Qt's way of failing to open a display) prints
    // the line and ends the program with status 1; Qt's other messages are held back meanwhile.
    DesktopSession();
    // The application object has its display: the held messages go out as Qt would have given
    // them, and every later message goes out as usual.
    void started();
    ~DesktopSession();

    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

private:
    static void holdOrEnd(QtMsgType type, const QMessageLogContext& context,
                          const QString& message);

    bool m_started = false;
};

}  // namespace orvel
