#include "ui/qt/buttons/PictureControl.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/qt/input/KeyCodes.h"
#include "ui/qt/input/MouseButtons.h"
#include "ui/qt/layout/Twips.h"

namespace orvel {

namespace {

// The buttons held during a move, their codes added up.
int heldButtonsCode(Qt::MouseButtons buttons) {
    int code = 0;
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (buttons.testFlag(button))
            code += mouseButtonCode(button);
    }
    return code;
}

}  // namespace

PictureControl::PictureControl(QWidget* parent, Sizing sizing) : QLabel(parent), sizing_(sizing) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setScaledContents(false);
    setFocusPolicy(Qt::NoFocus);
}

void PictureControl::setPicture(const QPixmap& picture) {
    setPixmap(picture);
    if (sizing_ == Sizing::TakesPictureSize && !picture.isNull())
        resize(picture.deviceIndependentSize().toSize());
}

void PictureControl::setMouseMove(MouseHandler handler) {
    mouseMove_ = std::move(handler);
    // Without tracking Qt reports moves only while a button is held.
    setMouseTracking(static_cast<bool>(mouseMove_));
}

void PictureControl::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    drawFrame(&painter);
    const QPixmap picture = pixmap();
    if (picture.isNull())
        return;
    painter.setClipRect(contentsRect());
    painter.drawPixmap(contentsRect().topLeft(), picture);
}

void PictureControl::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void PictureControl::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!mouseUp_)
        return;
    const QPointF position = toTwips(event->position());
    mouseUp_(mouseButtonCode(event->button()), shiftStateOf(event->modifiers()),
             static_cast<float>(position.x()), static_cast<float>(position.y()));
}

void PictureControl::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void PictureControl::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!mouseMove_)
        return;
    const QPointF position = toTwips(event->position());
    mouseMove_(heldButtonsCode(event->buttons()), shiftStateOf(event->modifiers()),
               static_cast<float>(position.x()), static_cast<float>(position.y()));
}

}  // namespace orvel
