// Tests of the game's dialogs: Polish buttons, icons, the system's message font, the text prompt's font, limit,
// selection and place.
#include "StandardDialogs.h"

#include "BundledFonts.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

// Runs `answer` on the modal dialog as soon as it is open.
void whenModalOpens(std::function<void(QWidget *)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        answer(modal);
    });
}

QPushButton *buttonNamed(QWidget *dialog, const QString &text)
{
    for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

QStringList buttonTexts(QWidget *dialog)
{
    QStringList texts;
    for (QPushButton *button : dialog->findChildren<QPushButton *>())
        texts << button->text();
    texts.sort();
    return texts;
}

}  // namespace

class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setApplicationDisplayName(QStringLiteral("Sudoku"));
        RegisterBundledFonts();
    }
    void yesNoAsksWithTheInformationIcon_data();
    void yesNoAsksWithTheInformationIcon();
    void textPromptSelectsLimitsAndCentres();
    void textPromptCancelKeepsTheInitialText();
    void errorBoxCarriesTheApplicationTitle();
};

void DialogsTest::yesNoAsksWithTheInformationIcon_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("result");
    QTest::newRow("Tak") << "Tak" << true;
    QTest::newRow("Nie") << "Nie" << false;
}

void DialogsTest::yesNoAsksWithTheInformationIcon()
{
    QFETCH(QString, answer);
    QFETCH(bool, result);
    QString title, text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QFont font;
    whenModalOpens([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        font = box->font();
        buttons = buttonTexts(box);
        buttonNamed(box, answer)->click();
    });
    // Asked from a window with a font of its own, as the game's windows are.
    QWidget window;
    window.setFont(QFont(QStringLiteral("Garamond"), 16, QFont::Bold));
    QCOMPARE(AskYesNo(&window, QStringLiteral("UWAGA"), QStringLiteral("Wyczyścić diagram?\rNa pewno?")), result);
    // The system's own message font, as every program's questions have it.
    QCOMPARE(font, QApplication::font("QMessageBox"));
    QCOMPARE(title, QStringLiteral("UWAGA"));
    QCOMPARE(text, QStringLiteral("Wyczyścić diagram?\nNa pewno?"));
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(buttons, (QStringList{QStringLiteral("Nie"), QStringLiteral("Tak")}));
}

void DialogsTest::textPromptSelectsLimitsAndCentres()
{
    QString selected, caption, prompt, font;
    QStringList buttons;
    QPoint centre;
    int highlight = 0, letters = 0;
    whenModalOpens([&](QWidget *modal) {
        caption = modal->windowTitle();
        prompt = modal->findChild<QLabel *>()->text();
        buttons = buttonTexts(modal);
        centre = modal->frameGeometry().center();
        auto *edit = modal->findChild<QLineEdit *>();
        selected = edit->selectedText();
        // The game's font on every system, and the selected name drawn in it:
        // highlighted letters on the highlight (under Wine the system's
        // dialog font left the field blank).
        const QFontInfo shown(edit->font());
        font = shown.family() + ' ' + QString::number(shown.pixelSize());
        const QImage field = edit->grab().toImage();
        const QPalette &colours = edit->palette();
        for (int y = 0; y < field.height(); ++y)
            for (int x = 0; x < field.width(); ++x) {
                const QRgb pixel = field.pixel(x, y);
                highlight += pixel == colours.color(QPalette::Highlight).rgb();
                letters += pixel == colours.color(QPalette::HighlightedText).rgb() && x < field.width() / 2;
            }
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("Zbigniew Wielkopolski"));
        buttonNamed(modal, QStringLiteral("OK"))->click();
    });
    bool accepted = false;
    const QString name = AskText(nullptr, QStringLiteral("Gratulacje"), QStringLiteral("Podaj imię:"),
                                 QStringLiteral("Gracz"), 10, &accepted);
    QVERIFY(accepted);
    QCOMPARE(name, QStringLiteral("Zbigniew W"));
    QCOMPARE(selected, QStringLiteral("Gracz"));
    QCOMPARE(font, QStringLiteral("Liberation Sans 11"));
    QVERIFY2(highlight > 100 && letters > 20, qPrintable(QStringLiteral("%1 %2").arg(highlight).arg(letters)));
    QCOMPARE(caption, QStringLiteral("Gratulacje"));
    QCOMPARE(prompt, QStringLiteral("Podaj imię:"));
    QCOMPARE(buttons, (QStringList{QStringLiteral("Anuluj"), QStringLiteral("OK")}));
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    QVERIFY2(qAbs(centre.x() - screenCentre.x()) <= 3 && qAbs(centre.y() - screenCentre.y()) <= 3,
             qPrintable(QStringLiteral("%1,%2 vs %3,%4").arg(centre.x()).arg(centre.y()).arg(screenCentre.x()).arg(screenCentre.y())));
}

void DialogsTest::textPromptCancelKeepsTheInitialText()
{
    whenModalOpens([](QWidget *modal) {
        QTest::keyClicks(modal->findChild<QLineEdit *>(), QStringLiteral("xyz"));
        buttonNamed(modal, QStringLiteral("Anuluj"))->click();
    });
    bool accepted = true;
    QCOMPARE(AskText(nullptr, QStringLiteral("Gratulacje"), QStringLiteral("Podaj imię:"), QStringLiteral("Gracz"), 30,
                     &accepted),
             QStringLiteral("Gracz"));
    QVERIFY(!accepted);
}

void DialogsTest::errorBoxCarriesTheApplicationTitle()
{
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QFont font;
    whenModalOpens([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        font = box->font();
        buttons = buttonTexts(box);
        buttonNamed(box, QStringLiteral("OK"))->click();
    });
    ShowError(nullptr, QStringLiteral("Failed to set data for 'IlePoz'"));
    QCOMPARE(font, QApplication::font("QMessageBox"));
    QCOMPARE(title, QStringLiteral("Sudoku"));
    QCOMPARE(text, QStringLiteral("Failed to set data for 'IlePoz'"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
