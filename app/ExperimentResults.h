// TExperimentResults: the table of the Experiments page, one row per problem,
// size, configuration and method: the success rate with its 95% interval, the expected
// running time, the median hit generation of the runs that hit the target and the methods
// that differ from the row's after Holm's correction, each with which of the
// two is better and by how much (the tooltip holds every comparison of the row's method). The values are the
// experiment layer's summary and comparisons, those nqueens-ga batch writes.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "experiment/Comparisons.h"
#include "experiment/Summary.h"

namespace zp::app {

class TExperimentResults : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum TColumn { colProblem, colSize, colConfig, colMethod, colSuccess, colErt, colMedian, colDiffers, colCount };

  explicit TExperimentResults(QObject* Parent = nullptr);

  // Shows Summary's rows; Comparisons name the differing methods. Empty in, no rows.
  void SetResults(std::vector<experiment::TSummaryRow> Summary,
                  const std::vector<experiment::TComparisonRow>& Comparisons);
  void Clear() { SetResults({}, {}); }
  const std::vector<experiment::TSummaryRow>& Summary() const { return summary_; }

  int rowCount(const QModelIndex& Parent = {}) const override;
  int columnCount(const QModelIndex& Parent = {}) const override;
  QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
  QVariant headerData(int Section, Qt::Orientation Orientation, int Role = Qt::DisplayRole) const override;

 private:
  std::vector<experiment::TSummaryRow> summary_;
  std::vector<std::vector<ga::TGASelectionMethod>> differing_;  // per row of summary_
  std::vector<QString> differs_text_, differs_tip_;             // per row: the effects, and every comparison
};

// The caption a method has in the graph's and the ECDF's legends ("Stochastic Tournament").
QString MethodLegendCaption(ga::TGASelectionMethod Method);

}  // namespace zp::app
