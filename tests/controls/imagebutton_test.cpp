// Tests of the picture button: its looks under real mouse events, clicks and the disabled state.
// Mouse events go through the platform layer, as a real mouse's do (double clicks included);
// the pointer moves as a real one does, so the button can ask where it is.
#define QTEST_QPA_MOUSE_HANDLING
#include "KeyboardCues.h"
#include "TImageButton.h"
#include "TestPictures.h"

#include <QAccessible>
#include <QCursor>
#include <QSignalSpy>
#include <QtTest>

namespace {
const QColor Normal(200, 0, 0), Over(0, 200, 0), Down(0, 0, 200), Disabled(120, 120, 120);
const QSize PictureSize(40, 30);
}  // namespace

class ImageButtonTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hoverPressReleaseLeaveShowsEachLook();
    void releaseOutsideGivesNoClick();
    void doubleClickClicksOnce();
    void rightButtonDoesNothing();
    void repaintAfterReleaseKeepsLitLook();
    void disablingWithoutDisabledPictureFreezesTheLook();
    void disabledPictureShowsAtItsOwnSize();
    void clickThatDisablesKeepsPressedLook_data();
    void clickThatDisablesKeepsPressedLook();
    void releaseLooksWhereThePointerIsNow();
    void settingBitmapResizesAtOnce();
    void doublePicturesKeepLayoutSize();
    void screenReadersSeeAPushButton();
    void keyboardFocusLightsAndPressesTheButton();

private:
    QColor look() const { return paintedAt(m_button, QPoint(5, 5)); }
    QPoint centre() const { return m_button->rect().center(); }
    QPoint outside() const { return QPoint(200, 150); }
    // The pointer itself moves (enter, leave and moves follow from it).
    static void pointAt(QWidget *widget, QPoint position)
    {
        QCursor::setPos(widget->mapToGlobal(position));
        QCoreApplication::processEvents();
    }

    QWidget *m_window = nullptr;
    TImageButton *m_button = nullptr;
    int m_parkShift = 0;
};

void ImageButtonTest::init()
{
    m_window = new QWidget;
    m_window->resize(300, 200);
    m_button = new TImageButton(m_window);
    m_button->move(20, 20);
    m_button->setBitmapOver(solidPicture(PictureSize, Over));
    m_button->setBitmapUp(solidPicture(PictureSize, Over));
    m_button->setBitmapDown(solidPicture(PictureSize, Down));
    m_button->setBitmap(solidPicture(PictureSize, Normal));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    // The pointer starts beside the button (a move to where it already is would be dropped).
    pointAt(m_window, outside() + QPoint(m_parkShift++ % 2, 0));
}

void ImageButtonTest::cleanup()
{
    delete m_window;
    QCursor::setPos(1000, 1000);
}

void ImageButtonTest::hoverPressReleaseLeaveShowsEachLook()
{
    // Tab reaches it; a click never takes the focus.
    QCOMPARE(m_button->focusPolicy(), Qt::TabFocus);
    QCOMPARE(look(), Normal);
    pointAt(m_button, centre());
    QCOMPARE(look(), Over);
    QSignalSpy downs(m_button, &TImageButton::OnMouseDown);
    QTest::mousePress(m_button, Qt::LeftButton, {}, centre());
    QCOMPARE(look(), Down);
    QCOMPARE(downs.count(), 1);

    QList<QColor> looksDuringClick;
    connect(m_button, &TImageButton::OnClick, this, [&] { looksDuringClick << look(); });
    QSignalSpy ups(m_button, &TImageButton::OnMouseUp);
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, centre());
    QCOMPARE(looksDuringClick, QList<QColor>{Down});
    QCOMPARE(ups.count(), 1);
    QCOMPARE(look(), Over);

    pointAt(m_window, outside());
    QCOMPARE(look(), Normal);
}

void ImageButtonTest::releaseOutsideGivesNoClick()
{
    QSignalSpy clicks(m_button, &TImageButton::OnClick);
    pointAt(m_button, centre());
    QTest::mousePress(m_button, Qt::LeftButton, {}, centre());
    pointAt(m_button, QPoint(100, 100));
    QCOMPARE(look(), Normal);
    pointAt(m_button, centre());
    QCOMPARE(look(), Over);
    pointAt(m_button, QPoint(100, 100));
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(100, 100));
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(look(), Normal);
}

void ImageButtonTest::doubleClickClicksOnce()
{
    QSignalSpy clicks(m_button, &TImageButton::OnClick);
    pointAt(m_button, centre());
    QTest::mouseDClick(m_button, Qt::LeftButton, {}, centre());
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(look(), Over);
}

void ImageButtonTest::rightButtonDoesNothing()
{
    QSignalSpy clicks(m_button, &TImageButton::OnClick);
    QSignalSpy downs(m_button, &TImageButton::OnMouseDown);
    QSignalSpy ups(m_button, &TImageButton::OnMouseUp);
    pointAt(m_button, centre());
    QTest::mousePress(m_button, Qt::RightButton, {}, centre());
    QCOMPARE(look(), Over);
    QTest::mouseRelease(m_button, Qt::RightButton, {}, centre());
    QCOMPARE(look(), Over);
    QCOMPARE(clicks.count() + downs.count() + ups.count(), 0);
}

void ImageButtonTest::repaintAfterReleaseKeepsLitLook()
{
    pointAt(m_button, centre());
    QTest::mouseClick(m_button, Qt::LeftButton, {}, centre());
    m_button->hide();
    m_button->show();
    QCOMPARE(look(), Over);
}

void ImageButtonTest::disablingWithoutDisabledPictureFreezesTheLook()
{
    QSignalSpy clicks(m_button, &TImageButton::OnClick);
    pointAt(m_button, centre());
    m_button->setEnabled(false);
    QCOMPARE(look(), Over);
    pointAt(m_window, outside());
    QCOMPARE(look(), Over);
    pointAt(m_button, centre());
    QTest::mouseClick(m_button, Qt::LeftButton, {}, centre());
    QCOMPARE(look(), Over);
    QCOMPARE(clicks.count(), 0);

    m_button->setEnabled(true);
    QCOMPARE(look(), Over);
    pointAt(m_window, outside());
    QCOMPARE(look(), Normal);
}

void ImageButtonTest::disabledPictureShowsAtItsOwnSize()
{
    m_button->setBitmapDisabled(solidPicture(QSize(44, 32), Disabled));
    QCOMPARE(m_button->size(), PictureSize);
    // Locking the whole window (another one is up) keeps the button's look.
    m_window->setEnabled(false);
    QCOMPARE(m_button->size(), PictureSize);
    QCOMPARE(look(), Normal);
    m_window->setEnabled(true);

    m_button->setEnabled(false);
    QCOMPARE(m_button->size(), QSize(44, 32));
    QCOMPARE(look(), Disabled);
    // A layout that sets the normal picture after disabling the button still shows the disabled one.
    m_button->setBitmap(solidPicture(PictureSize, Normal));
    QCOMPARE(m_button->size(), QSize(44, 32));
    QCOMPARE(look(), Disabled);
    m_button->setEnabled(true);
    QCOMPARE(look(), Normal);
}

void ImageButtonTest::clickThatDisablesKeepsPressedLook_data()
{
    QTest::addColumn<bool>("wholeWindow");
    QTest::addColumn<bool>("pointerStays");
    QTest::addColumn<bool>("covered");
    QTest::addColumn<QColor>("lookWhenEnabled");
    QTest::newRow("the button itself") << false << true << false << Down;
    QTest::newRow("its window, pointer gone") << true << false << false << Normal;
    QTest::newRow("its window, pointer back on it") << true << true << false << Over;
    // The window the click opened unlocks this one as it closes, still in front.
    QTest::newRow("its window, unlocked by the window in front") << true << true << true << Over;
}

void ImageButtonTest::clickThatDisablesKeepsPressedLook()
{
    QFETCH(bool, wholeWindow);
    QFETCH(bool, pointerStays);
    QFETCH(bool, covered);
    QFETCH(QColor, lookWhenEnabled);
    QWidget *locked = wholeWindow ? m_window : static_cast<QWidget *>(m_button);
    QSignalSpy ups(m_button, &TImageButton::OnMouseUp);
    QWidget cover(nullptr, Qt::FramelessWindowHint);
    cover.setGeometry(QRect(m_button->mapToGlobal(QPoint(-5, -5)), QSize(80, 60)));
    connect(m_button, &TImageButton::OnClick, m_button, [&] {
        if (covered)
            cover.show();
        locked->setEnabled(false);
    });
    pointAt(m_button, centre());
    QTest::mouseClick(m_button, Qt::LeftButton, {}, centre());
    QCOMPARE(ups.count(), 0);
    // A window opened by the click locks this one: the button takes no pointer
    // meanwhile and shows its normal picture.
    QCOMPARE(look(), wholeWindow ? Normal : Down);
    if (!covered) {
        pointAt(m_window, outside());
        if (pointerStays)
            pointAt(m_button, centre() + QPoint(1, 0));
    }
    locked->setEnabled(true);
    cover.hide();
    QTRY_COMPARE(look(), lookWhenEnabled);
}

void ImageButtonTest::releaseLooksWhereThePointerIsNow()
{
    // The click asks a question: meanwhile the pointer leaves the button. The button stays pressed while the question is up, and the
    // release step looks at where the pointer is once it is answered.
    QList<QColor> looksDuringClick;
    connect(m_button, &TImageButton::OnClick, this, [&] {
        pointAt(m_window, outside());
        looksDuringClick << look();
    });
    pointAt(m_button, centre());
    QTest::mouseClick(m_button, Qt::LeftButton, {}, centre());
    QCOMPARE(looksDuringClick, QList<QColor>{Down});
    QCOMPARE(look(), Normal);

    // Back over it, a release shows the lit picture again.
    disconnect(m_button, &TImageButton::OnClick, this, nullptr);
    pointAt(m_button, centre());
    QTest::mouseClick(m_button, Qt::LeftButton, {}, centre());
    QCOMPARE(look(), Over);
}

void ImageButtonTest::settingBitmapResizesAtOnce()
{
    m_button->setBitmap(solidPicture(QSize(72, 99), Normal));
    QCOMPARE(m_button->size(), QSize(72, 99));
    QCOMPARE(paintedAt(m_button, QPoint(71, 98)), Normal);
    // Other pictures do not resize.
    m_button->setBitmapOver(solidPicture(QSize(10, 10), Over));
    QCOMPARE(m_button->size(), QSize(72, 99));
    // Hovering shows the smaller picture at its own size.
    pointAt(m_button, QPoint(5, 5));
    QCOMPARE(m_button->size(), QSize(10, 10));
}

void ImageButtonTest::doublePicturesKeepLayoutSize()
{
    m_button->setBitmap(solidPicture(QSize(130, 44), Normal, 2.0));
    QCOMPARE(m_button->size(), QSize(130, 44));
}

void ImageButtonTest::screenReadersSeeAPushButton()
{
    m_button->setPictureWord(QStringLiteral("Start"));
    QAccessibleInterface *button = QAccessible::queryAccessibleInterface(m_button);
    QVERIFY(button);
    QCOMPARE(button->role(), QAccessible::Button);
    QCOMPARE(button->text(QAccessible::Name), QStringLiteral("Start"));
    m_button->setToolTip(QStringLiteral("Kliknij, aby zacząć"));
    QCOMPARE(button->text(QAccessible::Name), QStringLiteral("Kliknij, aby zacząć"));
    QCOMPARE(button->text(QAccessible::Description), QStringLiteral("Start"));

    // Its press action clicks it, with the pressed picture while the click runs.
    QList<QColor> looksDuringClick;
    connect(m_button, &TImageButton::OnClick, this, [&] { looksDuringClick << look(); });
    QAccessibleActionInterface *actions = button->actionInterface();
    QVERIFY(actions);
    QCOMPARE(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(looksDuringClick, QList<QColor>{Down});
    QCOMPARE(look(), Normal);

    // Disabled, it says so and cannot be pressed.
    m_button->setEnabled(false);
    QVERIFY(button->state().disabled);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(looksDuringClick.size(), 1);
}

void ImageButtonTest::keyboardFocusLightsAndPressesTheButton()
{
    QSignalSpy clicks(m_button, &TImageButton::OnClick);
    QList<QColor> looksDuringClick;
    connect(m_button, &TImageButton::OnClick, this, [&] { looksDuringClick << look(); });

    // The focus alone shows nothing: a mouse player never sees a focus mark.
    m_button->setFocus(Qt::OtherFocusReason);
    QVERIFY(m_button->hasFocus());
    QCOMPARE(look(), Normal);
    m_button->clearFocus();
    // Tab reaches the button and shows the window's focus cues: it is lit.
    QTest::keyClick(m_window, Qt::Key_Tab);
    QVERIFY(m_button->hasFocus());
    QVERIFY(KeyboardCuesShown(m_button));
    QCOMPARE(look(), Over);

    // Enter clicks as the mouse does: pressed while OnClick runs, lit after.
    QTest::keyClick(m_button, Qt::Key_Return);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(looksDuringClick, QList<QColor>{Down});
    QCOMPARE(look(), Over);
    // Space presses on the way down and clicks on the way up.
    QTest::keyPress(m_button, Qt::Key_Space);
    QCOMPARE(look(), Down);
    QCOMPARE(clicks.count(), 1);
    QTest::keyRelease(m_button, Qt::Key_Space);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(look(), Over);
    // Other keys are the window's.
    QTest::keyClick(m_button, Qt::Key_A);
    QCOMPARE(clicks.count(), 2);

    // The pointer used in the window takes the cues away; the focus stays.
    QTest::mouseClick(m_window, Qt::LeftButton, {}, outside());
    QVERIFY(!KeyboardCuesShown(m_button));
    QVERIFY(m_button->hasFocus());
    QCOMPARE(look(), Normal);
    // A click on the button never gives it the focus.
    m_button->clearFocus();
    pointAt(m_button, centre());
    QTest::mouseClick(m_button, Qt::LeftButton, {}, centre());
    QVERIFY(!m_button->hasFocus());
}

QTEST_MAIN(ImageButtonTest)
#include "imagebutton_test.moc"
