// The board grid: a QTableWidget without headers or scroll bars that shows
// the workbench's board model, "Q" on the queens' cells, squares coloured
// like a chessboard.
//
//   QTableWidget* grid = CreateBoardGrid(window);
//   ShowBoard(*grid, workbench.Board());   // after every change of the model
#pragma once

#include <QSize>

class QTableWidget;
class QWidget;

namespace zp::queens {
class TChessBoard;
}

namespace zp::app {

// An empty grid set up as a board: no headers, scroll bars, editing or selection.
QTableWidget* CreateBoardGrid(QWidget* Parent);

// The grid's client size, the room its cells are fitted into (0 x 0 for a collapsed grid).
QSize BoardClientSize(const QTableWidget& Grid);

// Column and row counts, cell sizes and cell texts from Board.
void ShowBoard(QTableWidget& Grid, const queens::TChessBoard& Board);

}  // namespace zp::app
