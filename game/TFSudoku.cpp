// The game window: the diagram, dealing and revealing, cell input, verification and the end of a game.
#include "TFSudoku.h"

#include "ui_TFSudoku.h"

#include "Accessibility.h"
#include "BestResults.h"
#include "DealPuzzle.h"
#include "StandardDialogs.h"
#include "TPictureText.h"
#include "WindowLook.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <thread>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <timeapi.h>
#endif

TFSudoku* FSudoku = nullptr;

namespace {

// Where the cells lie: the grid of the window picture is not quite regular.
constexpr int CellWidth = 41;
constexpr std::array<int, 9> CellTops = {58, 91, 123, 155, 187, 219, 251, 284, 316};
constexpr std::array<int, 9> CellHeights = {32, 31, 31, 31, 31, 31, 32, 31, 31};
constexpr int cellLeft(int column) { return 25 + 42 * (column - 1); }

// The zero-based row and column a cell stands for ("00" for L11, "88" for L99);
// kept on the label and never shown. The verification places values by it.
constexpr const char* HintProperty = "Hint";

const QString PlayerName = QStringLiteral("Gracz");

std::function<void()>& revealPause()
{
    static std::function<void()> pause;
    return pause;
}

std::function<std::uint32_t()>& dealTimeSource()
{
    static std::function<std::uint32_t()> source;
    return source;
}

std::uint32_t millisecondsSinceMidnightUtc()
{
    if (dealTimeSource())
        return dealTimeSource()();
    return static_cast<std::uint32_t>(QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay());
}

// Windows wakes a sleeping thread only at its timer's ticks, 15.6 ms apart
// unless a program asks for finer ones: a 40 ms pause would last 47 ms. While
// one lives, the timer ticks every millisecond; only the reveal's pauses ask,
// so the rest of the time the system keeps its coarse, power-saving ticks.
class FineTimerTicks
{
public:
#ifdef Q_OS_WIN
    FineTimerTicks() : m_raised(timeBeginPeriod(1) == TIMERR_NOERROR) {}
    ~FineTimerTicks()
    {
        if (m_raised)
            timeEndPeriod(1);
    }

private:
    bool m_raised;
#endif
};

void pauseAfterGiven()
{
    [[maybe_unused]] const FineTimerTicks fineTicks;
    if (revealPause()) {
        revealPause()();
        return;
    }
    // The reveal deliberately holds the thread: no click, key or tick is handled
    // meanwhile. A sleep may end a little early by the steady clock (Windows
    // counts it in timer ticks): the pause lasts until 40 ms have passed.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(40);
    for (Clock::time_point now = Clock::now(); now < end; now = Clock::now())
        std::this_thread::sleep_for(end - now);
}

QFont cellFont(bool underlined)
{
    QFont font(QStringLiteral("Garamond"));
    font.setPixelSize(21);
    font.setBold(true);
    font.setUnderline(underlined);
    return font;
}

// The window's font at the largest pixel size whose two lines fit a message box of the given
// height. The bundled Garamond's lines are about 1.3 em high, taller than those the layout's
// boxes were measured with, so two lines at the window's 21 pixels would need 55.
QFont messageFont(int boxHeight)
{
    QFont font = cellFont(false);
    while (font.pixelSize() > 12 && 2 * QFontMetrics(font).lineSpacing() > boxHeight)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QFont clockFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(19);
    font.setBold(true);
    return font;
}

QString cellName(int row, int column)
{
    return QStringLiteral("L%1%2").arg(row).arg(column);
}

} // namespace

// --- Creation, showing, closing ------------------------------------------

TFSudoku::TFSudoku(QWidget* parent)
    : SkinnedWindow(parent)
    , ui(std::make_unique<Ui::TFSudoku>())
{
    // The window's font first: the controls of the layout take it as they are
    // made, instead of each being told of a change afterwards.
    setFont(cellFont(false));
    ui->setupUi(this);
    ui->p_czas->setFont(clockFont());
    // Behind the results window the game keeps its look: only the window is
    // locked, the clock keeps its ink and the buttons their pictures. The
    // clock keeps its box: its font is registered only once the menu shows.
    FinishLayout(ui->ShapedForm1, LabelFit::AsLaidOut);
    setBalloonColour(WindowColour::Tips);
    m_columnButtons = {ui->ImageButton1, ui->ImageButton2, ui->ImageButton3, ui->ImageButton7, ui->ImageButton8};

    ui->PanelZle->hide();
    ui->PanelKoniec->hide();
    // The messages keep their boxes, under the panels' buttons.
    for (TShadowLabel* message : {ui->ShadowLabel1, ui->ShadowLabel2})
        message->setFont(messageFont(message->height()));

    // What a screen reader reads, in this order: the title on the window's
    // picture, the board row by row, the clock, the buttons from the top, and
    // a message panel when one is up (it announces itself).
    new TPictureText(QStringLiteral("Diagram SUDOKU"), QRect(60, 8, 300, 44), this);
    createCells();
    // Raising also stacks: the clock and the message panels lie above the
    // cells and the buttons.
    ReadInOrder({ui->p_czas, ui->ImageButton7, ui->ImageButton1, ui->ImageButton3, ui->ImageButton8, ui->ImageButton2,
                 ui->PanelZle, ui->PanelKoniec});
    for (QWidget *picture : {ui->Image1, ui->Image2})
        picture->setAccessibleName(QStringLiteral("UWAGA"));
    ReadAsAlert(ui->PanelZle);
    ReadAsAlert(ui->PanelKoniec);
    // Tab goes the same way: the board (one stop), the buttons from the top,
    // and the buttons of a message panel while one is up.
    setFocusOrder({cellAt(1, 1), ui->ImageButton7, ui->ImageButton1, ui->ImageButton3, ui->ImageButton8,
                   ui->ImageButton2, ui->ImageButton4, ui->ImageButton5, ui->ImageButton6});
    showClock(QStringLiteral("00:00:00"));

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(1000);
    connect(Timer, &QTimer::timeout, this, &TFSudoku::TimerTimer);

    connect(ui->ImageButton1, &TImageButton::OnClick, this, &TFSudoku::ImageButton1Click);
    connect(ui->ImageButton2, &TImageButton::OnClick, this, &TFSudoku::ImageButton2Click);
    connect(ui->ImageButton3, &TImageButton::OnClick, this, &TFSudoku::ImageButton3Click);
    connect(ui->ImageButton4, &TImageButton::OnClick, this, &TFSudoku::ImageButton4Click);
    connect(ui->ImageButton5, &TImageButton::OnClick, this, &TFSudoku::ImageButton5Click);
    connect(ui->ImageButton6, &TImageButton::OnClick, this, &TFSudoku::ImageButton6Click);
    connect(ui->ImageButton7, &TImageButton::OnClick, this, &TFSudoku::ImageButton7Click);
    connect(ui->ImageButton8, &TImageButton::OnClick, this, &TFSudoku::ImageButton8Click);

    FormCreate();
}

TFSudoku::~TFSudoku() = default;

void TFSudoku::createCells()
{
    // 81 labels from one formula; every cell starts fixed (blue) and takes the
    // shared mouse handlers through the event filter.
    for (int row = 1; row <= 9; ++row) {
        for (int column = 1; column <= 9; ++column) {
            auto* cell = new QLabel(this);
            cell->setObjectName(cellName(row, column));
            cell->setGeometry(cellLeft(column), CellTops[row - 1], CellWidth, CellHeights[row - 1]);
            cell->setAlignment(Qt::AlignCenter);
            cell->setFont(cellFont(false));
            cell->setProperty(HintProperty, QStringLiteral("%1%2").arg(row - 1).arg(column - 1));
            // Hover marks a cell, so moves without a button held must reach it.
            cell->setMouseTracking(true);
            cell->setFocusPolicy(Qt::NoFocus);
            cell->setAccessibleName(QStringLiteral("Wiersz %1, kolumna %2").arg(row).arg(column));
            setCellColor(cell, givenColor());
            updateAccessibleValue(cell);
            cell->installEventFilter(this);
        }
    }
}

void TFSudoku::FormCreate()
{
    // The welcome board: KLIKNIJ, NOWA GRA between two rows of '#', all in the
    // given colour, so no cell takes input before the first deal. It is not
    // the board's: the first deal replaces every cell.
    const auto write = [this](int row, int column, const QString& text) {
        QLabel* cell = cellAt(row, column);
        cell->setText(text);
        updateAccessibleValue(cell);
    };
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column)
            write(row, column, QString());
    for (int column = 1; column <= 9; ++column) {
        write(1, column, QStringLiteral("#"));
        write(9, column, QStringLiteral("#"));
    }
    const auto spell = [&write](int row, int firstColumn, const QString& word) {
        for (int i = 0; i < word.size(); ++i)
            write(row, firstColumn + i, word.at(i));
    };
    spell(3, 2, QStringLiteral("KLIKNIJ"));
    spell(5, 2, QStringLiteral("NOWA"));
    spell(6, 6, QStringLiteral("GRA"));

    ui->PanelZle->move(95, ui->PanelZle->y());
    ui->PanelKoniec->move(95, ui->PanelKoniec->y());
    // Qt widgets are double-buffered already; nothing to switch on.
    // m_usedPuzzles starts with all 231 flags clear.
}

void TFSudoku::ImageButton2Click()
{
    // Closing hides the window; the timer and the board are left alone.
    close();
}

// --- Cells ---------------------------------------------------------------

QColor TFSudoku::givenColor()
{
    // GivenColor holds red in its lowest byte, then green, then blue.
    return QColor(GivenColor & 0xFF, (GivenColor >> 8) & 0xFF, (GivenColor >> 16) & 0xFF);
}

QColor TFSudoku::openColor()
{
    return QColor(0, 0, 0);
}

QLabel* TFSudoku::cellAt(int row, int column) const
{
    return findChild<QLabel*>(cellName(row, column), Qt::FindDirectChildrenOnly);
}

TFSudoku::CellPlace TFSudoku::placeOf(const QLabel* cell)
{
    // The cell's name gives its place: L, row digit, column digit.
    return {cell->objectName().at(1).digitValue(), cell->objectName().at(2).digitValue()};
}

bool TFSudoku::isOpen(const QLabel* cell)
{
    return cell->palette().color(QPalette::Active, QPalette::WindowText) == openColor();
}

void TFSudoku::showCell(CellPlace place)
{
    QLabel* cell = cellAt(place);
    cell->setText(QString::fromStdString(Board::CellText(m_board.Value(place.row, place.column))));
    setCellColor(cell, m_board.IsFixed(place.row, place.column) ? givenColor() : openColor());
    const bool marked = m_mark == place;
    if (cell->font().underline() != marked)
        cell->setFont(cellFont(marked));
    updateAccessibleValue(cell);
}

void TFSudoku::setCellColor(QLabel* cell, const QColor& color)
{
    // One colour in every state: a disabled cell (behind a message) keeps its look.
    if (cell->palette().color(QPalette::Active, QPalette::WindowText) == color)
        return;
    QPalette palette = cell->palette();
    palette.setColor(QPalette::WindowText, color);
    cell->setPalette(palette);
}

void TFSudoku::updateAccessibleValue(QLabel* cell)
{
    // What a screen reader says after the cell's place: its digit, or that it
    // is empty, and whether the player may change it.
    const QString text = cell->text().trimmed();
    const bool open = isOpen(cell);
    QString value;
    if (text.isEmpty())
        value = open ? QStringLiteral("puste, do wypełnienia") : QStringLiteral("puste, zablokowane");
    else if (text.size() == 1 && text.at(0).isDigit())
        value = open ? QStringLiteral("%1, wpisana").arg(text) : QStringLiteral("%1, podana").arg(text);
    else
        value = text;
    if (cell->accessibleDescription() != value)
        cell->setAccessibleDescription(value);
}

void TFSudoku::setCellsEnabled(bool enabled)
{
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column)
            cellAt(row, column)->setEnabled(enabled);
}

void TFSudoku::setColumnButtonsEnabled(bool enabled)
{
    for (TImageButton* button : m_columnButtons)
        button->setEnabled(enabled);
}

bool TFSudoku::eventFilter(QObject* watched, QEvent* event)
{
    auto* cell = qobject_cast<QLabel*>(watched);
    if (!cell || cell->parent() != this || !cell->property(HintProperty).isValid())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The second press of a double click counts like any other.
        if (cell->isEnabled())
            L11MouseDown(cell, static_cast<QMouseEvent*>(event)->buttons());
        return true;
    case QEvent::MouseMove:
        if (cell->isEnabled())
            L11MouseMove(cell);
        return true;
    case QEvent::MouseButtonRelease:
        return true;
    case QEvent::ToolTip:
        // The hint text places the cell; it is never shown.
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void TFSudoku::L11MouseDown(QLabel* cell, Qt::MouseButtons held)
{
    if (!isOpen(cell))
        return;
    const CellPlace place = placeOf(cell);
    // Decided by the buttons held, the one just pressed included: a right
    // press while the left button is down still steps forward.
    if (held & Qt::LeftButton)
        m_board.StepUp(place.row, place.column);
    else if (held & Qt::RightButton)
        m_board.StepDown(place.row, place.column);
    else
        return;
    showCell(place);
}

void TFSudoku::L11MouseMove(QLabel* cell)
{
    setMark(isOpen(cell) ? std::optional(placeOf(cell)) : std::nullopt);
}

void TFSudoku::setMark(std::optional<CellPlace> place)
{
    // The mark leaves an open cell; a solved cell keeps it until the next deal.
    const std::optional<CellPlace> previous = m_mark;
    if (m_mark && isOpen(cellAt(*m_mark)))
        m_mark.reset();
    if (place)
        m_mark = place;
    if (previous && previous != m_mark)
        showCell(*previous);
    if (m_mark)
        showCell(*m_mark);
}

// --- The keyboard -----------------------------------------------------------------

std::optional<TFSudoku::CellPlace> TFSudoku::firstOpenCell() const
{
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column)
            if (isOpen(cellAt(row, column)))
                return CellPlace{row, column};
    return std::nullopt;
}

void TFSudoku::moveMark(int rowStep, int columnStep)
{
    // Behind a message panel the cells take no pointer, and no arrows either.
    if (!cellAt(1, 1)->isEnabled())
        return;
    std::optional<CellPlace> target;
    if (m_mark && isOpen(cellAt(*m_mark))) {
        CellPlace place = *m_mark;
        for (int step = 0; step < 8 && !target; ++step) {
            place.row = (place.row - 1 + rowStep + 9) % 9 + 1;
            place.column = (place.column - 1 + columnStep + 9) % 9 + 1;
            if (isOpen(cellAt(place)))
                target = place;
        }
        if (!target)
            target = m_mark;
    } else {
        target = firstOpenCell();
    }
    if (!target)
        return;
    setMark(target);
    // The marked cell is the focus: a screen reader says its place and what it holds.
    cellAt(*target)->setFocus(Qt::OtherFocusReason);
}

void TFSudoku::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left: moveMark(0, -1); return;
    case Qt::Key_Right: moveMark(0, 1); return;
    case Qt::Key_Up: moveMark(-1, 0); return;
    case Qt::Key_Down: moveMark(1, 0); return;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        FormKeyPress(QStringLiteral("0"));
        return;
    default:
        if (!event->text().isEmpty())
            FormKeyPress(event->text());
        SkinnedWindow::keyPressEvent(event);
    }
}

bool TFSudoku::isCell(const QWidget* widget) const
{
    return widget && widget->parent() == this && widget->property(HintProperty).isValid();
}

bool TFSudoku::FocusStopAvailable(QWidget* stop) const
{
    if (isCell(stop))
        return stop->isVisible() && stop->isEnabled() && firstOpenCell().has_value();
    return SkinnedWindow::FocusStopAvailable(stop);
}

QWidget* TFSudoku::FocusTarget(QWidget* stop)
{
    if (!isCell(stop))
        return stop;
    // Reached by Tab, the board marks the cell it gives the focus to.
    if (!m_mark || !isOpen(cellAt(*m_mark)))
        setMark(firstOpenCell());
    return m_mark ? cellAt(*m_mark) : nullptr;
}

QWidget* TFSudoku::FocusStopOf(QWidget* focused) const
{
    return isCell(focused) ? cellAt(1, 1) : SkinnedWindow::FocusStopOf(focused);
}

QWidget* TFSudoku::FirstControl()
{
    if (m_mark && isOpen(cellAt(*m_mark)))
        return cellAt(*m_mark);
    if (!firstOpenCell() && canTakeFocus(ui->ImageButton1))
        return ui->ImageButton1;
    return nullptr;
}

TImageButton* TFSudoku::EscapeButton() const
{
    if (ui->PanelZle->isVisible())
        return ui->ImageButton4;
    if (ui->PanelKoniec->isVisible())
        return ui->ImageButton6;
    return ui->ImageButton2;
}

void TFSudoku::FormKeyPress(const QString& key)
{
    if (key.size() != 1 || key.at(0) < QLatin1Char('0') || key.at(0) > QLatin1Char('9'))
        return;
    // The marked cell takes the digit when it is open; '0' blanks it.
    // Whether the cell is enabled does not matter.
    if (!m_mark || !isOpen(cellAt(*m_mark)))
        return;
    m_board.SetValue(m_mark->row, m_mark->column, key.at(0).digitValue());
    showCell(*m_mark);
}

// --- New diagram, reveal and reset -----------------------------------------

void TFSudoku::setRevealPause(std::function<void()> pause)
{
    revealPause() = std::move(pause);
}

void TFSudoku::setDealTimeSource(std::function<std::uint32_t()> source)
{
    dealTimeSource() = std::move(source);
}

void TFSudoku::ImageButton1Click()
{
    // The focus waits on the window while the buttons are off, and comes back.
    const QPointer<QWidget> focusBefore = focusWidget();
    setFocus(Qt::OtherFocusReason);
    setColumnButtonsEnabled(false);
    m_clock.Reset();
    showClock(QStringLiteral("00:00:00"));
    ui->PanelZle->hide();
    ui->PanelKoniec->hide();

    DealPuzzle(m_board, m_usedPuzzles, millisecondsSinceMidnightUtc());
    RevealDiagram();

    // A running timer is left running: enabling it again would restart its second.
    if (!Timer->isActive())
        Timer->start();
    setColumnButtonsEnabled(true);
    if (focusWidget() == this && focusBefore && canTakeFocus(focusBefore))
        focusBefore->setFocus(Qt::OtherFocusReason);
}

void TFSudoku::RevealDiagram()
{
    // No cell bears the mark until the pointer next moves over an open one.
    m_mark.reset();
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column) {
            QLabel* cell = cellAt(row, column);
            if (cell->font().underline())
                cell->setFont(cellFont(false));
            cell->setEnabled(true);
        }
    // Row by row, each row from the left: every given is painted at once and
    // followed by a pause, so the givens appear one by one. Repainting the
    // given's cell brings every change made since the last repaint to the
    // screen (the open cells cleared on the way, the styles set above) without
    // redrawing the rest of the window.
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column) {
            showCell({row, column});
            if (m_board.IsFixed(row, column)) {
                cellAt(row, column)->repaint();
                pauseAfterGiven();
            }
        }
}

void TFSudoku::ImageButton3Click()
{
    if (!AskYesNo(this, QStringLiteral("UWAGA"),
                  QStringLiteral("Czy na pewno chcesz wyresetować ten diagram sudoku.\rWszystkie wprowadzone przez "
                                 "Ciebie liczby zostaną usunięte, ale czas nadal będzie płyną, nie będzie odliczany "
                                 "od 0 !!!")))
        return;
    setCellsEnabled(true);
    // Every open cell is emptied; a marked one stays marked.
    m_board.ClearOpen();
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column)
            if (isOpen(cellAt(row, column)))
                showCell({row, column});
    ui->PanelZle->hide();
    ui->PanelKoniec->hide();
}

void TFSudoku::TimerTimer()
{
    m_clock.Tick();
    showClock(QString::fromStdString(m_clock.Text()));
}

void TFSudoku::showClock(const QString& text)
{
    // The clock is named "Czas gry"; a screen reader hears the time as its
    // description, one change a second.
    ui->p_czas->setText(text);
    ui->p_czas->setAccessibleDescription(text);
}

// --- Verification and the end of a game -----------------------------------

Board::Snapshot TFSudoku::snapshotFromCells() const
{
    // Values come from what the cells show, placed by each cell's hint text.
    Board::Snapshot values{};
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column) {
            const QLabel* cell = cellAt(row, column);
            const QString hint = cell->property(HintProperty).toString();
            const int hintRow = hint.size() == 2 ? hint.at(0).digitValue() : -1;
            const int hintColumn = hint.size() == 2 ? hint.at(1).digitValue() : -1;
            if (hintRow < 0 || hintRow > 8 || hintColumn < 0 || hintColumn > 8)
                continue;
            values[hintRow][hintColumn] = Board::TextValue(cell->text().toStdString());
        }
    return values;
}

void TFSudoku::showMessage(const QString& text)
{
    ui->ShadowLabel1->setText(text);
    ui->PanelZle->show();
    ui->PanelKoniec->hide();
}

void TFSudoku::ImageButton8Click()
{
    // The focus comes back here when the message panel closes; meanwhile it
    // waits on the window, so nothing focused is switched off under the player.
    QWidget* const focusBefore = focusWidget();
    setFocus(Qt::OtherFocusReason);
    setColumnButtonsEnabled(false);
    Timer->stop();
    setCellsEnabled(false);

    switch (Board::Verify(snapshotFromCells())) {
    case VerifyResult::Incomplete:
        showMessage(QStringLiteral("      Diagram jest niekompletny !!!\rNie wszystkie pola zostały wypełnione"));
        EnterPanel(ui->ImageButton4, focusBefore);
        return;
    case VerifyResult::Incorrect:
        showMessage(QStringLiteral("Diagram SUDOKU został wypełniony\rw całości, ale niestety niepoprawnie."));
        EnterPanel(ui->ImageButton4, focusBefore);
        return;
    case VerifyResult::Solved:
        break;
    }

    ui->PanelZle->hide();
    ui->PanelKoniec->show();
    EnterPanel(ui->ImageButton5, focusBefore);
    setCellsEnabled(true);
    // Every cell becomes fixed; a marked one keeps its underline.
    m_board.FixAll();
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column)
            showCell({row, column});

    const std::int32_t seconds = m_clock.TotalSeconds();
    BestResults results;
    if (!results.Admits(seconds))
        return;
    bool accepted = false;
    QString name = AskText(this, QStringLiteral("GRATULACJE, pobiłeś rekord i ..."),
                           QStringLiteral("zostaniesz wpisany do listy najlepszych jako ..."), PlayerName, 255,
                           &accepted);
    if (!accepted)
        name = PlayerName;
    if (name.isEmpty())
        return;
    results.Add(name.toStdString(), seconds);
}

void TFSudoku::ImageButton4Click()
{
    setColumnButtonsEnabled(true);
    setCellsEnabled(true);
    Timer->start();
    ui->PanelZle->hide();
    LeavePanel();
}

void TFSudoku::ImageButton5Click()
{
    setCellsEnabled(true);
    ui->PanelKoniec->hide();
    ImageButton1Click();
    LeavePanel();
}

void TFSudoku::ImageButton6Click()
{
    for (TImageButton* button : {ui->ImageButton1, ui->ImageButton2, ui->ImageButton7})
        button->setEnabled(true);
    setCellsEnabled(true);
    ui->PanelKoniec->hide();
    LeavePanel();
}

void TFSudoku::ImageButton7Click()
{
    // The game window stays disabled until the results window closes; a
    // running clock keeps counting.
    Open(m_results, ui->ImageButton7);
}
