// A second yardstick for the start-up benchmark: the empty window with one line of text in the
// program's font, so that it also starts the font system, as any window with text does.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Qt window with text"));
    window.setFixedSize(728, 353);
    auto* label = new QLabel(QStringLiteral("Printer Permanent Settings"), &window);
    label->setFont(QFont(QStringLiteral("Verdana"), 8));
    label->move(8, 8);
    window.show();
    return QApplication::exec();
}
