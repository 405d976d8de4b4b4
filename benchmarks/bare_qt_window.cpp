// The yardstick of the start-up benchmark: a bare Qt window, shown the way
// the program shows its main window. Prints "ready bare" once the window is
// shown and the event loop is idle again, then waits to be ended.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(800, 600);
    window.show();
    QTimer::singleShot(0, &app, [] {
        std::fprintf(stderr, "ready bare\n");
        std::fflush(stderr);
    });
    return app.exec();
}
