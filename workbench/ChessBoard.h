// The board grid's model: column and row counts, cell sizes from the grid's
// client size, the cell texts ("Q" or empty), which queens another attacks,
// and a caption for a board that is the best found rather than a solution.
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
  // Empties the column's cells and their attack marks.
  void ClearColumn(int Col);

  // A queen that another queen attacks (shown marked); false outside the grid.
  bool Attacked(int Col, int Row) const;
  void SetAttacked(int Col, int Row, bool Value);

  // What the board shows when it is no solution ("Best found: Elitist, fitness 27 of 28"); empty for a solution.
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string Caption) { caption_ = std::move(Caption); }

  // One line per row, "Q" or "." per cell, "X" for an attacked queen.
  std::vector<std::string> Lines() const;

 private:
  int cols_ = 8, rows_ = 8;
  int client_width_ = 197, client_height_ = 197;
  int col_width_ = 24, row_height_ = 24;
  std::vector<std::string> cells_;  // row-major
  std::vector<bool> attacked_;      // row-major
  std::string caption_;
};

}  // namespace zp::queens
