// While a command holds the user-interface thread (the spooler calls, the pause after a sent
// download), the user's clicks, keys and close requests to the windows are dropped: once the
// command is over none of them acts. Qt alone would queue them and deliver them afterwards, when
// the window looks idle again, so that a click given during the pause ran a second command.
// Message boxes that the command shows are windows of their own and take their answer as usual.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <initializer_list>
#include <vector>

namespace orvel {

class CommandInputBlock : public QObject {
public:
    // Drops the input to these windows from now on; a window not yet shown takes none anyway.
    explicit CommandInputBlock(std::initializer_list<QWidget*> windows);
    // Input given meanwhile may still wait in Qt's queues or be on its way from the window
    // system: it is all fetched and dropped here, before the windows take input again.
    ~CommandInputBlock() override;

    CommandInputBlock(const CommandInputBlock&) = delete;
    CommandInputBlock& operator=(const CommandInputBlock&) = delete;

    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    std::vector<QPointer<QWindow>> m_windows;
};

}  // namespace orvel
