// Pictures of the menu and the guide windows as the player sees them, and checks that every text fits.
#include "ShellTestSupport.h"

#include "TImageButton.h"
#include "ProgramWindows.h"
#include "TFPodglad.h"
#include "TFPrzyklad.h"
#include "TFRady.h"
#include "TForm1.h"
#include "TImage.h"

#include <QDir>
#include <QLabel>
#include <QScrollBar>

namespace {

void Click(const QWidget *window, const char *name)
{
    QTest::mouseClick(Child<QWidget>(window, name), Qt::LeftButton);
}

// Texts that do not fit their label, with the room they would need.
QStringList TextsThatDoNotFit(const QWidget *window)
{
    QStringList faults;
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->isVisibleTo(window) || label->text().isEmpty())
            continue;
        const QRect needed = label->fontMetrics().boundingRect(
            QRect(0, 0, 4000, 4000), int(label->alignment()) | Qt::TextExpandTabs, label->text());
        if (needed.width() > label->width() || needed.height() > label->height())
            faults << QStringLiteral("%1 needs %2x%3, has %4x%5")
                          .arg(label->objectName())
                          .arg(needed.width()).arg(needed.height())
                          .arg(label->width()).arg(label->height());
        const QWidget *parent = label->parentWidget();
        if (!parent->rect().contains(label->geometry()))
            faults << label->objectName() + " overflows " + parent->objectName();
    }
    return faults;
}

// Pictures that did not load or do not match the size the layout gives them.
QStringList MissingPictures(const QWidget *window)
{
    QStringList faults;
    for (const TImage *image : window->findChildren<TImage *>()) {
        if (image->Picture().isNull())
            faults << image->objectName() + " has no picture";
        else if (image->Picture().deviceIndependentSize().toSize() != image->size())
            faults << image->objectName() + " picture size differs";
    }
    for (const TImageButton *button : window->findChildren<TImageButton *>())
        for (const QPixmap &picture : {button->Bitmap(), button->BitmapOver(), button->BitmapDown()})
            if (picture.isNull())
                faults << button->objectName() + " lacks a picture";
    return faults;
}

}  // namespace

class ScreenshotTest : public QObject
{
    Q_OBJECT

private:
    void shoot(QWidget *window, const QString &file)
    {
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // The pointer passes over the buttons (a click alone brings no enter
        // and so no leave) and rests on the background: no button shows lit.
        for (TImageButton *button : window->findChildren<TImageButton *>())
            if (button->isVisible())
                QTest::mouseMove(button, button->rect().center());
        QTest::mouseMove(window, QPoint(3, window->height() - 20));
        const QStringList faults = TextsThatDoNotFit(window);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
        const QImage picture = window->grab().toImage();
        // The runs at other scales say where their pictures go.
        const QString folder = qEnvironmentVariable("SUDOKU_SCREENSHOTS", QStringLiteral(SCREENSHOT_DIR));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(picture.save(folder + QLatin1Char('/') + file));
    }

private slots:
    void initTestCase()
    {
        CreateProgramWindows();
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
    }

    void cleanupTestCase() { DestroyProgramWindows(); }

    void cleanup() { QCursor::setPos(1000, 1000); }

    void everyPictureLoads()
    {
        for (QWidget *window : std::initializer_list<QWidget *>{Form1, FPodglad, FRady, FPrzyklad})
        {
            const QStringList faults = MissingPictures(window);
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
        }
    }

    void menu_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("file");
        QTest::newRow("start") << "" << "menu-start.png";
        QTest::newRow("how to play") << "ImageButton1" << "menu-rules.png";
        QTest::newRow("new game") << "ImageButton4" << "menu-new.png";
        QTest::newRow("about") << "ImageButton2" << "menu-about.png";
        QTest::newRow("exit") << "ImageButton3" << "menu-exit.png";
    }

    void menu()
    {
        QFETCH(QString, button);
        QFETCH(QString, file);
        if (!button.isEmpty())
            Click(Form1, button.toLatin1().constData());
        shoot(Form1, file);
    }

    void preview()
    {
        Click(Form1, "ImageButton1");
        Click(Form1, "ImageButton7");
        shoot(FPodglad, "preview.png");
        Click(FPodglad, "ImageButton1");
    }

    void tips()
    {
        Click(Form1, "ImageButton8");
        shoot(FRady, "tips.png");
        Click(FRady, "ImageButton1");
    }

    void example()
    {
        Click(Form1, "ImageButton4");
        Click(Form1, "ImageButton9");
        shoot(FPrzyklad, "example.png");
        // The labels further down the pane, too.
        Child<QScrollBar>(FPrzyklad, "ScrollBar1")->setValue(576);
        shoot(FPrzyklad, "example-end.png");
        Click(FPrzyklad, "ImageButton1");
    }
};

SHELL_TEST_MAIN(ScreenshotTest)
#include "screenshots_test.moc"
