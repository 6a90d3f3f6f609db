// The results window: the ten places best first, names as plain text, the time texts, and clearing the list.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

#include "BestResults.h"
#include "BundledFonts.h"
#include "OwnHive.h"
#include "Registry.h"
#include "TF_Wyniki.h"
#include "TImageButton.h"

namespace {

const QString EmptyName = QStringLiteral("(brak)");
const QString EmptyTime = QStringLiteral("-- : -- : --");

// Answers the next modal dialog with the button of this text; returns what it said.
void answerNextBox(const QString& buttonText, QString* title = nullptr, QString* text = nullptr)
{
    QTimer::singleShot(0, qApp, [=] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            if (title)
                *title = box->windowTitle();
            if (text)
                *text = box->text();
        }
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            if (button->text() == buttonText) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        dialog->close();
    });
}

// Writes the list values directly, as a hand-edited or older registry might hold them.
void writeList(const std::function<void(RegistryAccessor&)>& write)
{
    RegistryAccessor registry;
    QVERIFY(registry.OpenKey("Software\\Kalvora\\Sudoku\\Lista", true));
    write(registry);
}

} // namespace

class ResultsWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsStoredPlaces_data();
    void showsStoredPlaces();
    void labelsStandAtTheirPlaces();
    void picturesAreSharpAtTheScreensDensity();
    void clearingAskedNoKeepsList();
    void clearingAskedYesEmptiesList_data();
    void clearingAskedYesEmptiesList();
    void clearThatCannotWriteIsReported();
    void closingSignalsGameWindow();

private:
    QLabel* label(const QString& name) const { return m_window->findChild<QLabel*>(name); }
    TImageButton* button(const char* name) const { return m_window->findChild<TImageButton*>(QLatin1String(name)); }
    void expectEmpty(int firstPlace);

    std::unique_ptr<OwnHive> m_hive;
    std::unique_ptr<TF_Wyniki> m_window;
};

void ResultsWindowTest::init()
{
    m_hive = std::make_unique<OwnHive>();
    m_window = std::make_unique<TF_Wyniki>();
}

void ResultsWindowTest::cleanup()
{
    m_window.reset();
    m_hive.reset();
}

void ResultsWindowTest::expectEmpty(int firstPlace)
{
    for (int place = firstPlace; place <= 10; ++place) {
        QCOMPARE(label(QStringLiteral("n%1").arg(place))->text(), EmptyName);
        QCOMPARE(label(QStringLiteral("t%1").arg(place))->text(), EmptyTime);
    }
}

void ResultsWindowTest::showsStoredPlaces_data()
{
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<bool>("canClear");
    QTest::newRow("no list at all") << "none" << QStringList() << QStringList() << false;
    QTest::newRow("an empty list") << "empty" << QStringList() << QStringList() << false;
    QTest::newRow("three entries, the best first")
        << "three" << QStringList{"Bartek", "Celina", "Ala"} << QStringList{"00:02:00", "00:05:00", "00:06:40"}
        << true;
    QTest::newRow("an entry beyond the count is shown at its place by time")
        << "beyond" << QStringList{"Bartek", "Celina", "Ala", "Zenon"}
        << QStringList{"00:02:00", "00:05:00", "00:06:40", "01:02:05"} << true;
    QTest::newRow("entries left over with a zero count can be cleared")
        << "leftover" << QStringList{"Stary"} << QStringList{"00:12:34"} << true;
    QTest::newRow("an entry of the wrong type is left out")
        << "wrongtype" << QStringList{"Bartek"} << QStringList{"100:00:00"} << true;
    QTest::newRow("a hand-edited name of thousands of letters is cut short in its row")
        << "huge" << QStringList{QString(5000, QChar(0x17B))} << QStringList{"00:12:34"} << true;
    QTest::newRow("names that look like markup are shown as typed, on one line")
        << "markup"
        << QStringList{"Jan <b>Szybki</b> Kowalski", "<h1>Ola</h1>", "A<br>B", "<img src=\"/nie/ma/obrazka.png\">",
                       "&lt;i&gt; &amp;", "dwa wiersze"}
        << QStringList{"00:01:40", "00:03:20", "00:05:00", "00:06:40", "00:08:20", "00:10:00"} << true;
}

void ResultsWindowTest::showsStoredPlaces()
{
    QFETCH(QString, setUp);
    QFETCH(QStringList, names);
    QFETCH(QStringList, times);
    QFETCH(bool, canClear);

    if (setUp != QLatin1String("none"))
        BestResults().Initialise();
    if (setUp == QLatin1String("three") || setUp == QLatin1String("beyond")) {
        BestResults results;
        results.Add("Ala", 400);
        results.Add("Bartek", 120);
        results.Add("Celina", 300);
    }
    if (setUp == QLatin1String("beyond"))
        writeList([](RegistryAccessor& r) {
            r.WriteString("_g7", "Zenon");
            r.WriteInteger("_t7", 3725);
        });
    if (setUp == QLatin1String("leftover"))
        writeList([](RegistryAccessor& r) {
            r.WriteString("_g1", "Stary");
            r.WriteInteger("_t1", 754);
        });
    if (setUp == QLatin1String("markup")) {
        BestResults results;
        const char* names[] = {"Jan <b>Szybki</b> Kowalski", "<h1>Ola</h1>", "A<br>B",
                               "<img src=\"/nie/ma/obrazka.png\">", "&lt;i&gt; &amp;", "dwa\nwiersze"};
        for (int i = 0; i < 6; ++i)
            results.Add(names[i], 100 * (i + 1));
    }
    if (setUp == QLatin1String("huge"))
        writeList([](RegistryAccessor& r) {
            r.WriteString("_g1", QString(5000, QChar(0x17B)).toStdString());
            r.WriteInteger("_t1", 754);
            r.WriteInteger("IlePoz", 1);
        });
    if (setUp == QLatin1String("wrongtype"))
        writeList([](RegistryAccessor& r) {
            r.WriteInteger("_g1", 5);
            r.WriteInteger("_t1", 60);
            r.WriteString("_g2", "Bartek");
            r.WriteInteger("_t2", 360000);
            r.WriteInteger("IlePoz", 2);
        });

    m_window->show();
    for (int place = 1; place <= 10; ++place) {
        const QString name = place <= names.size() ? names[place - 1] : QString();
        const QString time = place <= times.size() ? times[place - 1] : QString();
        QLabel* nameLabel = label(QStringLiteral("n%1").arg(place));
        QLabel* timeLabel = label(QStringLiteral("t%1").arg(place));
        // The name whole, or as much of its beginning as the row holds and an ellipsis.
        const QString shown = nameLabel->text();
        if (shown.endsWith(QChar(0x2026)))
            QVERIFY2(name.startsWith(shown.chopped(1)) && shown.size() < name.size(), qPrintable(shown));
        else
            QCOMPARE(shown, name.isEmpty() ? EmptyName : name);
        QVERIFY(nameLabel->geometry().right() < timeLabel->x());
        QCOMPARE(timeLabel->text(), time.isEmpty() ? EmptyTime : time);
        // One line high, as the time beside it: nothing spills into the next place.
        QCOMPARE(nameLabel->height(), timeLabel->height());
    }
    QCOMPARE(button("ImageButton2")->isEnabled(), canClear);

    // A screen reader reads the heading, one line per place with the whole name, then the two buttons.
    QStringList expected{QStringLiteral("Najlepsze wyniki")};
    for (int place = 1; place <= 10; ++place) {
        const QString name = place <= names.size() ? names[place - 1] : QString();
        expected << (name.isEmpty() ? QStringLiteral("%1. (brak)").arg(place)
                                    : QStringLiteral("%1. %2, %3").arg(place).arg(name, times[place - 1]));
    }
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(m_window.get());
    QStringList read;
    QList<QAccessible::Role> roles;
    for (int i = 0; i < window->childCount(); ++i)
        if (!window->child(i)->state().invisible) {
            read << window->child(i)->text(QAccessible::Name);
            roles << window->child(i)->role();
        }
    QCOMPARE(read.mid(0, 11), expected);
    QCOMPARE(roles.mid(11), (QList<QAccessible::Role>{QAccessible::Button, QAccessible::Button}));
}

void ResultsWindowTest::labelsStandAtTheirPlaces()
{
    BestResults().Initialise();
    BestResults().Add("Bardzo długie imię gracza", 754);
    // More than 99 hours: a third digit.
    BestResults().Add("Maciej", 360000);
    m_window->show();
    QCOMPARE(m_window->size(), QSize(290, 338));
    const int tops[] = {70, 91, 112, 134, 154, 177, 199, 220, 242, 263};
    // Where the row stripes of the window's picture end; the frame's shading follows.
    const int stripeEnd = 280;
    for (int place = 1; place <= 10; ++place) {
        QLabel* name = label(QStringLiteral("n%1").arg(place));
        QLabel* time = label(QStringLiteral("t%1").arg(place));
        QCOMPARE(name->pos(), QPoint(46, tops[place - 1]));
        QCOMPARE(time->y(), tops[place - 1]);
        QCOMPARE(name->font().pixelSize(), 17);
        QVERIFY(name->font().bold());
        // Sized to the text, so nothing shown is cut.
        QCOMPARE(name->width(), name->sizeHint().width());
        QCOMPARE(time->width(), time->sizeHint().width());
        // The time at its place, or, where its letters come out wider (Windows,
        // a third digit), ending with its stripe: never on the frame.
        QCOMPARE(time->x(), std::min(217, stripeEnd - time->width()));
        QVERIFY2(time->geometry().right() < stripeEnd, qPrintable(time->text()));
        QVERIFY2(name->geometry().right() < time->x(), qPrintable(name->text()));
    }
}

// Run at the ordinary density and with QT_SCALE_FACTOR 1.25, 1.5 and 2: the
// window and its buttons keep their sizes, and their pictures are made for
// the screen's pixels (the @2x twins, resized smoothly between 100 and 200 %).
void ResultsWindowTest::picturesAreSharpAtTheScreensDensity()
{
    m_window->show();
    const qreal expectedRatio = m_window->devicePixelRatio();
    QCOMPARE(m_window->size(), QSize(290, 338));
    const struct { const char* name; QSize size; } buttons[] = {
        {"ImageButton1", {88, 44}}, {"ImageButton2", {161, 44}}};
    for (const auto& expected : buttons) {
        TImageButton* b = button(expected.name);
        QCOMPARE(b->size(), expected.size);
        QCOMPARE(b->Bitmap().devicePixelRatio(), expectedRatio);
        QCOMPARE(b->BitmapOver().devicePixelRatio(), expectedRatio);
        QCOMPARE(b->Bitmap().size(), (QSizeF(expected.size) * expectedRatio).toSize());
    }
}

void ResultsWindowTest::clearingAskedNoKeepsList()
{
    BestResults().Initialise();
    BestResults().Add("Ala", 400);
    m_window->show();
    QString title, text;
    answerNextBox(QStringLiteral("Nie"), &title, &text);
    QTest::mouseClick(button("ImageButton2"), Qt::LeftButton);
    QCOMPARE(title, QStringLiteral("UWAGA"));
    QCOMPARE(text, QStringLiteral("Czy na pewno chcesz usunąć wszystkie pozycje z listy najlepszych wyników ???"));
    QCOMPARE(BestResults().Count(), 1);
    QCOMPARE(label(QStringLiteral("n1"))->text(), QStringLiteral("Ala"));
    QVERIFY(button("ImageButton2")->isEnabled());
}

void ResultsWindowTest::clearingAskedYesEmptiesList_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("mouse") << false;
    QTest::newRow("keyboard") << true;
}

void ResultsWindowTest::clearingAskedYesEmptiesList()
{
    QFETCH(bool, byKeyboard);
    BestResults().Initialise();
    for (int i = 0; i < 10; ++i)
        BestResults().Add("Gracz " + std::to_string(i), 100 + i);
    m_window->show();
    QCOMPARE(label(QStringLiteral("n10"))->text(), QStringLiteral("Gracz 9"));
    answerNextBox(QStringLiteral("Tak"));
    if (byKeyboard) {
        // The window opens with OK; Shift+Tab goes left to the clear button.
        QCOMPARE(m_window->focusWidget(), button("ImageButton1"));
        QTest::keyClick(m_window->focusWidget(), Qt::Key_Backtab);
        QCOMPARE(m_window->focusWidget(), button("ImageButton2"));
        QTest::keyClick(m_window->focusWidget(), Qt::Key_Return);
    } else {
        QTest::mouseClick(button("ImageButton2"), Qt::LeftButton);
    }
    QCOMPARE(BestResults().Count(), 0);
    expectEmpty(1);
    QVERIFY(!button("ImageButton2")->isEnabled());
    // Switched off, the clear button hands the focus on to OK.
    if (byKeyboard)
        QCOMPARE(m_window->focusWidget(), button("ImageButton1"));
}

void ResultsWindowTest::clearThatCannotWriteIsReported()
{
    BestResults().Initialise();
    BestResults().Add("Ala", 400);
    m_window->show();
    m_hive->RefuseWrites();
    answerNextBox(QStringLiteral("Tak"));
    QVERIFY_THROWS_EXCEPTION(RegistryError, m_window->ImageButton2Click());
    // The window shows what the registry still holds.
    QCOMPARE(label(QStringLiteral("n1"))->text(), QStringLiteral("Ala"));
    QCOMPARE(label(QStringLiteral("t1"))->text(), QStringLiteral("00:06:40"));
    QVERIFY(button("ImageButton2")->isEnabled());
}

void ResultsWindowTest::closingSignalsGameWindow()
{
    m_window->show();
    QSignalSpy closed(m_window.get(), &TF_Wyniki::FormClosed);
    QTest::mouseClick(button("ImageButton1"), Qt::LeftButton);
    QCOMPARE(closed.size(), 1);
    QVERIFY(!m_window->isVisible());
    // Shown again, the window reads the list afresh.
    BestResults().Initialise();
    BestResults().Add("Nowy", 5);
    m_window->show();
    QCOMPARE(label(QStringLiteral("n1"))->text(), QStringLiteral("Nowy"));
    QCOMPARE(label(QStringLiteral("t1"))->text(), QStringLiteral("00:00:05"));
    // Escape is OK.
    QTest::keyClick(m_window->focusWidget(), Qt::Key_Escape);
    QCOMPARE(closed.size(), 2);
    QVERIFY(!m_window->isVisible());
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    RegisterBundledFonts();
    ResultsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "results_window_test.moc"
