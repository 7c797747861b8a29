// The yardstick for the start-up benchmark: an empty Qt Widgets window of the main window's size,
// built with the same compiler, flags and Qt as the program, and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Empty Qt window"));
    window.setFixedSize(728, 353);
    window.show();
    return QApplication::exec();
}
