// The yardstick of the start-up benchmark: a frameless Qt window of the main menu's size that paints one colour.
#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.resize(607, 479);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(187, 228, 170));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        window.move(screen->geometry().center() - QPoint(window.width() / 2, window.height() / 2));
    window.show();
    return app.exec();
}
