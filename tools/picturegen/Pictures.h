// Every picture the tool makes: the built-in pictures of the two windows and the button faces,
// each with its name, its size in pixels at 1x, and how it is drawn.
#pragma once

#include <QSize>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

namespace picturegen {

struct Picture {
    QString name;  // file name without extension and scale suffix
    QSize size;    // at 1x; drawing is in these units at every scale
    std::function<void(QPainter&)> draw;
};

// The window pictures embedded in the program (backgrounds, titles, captions, heading, banner).
std::vector<Picture> windowPictures();

// A picture button's face: "<stem>1" is the normal face, "<stem>2" the highlighted one.
struct ButtonFace {
    QString stem;
    QString caption;
    QChar underlined;  // first occurrence in the caption is drawn underlined
    QSize size;
};

const std::vector<ButtonFace>& buttonFaces();

Picture normalFace(const ButtonFace& face);
Picture highlightedFace(const ButtonFace& face);

}  // namespace picturegen
