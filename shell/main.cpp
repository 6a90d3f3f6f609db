// Entry point of the sudoku game.
#include <QApplication>
#include <QFile>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Sudoku"));
    QLabel label(QStringLiteral("Sudoku"));
    label.setMinimumSize(320, 120);
    label.setAlignment(Qt::AlignCenter);
    label.setWindowTitle(QStringLiteral("Sudoku"));
    label.show();
    return app.exec();
}
