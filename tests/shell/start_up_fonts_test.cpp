// Windows built before the last bundled fonts are registered are laid out exactly as with every font.
#include "BundledFonts.h"
#include "TFSudoku.h"
#include "TF_Wyniki.h"
#include "HandlerErrors.h"
#include "ProgramWindows.h"
#include "TFPodglad.h"
#include "TFPrzyklad.h"
#include "TFRady.h"
#include "TForm1.h"

#include <QTest>

namespace {

// Every widget of the six windows with its place and size, in creation order.
QStringList Geometries()
{
    QStringList all;
    for (QWidget *window : std::initializer_list<QWidget *>{Form1, FPodglad, FRady, FPrzyklad, FSudoku, F_Wyniki}) {
        QList<QWidget *> widgets = window->findChildren<QWidget *>();
        widgets << window;
        for (const QWidget *widget : widgets)
            all << QStringLiteral("%1/%2 %3,%4 %5x%6")
                       .arg(window->objectName(), widget->objectName())
                       .arg(widget->x())
                       .arg(widget->y())
                       .arg(widget->width())
                       .arg(widget->height());
    }
    return all;
}

} // namespace

class StartUpFontsTest : public QObject
{
    Q_OBJECT

private slots:
    void labelsSizedAtCreationNeedNoLaterFont()
    {
        // As the program starts: only the start-up fonts are there yet.
        CreateProgramWindows();
        const QStringList early = Geometries();
        DestroyProgramWindows();

        RegisterBundledFonts();
        CreateProgramWindows();
        const QStringList late = Geometries();
        DestroyProgramWindows();

        QCOMPARE(early.size(), late.size());
        for (int i = 0; i < early.size(); ++i)
            QCOMPARE(early.at(i), late.at(i));
    }
};

int main(int argc, char *argv[])
{
    SudokuApplication app(argc, argv);
    RegisterStartUpFonts();
    QApplication::setApplicationDisplayName(QStringLiteral("Sudoku"));
    QApplication::setQuitOnLastWindowClosed(false);
    StartUpFontsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "start_up_fonts_test.moc"
