// The program's start-up and the main menu: windows, panels, locking, links, About lines, errors.
#include "ShellTestSupport.h"
#include "OwnHive.h"

#include "ColorValue.h"
#include "KeyboardCues.h"
#include "Pictures.h"
#include "TArrowHint.h"
#include "TImageButton.h"
#include "TSensitiveLabel.h"
#include "TFSudoku.h"
#include "ExecutablePath.h"
#include "Registry.h"
#include "TF_Wyniki.h"
#include "ProgramWindows.h"
#include "TFPodglad.h"
#include "TFPrzyklad.h"
#include "TFRady.h"
#include "TForm1.h"
#include "U_WspolneFunkcje.h"
#include "WindowLook.h"
#include "WindowPlacement.h"

#include <QAccessible>
#include <QDate>
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QSignalSpy>
#include <QUrl>
#include <QXmlStreamReader>

namespace {

// Collects the addresses the menu hands to the system instead of opening them.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

QWidget *WindowNamed(const QString &name)
{
    if (name == "FPodglad")
        return FPodglad;
    if (name == "FRady")
        return FRady;
    if (name == "FPrzyklad")
        return FPrzyklad;
    if (name == "FSudoku")
        return FSudoku;
    return nullptr;
}

void Click(const QWidget *window, const char *name)
{
    QTest::mouseClick(Child<QWidget>(window, name), Qt::LeftButton);
}

// The names of the controls Tab reaches from the focused one, one press each.
QStringList TabRound(QWidget *window, int presses, Qt::Key key = Qt::Key_Tab)
{
    QStringList reached;
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, key);
        reached << (window->focusWidget() ? window->focusWidget()->objectName() : QString());
    }
    return reached;
}

// Tabs to the named control (fails the test when it is never reached), then presses Enter.
void PressFromTheKeyboard(QWidget *window, const QString &name)
{
    for (int i = 0; i < 20 && window->focusWidget()->objectName() != name; ++i)
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    QCOMPARE(window->focusWidget()->objectName(), name);
    QTest::keyClick(window->focusWidget(), Qt::Key_Return);
}

QStringList VisiblePanels()
{
    QStringList visible;
    for (const char *name : {"PanelOpis", "PanelAbout", "PanelExit", "PanelNew"})
        if (Child<QWidget>(Form1, name)->isVisible())
            visible << QString::fromLatin1(name);
    return visible;
}

// Whether a picture button shows this picture on the screen now.
bool ShowsPicture(TImageButton *shown, const QPixmap &picture)
{
    TImageButton reference;
    reference.setBitmap(picture);
    return shown->grab().toImage() == reference.grab().toImage();
}

// Checks that a window just shown for the first time shows what its layout
// names: the pictures in sight were decoded by the show itself, and every
// picture of every control is the layout's, pixel for pixel.
void CheckLayoutPictures(const QWidget *window, const QString &layout)
{
    QFile file(QStringLiteral(SUDOKU_SOURCE_DIR "/") + layout);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QStringList decodedByTheShow = DecodedPictures();
    QXmlStreamReader ui(&file);
    QStringList controls;
    int pictures = 0;
    while (!ui.atEnd()) {
        ui.readNext();
        if (ui.isStartElement() && ui.name() == QLatin1String("widget"))
            controls << ui.attributes().value("name").toString();
        else if (ui.isEndElement() && ui.name() == QLatin1String("widget"))
            controls.removeLast();
        if (!ui.isStartElement() || ui.name() != QLatin1String("property"))
            continue;
        QString property = ui.attributes().value("name").toString();
        if (!property.endsWith("Resource") || property == "MaskResource")
            continue;
        property.chop(int(qstrlen("Resource")));
        ui.readNextStartElement();
        const QString path = ui.readElementText();
        const auto *control = Child<QWidget>(window, controls.last().toLatin1().constData());
        const QString where = controls.last() + "." + property + " " + path;
        const bool inSight = control->isVisible() && !control->visibleRegion().isEmpty() &&
                             (property == "Picture" || (property == "Bitmap" && control->isEnabled()));
        QVERIFY2(!inSight || decodedByTheShow.contains(path), qPrintable("not decoded by the show: " + where));
        const QImage shown = control->property(property.toLatin1().constData()).value<QPixmap>().toImage();
        QVERIFY2(!shown.isNull() && shown.convertToFormat(QImage::Format_RGB32) ==
                                        QImage(path).convertToFormat(QImage::Format_RGB32),
                 qPrintable("not the layout's picture: " + where));
        ++pictures;
    }
    QVERIFY(!ui.hasError());
    QVERIFY(pictures > 0);
}

QColor Balloon(TArrowHint::ColourSlot slot)
{
    return TArrowHint::application()->color(slot);
}

}  // namespace

class MenuTest : public QObject
{
    Q_OBJECT

private:
    QStringList m_creationOrder;
    QStringList m_laterWindowsExisting;   // windows that existed too early

private slots:
    void initTestCase()
    {
        CreateProgramWindows([this](QWidget *window) {
            m_creationOrder << QString::fromLatin1(window->metaObject()->className());
            // Each window is complete (its layout loaded) before the next one is begun.
            QWidget *later[] = {FPodglad, FRady, FPrzyklad, FSudoku, F_Wyniki};
            const int done = m_creationOrder.size();
            for (int i = done; i < 5; ++i)
                if (later[i])
                    m_laterWindowsExisting << QString::fromLatin1(later[i]->metaObject()->className());
            if (!window->findChild<QWidget *>("ShapedForm1"))
                m_laterWindowsExisting << QStringLiteral("incomplete ") + window->metaObject()->className();
        });
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
    }

    void cleanupTestCase() { DestroyProgramWindows(); }

    void cleanup() { QCursor::setPos(1000, 1000); }

    void windowsAreCreatedInOrderAndOnlyTheMenuShows()
    {
        QCOMPARE(m_creationOrder, (QStringList{"TForm1", "TFPodglad", "TFRady", "TFPrzyklad", "TFSudoku", "TF_Wyniki"}));
        QCOMPARE(m_laterWindowsExisting, QStringList());
        QVERIFY(Form1->isVisible());
        for (QWidget *window : std::initializer_list<QWidget *>{FPodglad, FRady, FPrzyklad, FSudoku, F_Wyniki})
            QVERIFY2(!window->isVisible(), window->metaObject()->className());
        QCOMPARE(Form1->size(), QSize(607, 479));
        QVERIFY(Form1->windowFlags() & Qt::FramelessWindowHint);
        // The hidden windows' pictures wait for their first show.
        QVERIFY(DecodedPictures().contains(":/pictures/menu/background.png"));
        for (const QString &path : DecodedPictures())
            QVERIFY2(path.startsWith(":/pictures/menu/"), qPrintable(path));
        QCOMPARE(VisiblePanels(), QStringList());
        QVERIFY(Child<QWidget>(Form1, "Label2")->isVisible());
        QVERIFY(Child<QWidget>(Form1, "Image1")->isVisible());
        QCOMPARE(Balloon(TArrowHint::ColourSlot::Background), ColorFromValue(WindowColour::Menu));
        QCOMPARE(Balloon(TArrowHint::ColourSlot::ArrowBackground), ColorFromValue(WindowColour::Menu));
        // Centred on the screen.
        QCOMPARE(Form1->pos(), CentredPosition(Form1->size(), PlacementScreen()));
    }

    void aboutLinesShowTitleVersionAndThisYear()
    {
        const auto *version = Child<QLabel>(Form1, "Label3");
        const auto *notice = Child<QLabel>(Form1, "Label8");
        QCOMPARE(version->text(), "Sudoku  v. " + QString::fromStdString(FileVersionText()));
        QVERIFY(notice->text().endsWith(" - " + QString::number(QDate::currentDate().year())));
        // Both grow with their text.
        for (const QLabel *label : {version, notice})
            QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
    }

    void panelButtonsShowOnePanel_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("shown");
        QTest::newRow("how to play") << QStringList{"ImageButton1"} << "PanelOpis";
        QTest::newRow("new game clicked twice") << QStringList{"ImageButton4", "ImageButton4"} << "PanelNew";
        QTest::newRow("about") << QStringList{"ImageButton2"} << "PanelAbout";
        QTest::newRow("exit") << QStringList{"ImageButton3"} << "PanelExit";
        QTest::newRow("no on exit leads to a new game, not back to about")
            << QStringList{"ImageButton2", "ImageButton3", "ImageButton6"} << "PanelNew";
        QTest::newRow("rules after about") << QStringList{"ImageButton2", "ImageButton1"} << "PanelOpis";
    }

    void panelButtonsShowOnePanel()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, shown);
        for (const QString &name : clicks)
            Click(Form1, name.toLatin1().constData());
        QCOMPARE(VisiblePanels(), QStringList{shown});
        QVERIFY(Child<QWidget>(Form1, "Label2")->isVisible());
        QVERIFY(Child<QWidget>(Form1, "Image1")->isVisible());

        // A screen reader reads the column of buttons, the title, the
        // introduction, then the panel: its heading first, every part named.
        const auto read = Readable(Form1);
        QCOMPARE(read.size(), 7);
        const QStringList column{"Jak grać ?", "Nowa gra", "O grze ....", "Wyjście"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(read[i], qMakePair(column[i], QAccessible::Button));
        QCOMPARE(read[4], qMakePair(QString("SUDOKU"), QAccessible::Heading));
        QCOMPARE(read[5].first, Child<QLabel>(Form1, "Label2")->text());
        const auto panel = Readable(Child<QWidget>(Form1, shown.toLatin1().constData()));
        QCOMPARE(panel.first().second, QAccessible::Heading);
        for (const auto &[name, role] : panel)
            QVERIFY2(!name.isEmpty(), qPrintable(shown));
    }

    void openedWindowLocksTheMenuUntilItCloses_data()
    {
        QTest::addColumn<QString>("panelButton");
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("window");
        QTest::addColumn<uint>("colour");
        QTest::addColumn<QString>("closer");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("firstControl");
        QTest::addColumn<bool>("byKeyboard");
        for (const bool keys : {false, true}) {
            const char *how = keys ? " from the keyboard" : "";
            QTest::addRow("preview%s", how) << "ImageButton1" << "ImageButton7" << "FPodglad" << uint(WindowColour::Preview) << "ImageButton1" << "shell/TFPodglad.ui" << "ImageButton1" << keys;
            QTest::addRow("tips%s", how) << "ImageButton1" << "ImageButton8" << "FRady" << uint(WindowColour::Tips) << "ImageButton1" << "shell/TFRady.ui" << "ImageButton1" << keys;
            QTest::addRow("example%s", how) << "ImageButton4" << "ImageButton9" << "FPrzyklad" << uint(WindowColour::Example) << "ImageButton1" << "shell/TFPrzyklad.ui" << "ImageButton3" << keys;
            QTest::addRow("game%s", how) << "ImageButton4" << "ImageButton10" << "FSudoku" << uint(WindowColour::Tips) << "ImageButton2" << "game/TFSudoku.ui" << "ImageButton1" << keys;
        }
    }

    void openedWindowLocksTheMenuUntilItCloses()
    {
        QFETCH(QString, panelButton);
        QFETCH(QString, opener);
        QFETCH(QString, window);
        QFETCH(uint, colour);
        QFETCH(QString, closer);
        QFETCH(QString, layout);
        QFETCH(QString, firstControl);
        QFETCH(bool, byKeyboard);
        QWidget *opened = WindowNamed(window);
        const QStringList columnButtons{"ImageButton1", "ImageButton4", "ImageButton2", "ImageButton3"};

        auto *openerButton = Child<TImageButton>(Form1, opener.toLatin1().constData());
        if (byKeyboard) {
            Form1->activateWindow();
            PressFromTheKeyboard(Form1, panelButton);
            // The panel's first control takes the focus.
            QCOMPARE(Form1->focusWidget()->objectName(), panelButton == "ImageButton1" ? "ImageButton7" : "ImageButton9");
        } else {
            Click(Form1, panelButton.toLatin1().constData());
        }
        const QStringList panelBefore = VisiblePanels();
        const QImage introBefore = Child<QWidget>(Form1, "Label2")->grab().toImage();
        if (byKeyboard) {
            PressFromTheKeyboard(Form1, opener);
        } else {
            Click(Form1, opener.toLatin1().constData());
            // The pointer is elsewhere: the button that opened the window is not left pressed.
            QVERIFY(ShowsPicture(openerButton, openerButton->Bitmap()));
        }

        QVERIFY(opened->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(opened));
        if (!byKeyboard)
            CheckLayoutPictures(opened, layout);
        // The window opens with its first control focused; opened from the
        // keyboard it shows the focus at once.
        QCOMPARE(opened->focusWidget() ? opened->focusWidget()->objectName() : QString(), firstControl);
        QCOMPARE(KeyboardCuesShown(opened), byKeyboard);
        QVERIFY(!Form1->isEnabled());
        for (const QString &name : columnButtons)
            QVERIFY2(!Child<QWidget>(Form1, name.toLatin1().constData())->isEnabled(), qPrintable(name));
        QCOMPARE(Balloon(TArrowHint::ColourSlot::Background), ColorFromValue(colour));
        QCOMPARE(Balloon(TArrowHint::ColourSlot::ArrowBackground), ColorFromValue(colour));
        // A locked menu keeps its look and ignores the player.
        QCOMPARE(Child<QWidget>(Form1, "Label2")->grab().toImage(), introBefore);
        Click(Form1, "ImageButton3");
        Click(Form1, "ImageButton2");
        QCOMPARE(VisiblePanels(), panelBefore);

        if (byKeyboard)
            QTest::keyClick(opened->focusWidget(), Qt::Key_Escape); // the window's OK or Zakończ
        else
            Click(opened, closer.toLatin1().constData());
        QVERIFY(!opened->isVisible());
        QVERIFY(Form1->isEnabled());
        for (const QString &name : columnButtons)
            QVERIFY2(Child<QWidget>(Form1, name.toLatin1().constData())->isEnabled(), qPrintable(name));
        QCOMPARE(Balloon(TArrowHint::ColourSlot::Background), ColorFromValue(WindowColour::Menu));
        QCOMPARE(Balloon(TArrowHint::ColourSlot::ArrowBackground), ColorFromValue(WindowColour::Menu));
        QCOMPARE(VisiblePanels(), panelBefore);
        // The focus is back on the button that opened the window: lit while
        // the keyboard is in use, plain for the mouse.
        QCOMPARE(Form1->focusWidget(), openerButton);
        QTRY_VERIFY(ShowsPicture(openerButton, byKeyboard ? openerButton->BitmapOver() : openerButton->Bitmap()));
        ShowKeyboardCues(Form1, false);
    }

    void tabGoesRoundTheMenuInReadingOrder()
    {
        Form1->activateWindow();
        Child<QWidget>(Form1, "ImageButton1")->setFocus();
        // The column, then the panel shown; a hidden panel's controls are passed over.
        Click(Form1, "ImageButton2");
        QCOMPARE(Form1->focusWidget()->objectName(), "SensitiveLabel1");
        QCOMPARE(TabRound(Form1, 6), (QStringList{"SensitiveLabel2", "ImageButton1", "ImageButton4", "ImageButton2",
                                                  "ImageButton3", "SensitiveLabel1"}));
        QCOMPARE(TabRound(Form1, 2, Qt::Key_Backtab), (QStringList{"ImageButton3", "ImageButton2"}));
        // Enter on a link opens it, as a click does.
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("http", &catcher, "open");
        PressFromTheKeyboard(Form1, "SensitiveLabel2");
        QDesktopServices::unsetUrlHandler("http");
        QCOMPARE(catcher.urls.size(), 1);

        // Escape is Nie while the exit question is up, and never ends the program.
        QSignalSpy closed(Form1, &TForm1::FormClosed);
        QTest::keyClick(Form1->focusWidget(), Qt::Key_Escape);
        QCOMPARE(VisiblePanels(), QStringList{"PanelAbout"});
        PressFromTheKeyboard(Form1, "ImageButton3");
        QCOMPARE(Form1->focusWidget()->objectName(), "ImageButton5");
        QCOMPARE(TabRound(Form1, 1), QStringList{"ImageButton6"});
        QTest::keyClick(Form1->focusWidget(), Qt::Key_Escape);
        QCOMPARE(VisiblePanels(), QStringList{"PanelNew"});
        QCOMPARE(Form1->focusWidget()->objectName(), "ImageButton9");
        QCOMPARE(closed.count(), 0);
        QVERIFY(Form1->isVisible());
        ShowKeyboardCues(Form1, false);
    }

    void resultsWindowClosingEnablesTheGameWindow()
    {
        FSudoku->ImageButton7Click();
        QVERIFY(!FSudoku->isEnabled());
        QVERIFY(QTest::qWaitForWindowExposed(F_Wyniki));
        CheckLayoutPictures(F_Wyniki, "results/TF_Wyniki.ui");
        F_Wyniki->close();
        QVERIFY(FSudoku->isEnabled());
    }

    void mailAndWebLinksHandTheirAddressesToTheSystem()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("mailto", &catcher, "open");
        QDesktopServices::setUrlHandler("http", &catcher, "open");
        auto *mail = Child<TSensitiveLabel>(Form1, "SensitiveLabel1");
        auto *web = Child<TSensitiveLabel>(Form1, "SensitiveLabel2");
        const QString caption = mail->text();
        Click(Form1, "ImageButton2");

        QTest::mouseClick(mail, Qt::LeftButton);
        mail->setText("gracz@example.org");
        QTest::mouseClick(mail, Qt::LeftButton);
        QTest::mouseClick(web, Qt::LeftButton);
        mail->setText(caption);
        QDesktopServices::unsetUrlHandler("mailto");
        QDesktopServices::unsetUrlHandler("http");

        QCOMPARE(catcher.urls.size(), 3);
        QCOMPARE(catcher.urls[0].toString(),
                 "mailto:" + caption + "?Subject=Cześć&Body=Gratuluję zrobienia bardzo dobrego programu Sudoku.");
        // Blanks and Polish letters travel percent-encoded as UTF-8.
        QCOMPARE(catcher.urls[1].toEncoded(),
                 QByteArray("mailto:gracz@example.org?Subject=Cze%C5%9B%C4%87&Body=Gratuluj%C4%99%20zrobienia"
                            "%20bardzo%20dobrego%20programu%20Sudoku."));
        QCOMPARE(catcher.urls[2].toString(), web->text());
        QCOMPARE(catcher.urls[2].scheme(), "http");
    }

    void linksReturnToThePanelFont()
    {
        Click(Form1, "ImageButton2");
        auto *mail = Child<TSensitiveLabel>(Form1, "SensitiveLabel1");
        auto *web = Child<TSensitiveLabel>(Form1, "SensitiveLabel2");
        const auto *plain = Child<QLabel>(Form1, "Label3");
        auto *panel = Child<QWidget>(Form1, "PanelAbout");
        const auto isPlain = [plain](const TSensitiveLabel *link) {
            return link->font().pixelSize() == 13 && !link->font().underline() &&
                   link->fontColor() == plain->palette().color(QPalette::WindowText);
        };

        QTest::mouseMove(mail, QPoint(5, 5));
        QTRY_VERIFY(mail->font().underline());
        // Straight from the mail link onto the web link.
        QTest::mouseMove(web, QPoint(5, 5));
        QTRY_VERIFY(web->font().underline());
        QVERIFY(isPlain(mail));
        // Back over the panel, one of its plain labels, or the window's
        // background: both plain.
        const QList<QPair<QWidget *, QPoint>> plainPlaces{
            {panel, QPoint(400, 230)},
            {Child<QWidget>(Form1, "Label7"), QPoint(5, 5)},
            {Child<QWidget>(Form1, "ShapedForm1"), QPoint(300, 185)}};
        for (const auto &[place, point] : plainPlaces) {
            QTest::mouseMove(mail, QPoint(5, 5));
            QTRY_VERIFY(mail->font().underline());
            QTest::mouseMove(place, point);
            QTRY_VERIFY2(isPlain(mail), qPrintable(place->objectName()));
            QVERIFY(isPlain(web));
            // Both show their whole address, at the panel font's height.
            for (const TSensitiveLabel *link : {mail, web})
                QVERIFY2(link->width() >= link->fontMetrics().horizontalAdvance(link->text()) &&
                             link->height() >= link->fontMetrics().height(),
                         qPrintable(link->text()));
        }
    }

    void errorInAHandlerIsShownAndTheProgramCarriesOn()
    {
        QWidget window;
        window.resize(200, 200);
        auto *button = new TImageButton(&window);
        button->setGeometry(10, 10, 50, 50);
        int clicks = 0;
        QObject::connect(button, &TImageButton::OnClick, [&clicks] {
            ++clicks;
            throw RegistryError("Failed to set data for 'LastTime'");
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        for (int round = 1; round <= 2; ++round) {
            SeenBox seen;
            AnswerNextBox(&seen);
            QTest::mouseClick(button, Qt::LeftButton);
            QTRY_COMPARE(seen.text, QString("Failed to set data for 'LastTime'"));
            QCOMPARE(seen.title, QString("Sudoku"));
            QCOMPARE(clicks, round);
        }
    }

    void installationRecordIsWrittenOnlyWhenMissing()
    {
        OwnHive hive;

        { TForm1 firstStart; }
        {
            RegistryAccessor registry;
            QVERIFY(registry.OpenKey("Software\\Kalvora\\Sudoku", false));
            QCOMPARE(registry.ReadString("Version"), FileVersionText());
            QCOMPARE(registry.ReadString("Name"), std::string("Sudoku"));
            QCOMPARE(registry.ReadString("Path"), RunningExecutablePath().string());
            QVERIFY(registry.OpenKey("Lista", false));
            QCOMPARE(registry.ReadInteger("LastTime"), 0);
            QCOMPARE(registry.ReadInteger("IlePoz"), 0);
            // A result entered since then must survive the next start.
            registry.WriteInteger("IlePoz", 1);
            registry.WriteString("_g1", "Ala");
        }
        const QByteArray before = hive.Contents();

        { TForm1 secondStart; }
        QCOMPARE(hive.Contents(), before);
    }

    void failedRecordWriteIsShownAndStartUpGoesOn()
    {
        OwnHive hive;
        hive.RefuseWrites();

        SeenBox seen;
        AnswerNextBox(&seen);
        TForm1 menu;
        QCOMPARE(seen.title, QString("Sudoku"));
        QCOMPARE(seen.text, QString("Failed to set data for 'Version'"));
        QVERIFY(menu.findChild<QWidget *>("PanelAbout"));
    }

    // Last: it closes the menu.
    void yesOnTheExitPanelClosesTheMenu()
    {
        QSignalSpy closed(Form1, &TForm1::FormClosed);
        Click(Form1, "ImageButton3");
        Click(Form1, "ImageButton5");
        QCOMPARE(closed.count(), 1);
        QVERIFY(!Form1->isVisible());
    }
};

SHELL_TEST_MAIN(MenuTest)
#include "menu_test.moc"
