#include "workbench/ChessBoard.h"

#include <algorithm>

namespace zp::queens {

namespace {
const std::string kEmpty;
}

TChessBoard::TChessBoard() : cells_(static_cast<size_t>(cols_ * rows_)), attacked_(cells_.size()) {}

void TChessBoard::SetSize(int Cols, int Rows) {
  if (Cols < 0) Cols = 0;
  if (Rows < 0) Rows = 0;
  std::vector<std::string> cells(static_cast<size_t>(Cols * Rows));
  std::vector<bool> attacked(cells.size());
  for (int r = 0; r < std::min(Rows, rows_); ++r)
    for (int c = 0; c < std::min(Cols, cols_); ++c) {
      const auto from = static_cast<size_t>(r * cols_ + c), to = static_cast<size_t>(r * Cols + c);
      cells[to] = std::move(cells_[from]);
      attacked[to] = attacked_[from];
    }
  cells_ = std::move(cells);
  attacked_ = std::move(attacked);
  cols_ = Cols;
  rows_ = Rows;
}

void TChessBoard::SetClientSize(int Width, int Height) {
  client_width_ = Width;
  client_height_ = Height;
}

void TChessBoard::FitCells(int Genes) {
  if (Genes <= 0) return;
  col_width_ = client_width_ / Genes;
  row_height_ = client_height_ / Genes;
}

const std::string& TChessBoard::Cell(int Col, int Row) const {
  if (Col < 0 || Row < 0 || Col >= cols_ || Row >= rows_) return kEmpty;
  return cells_[static_cast<size_t>(Row * cols_ + Col)];
}

void TChessBoard::SetCell(int Col, int Row, const std::string& Text) {
  if (Col < 0 || Row < 0 || Col >= cols_ || Row >= rows_) return;
  cells_[static_cast<size_t>(Row * cols_ + Col)] = Text;
}

void TChessBoard::ClearColumn(int Col) {
  for (int r = 0; r < rows_; ++r) {
    SetCell(Col, r, "");
    SetAttacked(Col, r, false);
  }
}

bool TChessBoard::Attacked(int Col, int Row) const {
  if (Col < 0 || Row < 0 || Col >= cols_ || Row >= rows_) return false;
  return attacked_[static_cast<size_t>(Row * cols_ + Col)];
}

void TChessBoard::SetAttacked(int Col, int Row, bool Value) {
  if (Col < 0 || Row < 0 || Col >= cols_ || Row >= rows_) return;
  attacked_[static_cast<size_t>(Row * cols_ + Col)] = Value;
}

std::vector<std::string> TChessBoard::Lines() const {
  std::vector<std::string> lines;
  for (int r = 0; r < rows_; ++r) {
    std::string line;
    for (int c = 0; c < cols_; ++c) line += Cell(c, r) != "Q" ? "." : Attacked(c, r) ? "X" : "Q";
    lines.push_back(line);
  }
  return lines;
}

}  // namespace zp::queens
