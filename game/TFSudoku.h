// The game window: the diagram, dealing and revealing, cell input, verification and the end of a game.
#pragma once

#include "Board.h"
#include "GameClock.h"
#include "SkinnedWindow.h"
#include "UsedPuzzleFlags.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QTimer;
class TImageButton;

namespace Ui {
class TFSudoku;
}

// The 81 cells are the labels L11 … L99 (row digit, then column digit). Their
// font colour is the mark of a cell's state: exactly black for an open cell,
// the given colour for a fixed one. The cell under the last hover over an open
// cell bears the mark (it is underlined); the digit keys write into it. Every
// change of a cell goes through showCell, which shows it as the board holds it.
//
// Opened from the menu, centred at every showing; while it is up the balloon
// hint is light blue. Closing it only hides it: board, clock (which may go on
// running) and the dealt-puzzle flags stay for the next showing, and the menu
// is unlocked.
class TFSudoku : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit TFSudoku(QWidget* parent = nullptr);
    ~TFSudoku() override;

    // The best-results window the game opens (wired at start-up).
    void setResultsWindow(SkinnedWindow* results) { m_results = results; }

    // New diagram: zero the clock, deal, reveal given by given, start the clock.
    void ImageButton1Click();
    // End the game: closes the window.
    void ImageButton2Click();
    // Reset the diagram after the player confirms; the clock runs on.
    void ImageButton3Click();
    // OK on the message panel: play and the clock go on.
    void ImageButton4Click();
    // Yes on the end panel: the next diagram.
    void ImageButton5Click();
    // No on the end panel: the solved diagram stays.
    void ImageButton6Click();
    // Show the best results; the game window stays disabled until they close.
    void ImageButton7Click();
    // Verify the diagram.
    void ImageButton8Click();
    // One second of the game clock.
    void TimerTimer();

    // The pause after each given of the reveal: 40 ms during which the window
    // handles nothing. Tests replace it (an empty function restores the real one).
    static void setRevealPause(std::function<void()> pause);
    // The time of day that seeds a deal, in milliseconds since midnight UTC.
    // Tests replace it to replay a known deal (an empty function restores the clock).
    static void setDealTimeSource(std::function<std::uint32_t()> source);

    // The colours that mark a cell: given (fixed) and open.
    static QColor givenColor();
    static QColor openColor();

    // The first control when the window opens: the marked cell; Nowa gra
    // while no cell is open; otherwise the window itself, where the arrows
    // and digits work.
    QWidget* FirstControl() override;

protected:
    // The arrows move the mark over the open cells, Delete and Backspace
    // empty the marked cell, Escape presses OK, Nie or Zakończ.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The board is one stop of the focus order: the marked cell, or the first open one.
    bool FocusStopAvailable(QWidget* stop) const override;
    QWidget* FocusTarget(QWidget* stop) override;
    QWidget* FocusStopOf(QWidget* focused) const override;
    TImageButton* EscapeButton() const override;

private:
    // A cell's place on the board, row and column 1 to 9.
    struct CellPlace
    {
        int row = 0;
        int column = 0;
        bool operator==(const CellPlace&) const = default;
    };

    void FormCreate();
    void FormKeyPress(const QString& key);
    void L11MouseDown(QLabel* cell, Qt::MouseButtons held);
    void L11MouseMove(QLabel* cell);
    void RevealDiagram();

    // Moves the mark to `place` (none: takes it off an open cell), as the pointer does.
    void setMark(std::optional<CellPlace> place);
    // The arrows: the next open cell that way, wrapping at the edge; the first
    // open cell while none is marked.
    void moveMark(int rowStep, int columnStep);
    std::optional<CellPlace> firstOpenCell() const;
    bool isCell(const QWidget* widget) const;

    void createCells();
    QLabel* cellAt(int row, int column) const;
    QLabel* cellAt(CellPlace place) const { return cellAt(place.row, place.column); }
    static CellPlace placeOf(const QLabel* cell);
    static bool isOpen(const QLabel* cell);
    // Shows the cell as the board holds it: its digit or the blank, the given
    // colour when fixed and black when open, underlined while it bears the mark.
    void showCell(CellPlace place);
    void setCellColor(QLabel* cell, const QColor& color);
    void updateAccessibleValue(QLabel* cell);
    void setCellsEnabled(bool enabled);
    void setColumnButtonsEnabled(bool enabled);
    Board::Snapshot snapshotFromCells() const;
    void showMessage(const QString& text);
    void showClock(const QString& text);

    std::unique_ptr<Ui::TFSudoku> ui;
    QTimer* Timer = nullptr;
    // The five buttons of the right-hand column, switched off and on together.
    std::array<TImageButton*, 5> m_columnButtons{};
    // The cell that bears the mark, if any; a solved cell keeps it until the next deal.
    std::optional<CellPlace> m_mark;
    Board m_board;
    GameClock m_clock;
    UsedPuzzleFlags m_usedPuzzles;
    SkinnedWindow* m_results = nullptr;
};

extern TFSudoku* FSudoku;
