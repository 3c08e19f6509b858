#include "app/BoardView.h"

#include <QColor>
#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

#include "workbench/ChessBoard.h"

namespace zp::app {

namespace {

const QColor kLightSquare(0xF0, 0xD9, 0xB5);
const QColor kDarkSquare(0xB5, 0x88, 0x63);
const QColor kQueen(0x20, 0x14, 0x0C);
// A queen another attacks, on a best-found board: red on a lighter red square, told apart by more than colour.
const QColor kAttackedQueen(0xB0, 0x00, 0x00);
const QColor kAttackedSquare(0xF4, 0xB4, 0xB4);

void SetUpHeader(QHeaderView& Header) {
  Header.setVisible(false);
  // Many queens make small cells; the header must not round them up.
  Header.setMinimumSectionSize(0);
  Header.setSectionResizeMode(QHeaderView::Fixed);
}

// The queens' letter grows with the cells, staying legible from 4 to 32 queens.
int LetterPixelSize(const queens::TChessBoard& Board) {
  const int cell = std::min(Board.DefaultColWidth(), Board.DefaultRowHeight());
  return std::clamp(cell * 3 / 5, std::min(cell, 9), 28);
}

}  // namespace

QTableWidget* CreateBoardGrid(QWidget* Parent) {
  auto* grid = new QTableWidget(Parent);  // owned by Parent
  SetUpHeader(*grid->horizontalHeader());
  SetUpHeader(*grid->verticalHeader());
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::NoSelection);
  grid->setShowGrid(false);  // the squares' colours mark the cells
  grid->setCornerButtonEnabled(false);
  return grid;
}

QSize BoardClientSize(const QTableWidget& Grid) {
  // Not the viewport's size: that is only brought up to date once the grid is shown.
  const int frame = 2 * Grid.frameWidth();
  return {std::max(0, Grid.width() - frame), std::max(0, Grid.height() - frame)};
}

void ShowBoard(QTableWidget& Grid, const queens::TChessBoard& Board) {
  Grid.setColumnCount(Board.ColCount());
  Grid.setRowCount(Board.RowCount());
  Grid.horizontalHeader()->setDefaultSectionSize(Board.DefaultColWidth());
  Grid.verticalHeader()->setDefaultSectionSize(Board.DefaultRowHeight());

  QFont font = Grid.font();
  font.setBold(true);
  font.setPixelSize(LetterPixelSize(Board));
  if (font != Grid.font()) Grid.setFont(font);

  for (int r = 0; r < Board.RowCount(); ++r)
    for (int c = 0; c < Board.ColCount(); ++c) {
      QTableWidgetItem* item = Grid.item(r, c);
      if (!item) {
        item = new QTableWidgetItem;  // owned by Grid from setItem on
        item->setTextAlignment(Qt::AlignCenter);
        Grid.setItem(r, c, item);
      }
      const bool attacked = Board.Attacked(c, r);
      const QColor square = attacked ? kAttackedSquare : (r + c) % 2 == 0 ? kLightSquare : kDarkSquare;
      if (item->background().color() != square) item->setBackground(square);
      const QColor letter = attacked ? kAttackedQueen : kQueen;
      if (item->foreground().color() != letter) item->setForeground(letter);
      const QString text = QString::fromStdString(Board.Cell(c, r));
      if (item->text() != text) item->setText(text);
      const QString tip = attacked ? QStringLiteral("Attacked by another queen") : QString();
      if (item->toolTip() != tip) item->setToolTip(tip);
    }
}

}  // namespace zp::app
