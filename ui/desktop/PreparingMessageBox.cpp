#include "ui/desktop/PreparingMessageBox.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

namespace orvel {

namespace {

// Watches the application's events, while it lives, for the first painting of the modal box.
class FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(std::function<void()> preparation)
        : preparation_(std::move(preparation)) {
        qApp->installEventFilter(this);
    }
    ~FirstPaintWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (posted_ || event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        // The box is the modal window that its loop serves.
        const QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr || static_cast<QWidget*>(watched)->window() != box)
            return false;
        posted_ = true;
        // Posted, so that it runs once the paint is done and on the screen; delivered to this
        // watch, so that it is dropped if the box is gone before its loop comes to it.
        QMetaObject::invokeMethod(this, preparation_, Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void()> preparation_;
    bool posted_ = false;
};

}  // namespace

PreparingMessageBox::PreparingMessageBox(MessageBoxService& boxes, const Message& question,
                                         std::function<void()> preparation)
    : boxes_(boxes), questionText_(question.text()), preparation_(std::move(preparation)) {}

MessageAnswer PreparingMessageBox::show(const std::string& text, MessageButtons buttons,
                                        MessageIcon icon, const std::optional<std::string>& title) {
    if (text != questionText_)
        return boxes_.show(text, buttons, icon, title);
    const FirstPaintWatch watch(preparation_);
    return boxes_.show(text, buttons, icon, title);
}

}  // namespace orvel
