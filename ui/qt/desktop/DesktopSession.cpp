#include "ui/qt/desktop/DesktopSession.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace orvel {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray file;
    int line;
    QByteArray function;
    QByteArray category;
    QString text;
};

QtMessageHandler g_previousHandler = nullptr;
std::vector<HeldMessage> g_held;

}  // namespace

DesktopSession::DesktopSession() {
    g_previousHandler = qInstallMessageHandler(&DesktopSession::holdOrEnd);
}

DesktopSession::~DesktopSession() {
    started();
}

void DesktopSession::started() {
    if (m_started)
        return;
    m_started = true;
    qInstallMessageHandler(g_previousHandler);
    for (const HeldMessage& held : g_held) {
        const QMessageLogContext context(held.file.constData(), held.line,
                                         held.function.constData(), held.category.constData());
        g_previousHandler(held.type, context, held.text);
    }
    g_held.clear();
}

// Qt's fatal message comes with a half-built application object: nothing of it is run down, and
// _Exit skips the destructors that would touch it.
void DesktopSession::holdOrEnd(QtMsgType type, const QMessageLogContext& context,
                               const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", kNoDisplayLine);
        std::fflush(stderr);
        std::_Exit(1);
    }
    g_held.push_back(
        {type, context.file, context.line, context.function, context.category, message});
}

}  // namespace orvel
