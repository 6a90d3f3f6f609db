// The game window: the diagram, dealing and revealing, cell input, verification and the end of a game.
#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

#include "Board.h"
#include "GameClock.h"
#include "UsedPuzzleFlags.h"

class QLabel;
class QTimer;

namespace Ui {
class TFSudoku;
}

// The 81 cells are the labels L11 … L99 (row digit, then column digit). Their
// font colour is the mark of a cell's state: exactly black for an open cell,
// the given colour for a fixed one. The cell under the last hover over an open
// cell is underlined; the digit keys write into it.
//
// Closing the window only hides it: board, clock (which may go on running) and
// the dealt-puzzle flags stay for the next showing. FormClosed() tells the
// menu to unlock itself.
class TFSudoku : public QWidget
{
    Q_OBJECT

public:
    explicit TFSudoku(QWidget* parent = nullptr);
    ~TFSudoku() override;

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

signals:
    void FormClosed();

public:
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormKeyPress(const QString& key);
    void L11MouseDown(QLabel* cell, Qt::MouseButtons held);
    void L11MouseMove(QLabel* cell);
    void RevealDiagram();

    void createCells();
    QLabel* cellAt(int row, int column) const;
    static bool isOpen(const QLabel* cell);
    static bool isMarked(const QLabel* cell);
    void setCellStyle(QLabel* cell, bool underlined);
    void setCellColor(QLabel* cell, const QColor& color);
    void setCellText(QLabel* cell, const QString& text);
    void updateAccessibleValue(QLabel* cell);
    void setCellsEnabled(bool enabled);
    void setButtonsEnabled(std::initializer_list<QWidget*> buttons, bool enabled);
    Board::Snapshot snapshotFromCells() const;
    void showMessage(const QString& text);
    void showClock(const QString& text);

    Ui::TFSudoku* ui;
    QTimer* Timer = nullptr;
    std::array<std::array<QLabel*, 9>, 9> m_cells{};
    Board m_board;
    GameClock m_clock;
    UsedPuzzleFlags m_usedPuzzles;
};

extern TFSudoku* FSudoku;
