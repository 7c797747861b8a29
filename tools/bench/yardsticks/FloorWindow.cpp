// The third yardstick for the start-up benchmark, and the one the program is held to: the main
// window's widgets with nothing behind them. The nineteen selection boxes with their choices,
// their captions as plain labels, the two option buttons and the five command buttons as plain
// push buttons, in a window of the main window's size and font; no pictures, no settings logic,
// no spooler library. Whatever the program costs beyond this is its own.
#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QWidget>

#include "settings/SettingsTable.h"
#include "ui/core/buttons/ButtonFaces.h"

namespace {

constexpr int kWindowWidth = 728;
constexpr int kWindowHeight = 353;

// Two columns of boxes, ten on the left and nine on the right, as in the main window.
constexpr int kLeftColumnRows = 10;
constexpr int kColumnLeft[] = {4, 298};
constexpr int kCaptionWidth = 125;
constexpr int kBoxWidth = 161;
constexpr int kRowHeight = 27;
constexpr int kFirstRowTop = 45;
constexpr int kOptionTop = 42;

QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(8.25);
    return font;
}

void addSelectionBoxes(QWidget& window) {
    for (const orvel::SettingInfo& info : orvel::settingsTable()) {
        const int row = info.row - 1;
        const int column = row < kLeftColumnRows ? 0 : 1;
        const int top = kFirstRowTop + kRowHeight * (column == 0 ? row : row - kLeftColumnRows + 1);
        auto* caption = new QLabel(QString::fromStdString(info.caption), &window);
        caption->setGeometry(kColumnLeft[column], top, kCaptionWidth, 21);
        auto* box = new QComboBox(&window);
        for (const std::string& choice : info.choices)
            box->addItem(QString::fromStdString(choice));
        box->setCurrentIndex(info.defaultChoice);
        box->setGeometry(kColumnLeft[column] + kCaptionWidth, top, kBoxWidth, 21);
    }
}

void addOptionButtons(QWidget& window) {
    const QString captions[] = {QStringLiteral("&Domestic Model"), QStringLiteral("E&xport Model")};
    int left = kColumnLeft[1];
    for (const QString& caption : captions) {
        auto* option = new QRadioButton(caption, &window);
        option->setGeometry(left, kOptionTop, 120, 17);
        left += 140;
    }
}

void addCommandButtons(QWidget& window) {
    int top = 168;
    for (const orvel::FacePictures& face : orvel::buttonPictures()) {
        if (face.face == orvel::ButtonFace::Close)  // the features window's
            continue;
        auto* button = new QPushButton(QString::fromStdString(face.caption), &window);
        button->setGeometry(592, top, face.size.width, face.size.height);
        top += 30;
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Qt window with the main window's widgets"));
    window.setFixedSize(kWindowWidth, kWindowHeight);
    window.setFont(windowFont());
    addSelectionBoxes(window);
    addOptionButtons(window);
    addCommandButtons(window);
    window.show();
    return QApplication::exec();
}
