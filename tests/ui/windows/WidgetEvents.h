#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace orvel::test {

// Counts the paint and show events that a widget receives.
class WidgetEvents : public QObject {
public:
    explicit WidgetEvents(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;
    int shows = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

}  // namespace orvel::test
