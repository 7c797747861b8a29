// A control that shows a picture unscaled from its top-left corner and reports the pointer moves
// and the mouse buttons released over it. Used for the picture buttons, the caption columns, the
// backgrounds and the picture boxes.
#pragma once

#include <QLabel>
#include <functional>

namespace orvel {

class PictureControl : public QLabel {
    Q_OBJECT

public:
    // Button (1 left, 2 right, 4 middle; for a move the buttons held, added up), shift state
    // (1 SHIFT, 2 CTRL, 4 ALT), position in twips.
    using MouseHandler = std::function<void(int Button, int Shift, float X, float Y)>;

    enum class Sizing {
        TakesPictureSize,  // a picture: takes the size of what it shows
        ClipsPicture,      // a picture box: keeps its size and clips the picture
    };

    PictureControl(QWidget* parent, Sizing sizing);

    void setPicture(const QPixmap& picture);
    void setMouseUp(MouseHandler handler) { mouseUp_ = std::move(handler); }
    // Every pointer move over the control, buttons held or not. Qt sends a disabled control no
    // mouse events, so it reports none while disabled.
    void setMouseMove(MouseHandler handler);

protected:
    // The picture looks the same while the control is disabled: a label would grey it.
    void paintEvent(QPaintEvent* event) override;
    // A plain label lets the mouse fall through to the window; a picture takes its own.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    Sizing sizing_;
    MouseHandler mouseUp_;
    MouseHandler mouseMove_;
};

}  // namespace orvel
