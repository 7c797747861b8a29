#include "ui/qt/desktop/PreparingMessageBox.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

namespace orvel {

// Watches the application's events, while the question is up, for the first painting of its
// modal box. It joins the application's filters once, with the box service, and never while
// the question is asked: a command asks it from inside the key filter that every window shares,
// and Qt would hand the key event being filtered once more to that filter behind a filter
// installed meanwhile, running the command twice.
class PreparingMessageBox::FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(std::function<void()> preparation)
        : preparation_(std::move(preparation)) {
        qApp->installEventFilter(this);
    }
    ~FirstPaintWatch() override {
        if (qApp != nullptr)
            qApp->removeEventFilter(this);
    }

    // From the question's showing to its answer.
    void arm() {
        ++question_;
        armed_ = true;
        posted_ = false;
    }
    void disarm() { armed_ = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!armed_ || posted_ || event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        // The box is the modal window that its loop serves.
        const QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr || static_cast<QWidget*>(watched)->window() != box)
            return false;
        posted_ = true;
        // Posted, so that it runs once the paint is done and on the screen; dropped if the box
        // is gone before its loop comes to it, even when the question is up again by then.
        QMetaObject::invokeMethod(
            this,
            [this, question = question_] {
                if (armed_ && question_ == question)
                    preparation_();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void()> preparation_;
    unsigned question_ = 0;  // the questions shown so far
    bool armed_ = false;
    bool posted_ = false;
};

PreparingMessageBox::PreparingMessageBox(MessageBoxService& boxes, const Message& question,
                                         std::function<void()> preparation)
    : boxes_(boxes),
      questionText_(question.text()),
      watch_(std::make_unique<FirstPaintWatch>(std::move(preparation))) {}

PreparingMessageBox::~PreparingMessageBox() = default;

MessageAnswer PreparingMessageBox::show(const std::string& text, MessageButtons buttons,
                                        MessageIcon icon, const std::optional<std::string>& title) {
    if (text != questionText_)
        return boxes_.show(text, buttons, icon, title);
    watch_->arm();
    const MessageAnswer answer = boxes_.show(text, buttons, icon, title);
    watch_->disarm();
    return answer;
}

}  // namespace orvel
