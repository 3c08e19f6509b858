// The board grid's model: column and row counts, cell sizes from the grid's
// client size, and the cell texts ("Q" or empty).
#pragma once

#include <string>
#include <vector>

namespace zp::queens {

class TChessBoard {
 public:
  TChessBoard();

  int ColCount() const { return cols_; }
  int RowCount() const { return rows_; }
  // Grows or shrinks the grid; cells keep their texts where they remain.
  void SetSize(int Cols, int Rows);

  int ClientWidth() const { return client_width_; }
  int ClientHeight() const { return client_height_; }
  void SetClientSize(int Width, int Height);

  int DefaultColWidth() const { return col_width_; }
  int DefaultRowHeight() const { return row_height_; }
  // Cells of Width div Genes by Height div Genes; nothing when Genes is 0.
  void FitCells(int Genes);

  // Text of a cell; empty outside the grid.
  const std::string& Cell(int Col, int Row) const;
  // Sets a cell's text; a cell outside the grid is not kept.
  void SetCell(int Col, int Row, const std::string& Text);
  void ClearColumn(int Col);

  // One line per row, "Q" or "." per cell.
  std::vector<std::string> Lines() const;

 private:
  int cols_ = 8, rows_ = 8;
  int client_width_ = 197, client_height_ = 197;
  int col_width_ = 24, row_height_ = 24;
  std::vector<std::string> cells_;  // row-major
};

}  // namespace zp::queens
