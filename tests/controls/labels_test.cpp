// Tests of the link label's fonts under the mouse and of the shadow label's painting and size.
#define QTEST_QPA_MOUSE_HANDLING
#include "BundledFonts.h"
#include "KeyboardCues.h"
#include "TSensitiveLabel.h"
#include "TShadowLabel.h"
#include "TestPictures.h"

#include <QAccessible>
#include <QCursor>
#include <QSignalSpy>
#include <QtTest>

class LabelsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegisterBundledFonts(); }
    void cleanup() { QCursor::setPos(1000, 1000); }

    void linkTakesHoverAndPressedFonts();
    void linkIgnoresTheMiddleButtonAndRestoresOnAnyRelease();
    void linkCopiesOnlyColourFamilySizeAndStyle();
    void linkOpensOnAReleaseAnywhereOnIt_data();
    void linkOpensOnAReleaseAnywhereOnIt();
    void linkIsReachedAndOpenedFromTheKeyboard();
    void shadowIsDrawnBeforeTheText();
    void shadowGoesToEachOfItsFourPositions_data();
    void shadowGoesToEachOfItsFourPositions();
    void autoSizeCoversTextAndShadow();
    void rightAlignedLabelKeepsItsRightEdge();
    void accelCharAndLineBreaks();
    void disabledLabelUsesGreyText();
};

namespace {

QFont pixelFont(const QString &family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

struct LinkWindow
{
    QWidget window;
    TSensitiveLabel *link;

    LinkWindow()
    {
        window.resize(300, 100);
        link = new TSensitiveLabel(&window);
        link->setText(QStringLiteral("sudoku@example.pl"));
        link->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 13));
        QFont down = pixelFont(QStringLiteral("MS Sans Serif"), 13);
        link->setFontMouseDown(down);
        QFont hover = pixelFont(QStringLiteral("MS Sans Serif"), 13);
        hover.setUnderline(true);
        link->setFontMouseMove(hover);
        link->setFontMouseMoveColor(QColor(0, 0, 255));
        link->move(20, 20);
        link->adjustSize();
        window.show();
    }
};

}  // namespace

void LabelsTest::linkTakesHoverAndPressedFonts()
{
    LinkWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TSensitiveLabel *link = w.link;
    QVERIFY(!link->ActiveMouseMove());
    QTest::mouseMove(&w.window, QPoint(250, 80));
    QTest::mouseMove(link, QPoint(5, 5));
    QVERIFY(link->font().underline());
    QCOMPARE(link->fontColor(), QColor(0, 0, 255));
    QVERIFY(paintsColour(link, QColor(0, 0, 255)));

    QSignalSpy clicks(link, &TSensitiveLabel::OnClick);
    QTest::mousePress(link, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(link->fontColor(), QColor(255, 0, 0));
    QVERIFY(!link->font().underline());
    QVERIFY(paintsColour(link, QColor(255, 0, 0)));
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.count(), 1);
    // Back to the default control font (the bundled stand-in for MS Sans
    // Serif), not to the font the label had before.
    QCOMPARE(link->font().pointSize(), 8);
    QCOMPARE(link->font().family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(link->fontColor(), TSensitiveLabel::NormalFont().color);

    QTest::mouseMove(link, QPoint(6, 5));
    QTest::mouseMove(&w.window, QPoint(250, 80));
    QVERIFY(!link->font().underline());
    QCOMPARE(link->font().pointSize(), 8);

    // Whoever gives it another font or text afterwards, it fits them.
    const auto fitsItsText = [link] {
        const QRect drawn = link->fontMetrics().boundingRect(QRect(0, 0, 4000, 4000), int(link->alignment()),
                                                             link->text());
        return link->size() == link->sizeHint().expandedTo(drawn.size());
    };
    QFont underlined = pixelFont(QStringLiteral("MS Sans Serif"), 13);
    underlined.setUnderline(true);
    link->setFont(underlined);
    QVERIFY(fitsItsText());
    link->setText(QStringLiteral("kontakt@sudoku.example.pl"));
    QVERIFY(fitsItsText());
    link->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 13));
    QVERIFY(fitsItsText());
}

void LabelsTest::linkOpensOnAReleaseAnywhereOnIt_data()
{
    // Where on the link, as a share of its width and height under the pointer.
    QTest::addColumn<double>("across");
    QTest::addColumn<double>("down");
    QTest::newRow("middle") << 0.5 << 0.5;
    QTest::newRow("last letters") << 0.97 << 0.5;
    QTest::newRow("bottom row") << 0.5 << 0.99;
}

void LabelsTest::linkOpensOnAReleaseAnywhereOnIt()
{
    QFETCH(double, across);
    QFETCH(double, down);
    LinkWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TSensitiveLabel *link = w.link;
    QTest::mouseMove(&w.window, QPoint(250, 80));
    QTest::mouseMove(link, QPoint(5, 5));
    // The hover font is larger than the normal one the release gives back.
    const QPoint where(int(link->width() * across), int(link->height() * down));
    QSignalSpy clicks(link, &TSensitiveLabel::OnClick);
    QTest::mousePress(link, Qt::LeftButton, {}, where);
    QTest::mouseRelease(link, Qt::LeftButton, {}, where);
    QCOMPARE(clicks.count(), 1);
}

void LabelsTest::linkIsReachedAndOpenedFromTheKeyboard()
{
    LinkWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TSensitiveLabel *link = w.link;
    const QFont before = link->font();
    QSignalSpy clicks(link, &TSensitiveLabel::OnClick);
    // Focused without the keyboard: no mark.
    link->setFocus(Qt::OtherFocusReason);
    QVERIFY(!link->font().underline());
    link->clearFocus();
    // Reached from the keyboard, it shows the focus as the hover font does.
    QTest::keyClick(&w.window, Qt::Key_Tab);
    link->setFocus(Qt::TabFocusReason);
    QVERIFY(link->hasFocus());
    QVERIFY(link->font().underline());
    QCOMPARE(link->fontColor(), QColor(0, 0, 255));
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
        QTest::keyClick(link, key);
    QCOMPARE(clicks.count(), 3);
    QTest::keyClick(link, Qt::Key_A);
    QCOMPARE(clicks.count(), 3);
    // The pointer used elsewhere hides the mark: the label looks as before it.
    QTest::mouseClick(&w.window, Qt::LeftButton, {}, QPoint(250, 80));
    QVERIFY(!KeyboardCuesShown(link));
    QCOMPARE(link->font(), before);
    QCOMPARE(QAccessible::queryAccessibleInterface(link)->role(), QAccessible::Link);
    QVERIFY(QAccessible::queryAccessibleInterface(link)->state().focusable);
}

void LabelsTest::linkIgnoresTheMiddleButtonAndRestoresOnAnyRelease()
{
    LinkWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TSensitiveLabel *link = w.link;
    QTest::mouseMove(&w.window, QPoint(250, 80));
    QTest::mouseMove(link, QPoint(5, 5));
    QTest::mousePress(link, Qt::MiddleButton, {}, QPoint(5, 5));
    QCOMPARE(link->fontColor(), QColor(0, 0, 255));
    QTest::mouseRelease(link, Qt::MiddleButton, {}, QPoint(5, 5));
    QCOMPARE(link->fontColor(), TSensitiveLabel::NormalFont().color);

    QTest::mousePress(link, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(link->fontColor(), QColor(255, 0, 0));
    QTest::mouseRelease(link, Qt::RightButton, {}, QPoint(5, 5));

    link->setActiveMouseDown(false);
    QTest::mousePress(link, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(link->fontColor(), TSensitiveLabel::NormalFont().color);
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(5, 5));
}

void LabelsTest::linkCopiesOnlyColourFamilySizeAndStyle()
{
    LinkWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QFont own = w.link->font();
    own.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    own.setKerning(false);
    w.link->setFont(own);
    QTest::mouseMove(&w.window, QPoint(250, 80));
    QTest::mouseMove(w.link, QPoint(5, 5));
    QCOMPARE(w.link->font().letterSpacing(), 2.0);
    QVERIFY(!w.link->font().kerning());
    QCOMPARE(w.link->font().pixelSize(), 13);
}

void LabelsTest::shadowIsDrawnBeforeTheText()
{
    TShadowLabel label;
    label.setFont(pixelFont(QStringLiteral("Garamond"), 21));
    label.setShadowSize(0);
    label.setShadowColor(QColor(255, 0, 0));
    label.setColor(Qt::white);
    label.setText(QStringLiteral("Błąd"));
    // Shadow and text on the same spot: only the text colour may remain.
    QVERIFY(paintsColour(&label, QColor(0, 0, 0)));
    QVERIFY(!paintsColour(&label, QColor(255, 0, 0)));
    QCOMPARE(paintedAt(&label, QPoint(0, 0)), QColor(Qt::white));
    label.setTransparent(true);
    QVERIFY(paintedAt(&label, QPoint(0, 0)) != QColor(Qt::white));
}

void LabelsTest::shadowGoesToEachOfItsFourPositions_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QPoint>("offset");
    QTest::newRow("left top") << int(TShadowLabel::spLeftTop) << QPoint(-3, -3);
    QTest::newRow("left bottom") << int(TShadowLabel::spLeftBottom) << QPoint(-3, 3);
    QTest::newRow("right bottom") << int(TShadowLabel::spRightBottom) << QPoint(3, 3);
    QTest::newRow("right top") << int(TShadowLabel::spRightTop) << QPoint(3, -3);
}

void LabelsTest::shadowGoesToEachOfItsFourPositions()
{
    QFETCH(int, position);
    QFETCH(QPoint, offset);
    const QRect text = TShadowLabel::textRect(QRect(0, 0, 65, 17));
    QCOMPARE(text, QRect(1, 0, 63, 17));
    QCOMPARE(TShadowLabel::shadowRect(text, TShadowLabel::ShadowPosition(position), 3), text.translated(offset));

    // And the painted shadow really lies that way from the text.
    TShadowLabel label;
    label.setFont(pixelFont(QStringLiteral("Garamond"), 21));
    label.setText(QStringLiteral("H"));
    label.setShadowColor(QColor(255, 0, 0));
    label.setColor(Qt::white);
    label.setAutoSize(false);
    label.resize(40, 40);
    label.setShadowSize(3);
    label.setShadowPos(TShadowLabel::ShadowPosition(position));
    label.setText(QStringLiteral("HH"));
    const QImage image = label.grab().toImage();
    auto centroid = [&image](QColor colour) {
        QPoint sum;
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == colour) {
                    sum += QPoint(x, y);
                    ++count;
                }
        return count ? QPointF(sum) / count : QPointF();
    };
    const QPointF shift = centroid(QColor(255, 0, 0)) - centroid(QColor(0, 0, 0));
    QVERIFY2(shift.x() * offset.x() > 0 && shift.y() * offset.y() > 0,
             qPrintable(QStringLiteral("%1,%2").arg(shift.x()).arg(shift.y())));
}

void LabelsTest::autoSizeCoversTextAndShadow()
{
    TShadowLabel label;
    QCOMPARE(label.size(), QSize(65, 17));
    label.setFont(pixelFont(QStringLiteral("Garamond"), 21));
    label.setText(QStringLiteral("Gratulacje!"));
    const QFontMetrics metrics(label.font());
    const QRect extent = metrics.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::AlignLeft, label.text());
    QCOMPARE(label.size(), QSize(extent.width() + 2, extent.height()));

    label.setShadowPos(TShadowLabel::spRightBottom);
    QCOMPARE(label.size(), QSize(extent.width() + 2, extent.height()));   // repaint only
    label.setShadowSize(3);
    QCOMPARE(label.size(), QSize(extent.width() + 5, extent.height() + 3));
}

void LabelsTest::rightAlignedLabelKeepsItsRightEdge()
{
    QWidget parent;
    TShadowLabel label(&parent);
    label.setFont(pixelFont(QStringLiteral("Garamond"), 21));
    label.setAlignment(Qt::AlignRight);
    label.setGeometry(100, 10, 65, 17);
    label.setText(QStringLiteral("Bardzo długi napis"));
    QCOMPARE(label.geometry().right(), 164);
    QVERIFY(label.width() > 65);
}

void LabelsTest::accelCharAndLineBreaks()
{
    TShadowLabel label;
    label.setFont(pixelFont(QStringLiteral("MS Sans Serif"), 13));
    label.setText(QStringLiteral("&Tak"));
    const int withAccel = label.width();
    label.setShowAccelChar(false);
    label.setText(QStringLiteral("&Tak "));
    label.setText(QStringLiteral("&Tak"));
    QVERIFY(label.width() > withAccel);   // the ampersand shows

    const int oneLine = label.height();
    label.setText(QStringLiteral("   Diagram\rjest &rozwiązany"));
    QVERIFY(label.height() >= 2 * oneLine);

    // Screen readers read the caption as text: its lines, no placing blanks.
    QAccessibleInterface *text = QAccessible::queryAccessibleInterface(&label);
    QCOMPARE(text->role(), QAccessible::StaticText);
    QCOMPARE(text->text(QAccessible::Name), QStringLiteral("Diagram\njest &rozwiązany"));
    label.setShowAccelChar(true);
    QCOMPARE(text->text(QAccessible::Name), QStringLiteral("Diagram\njest rozwiązany"));
}

void LabelsTest::disabledLabelUsesGreyText()
{
    TShadowLabel label;
    label.setFont(pixelFont(QStringLiteral("Garamond"), 21));
    label.setText(QStringLiteral("Koniec"));
    label.setColor(Qt::white);
    label.setShadowColor(QColor(255, 0, 0));
    label.setEnabled(false);
    QVERIFY(!paintsColour(&label, QColor(255, 0, 0)));
    QVERIFY(!paintsColour(&label, QColor(0, 0, 0)));
    label.setEnabled(true);
    QVERIFY(paintsColour(&label, QColor(255, 0, 0)));
}

QTEST_MAIN(LabelsTest)
#include "labels_test.moc"
