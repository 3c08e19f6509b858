#include "app/ExperimentResults.h"

#include "engine/SelectionMethods.h"
#include "experiment/Report.h"
#include "platform/Numbers.h"
#include "workbench/ProblemCatalogue.h"

namespace zp::app {

namespace {

// One decimal in every locale, as nqueens-ga prints its table.
QString OneDecimal(double Value) { return QString::fromStdString(FormatFixed(Value, 1)); }

QString Percent(double Fraction) { return OneDecimal(100 * Fraction) + QLatin1Char('%'); }

const QString kUndefined = QStringLiteral("\u2013");  // en dash: nothing solved

}  // namespace

QString MethodLegendCaption(ga::TGASelectionMethod Method) {
  const ga::TSelectionMethodInfo* method = ga::FindMethod(Method);
  if (!method) return QString::fromStdString(ga::ToString(Method));
  return QString::fromUtf8(method->Caption.data(), static_cast<qsizetype>(method->Caption.size()));
}

TExperimentResults::TExperimentResults(QObject* Parent) : QAbstractTableModel(Parent) {}

void TExperimentResults::SetResults(std::vector<experiment::TSummaryRow> Summary,
                                    const std::vector<experiment::TComparisonRow>& Comparisons) {
  beginResetModel();
  summary_ = std::move(Summary);
  differing_.clear();
  for (const experiment::TSummaryRow& row : summary_)
    differing_.push_back(experiment::DifferingMethods(Comparisons, experiment::CellOf(row), row.Method));
  endResetModel();
}

int TExperimentResults::rowCount(const QModelIndex& Parent) const {
  return Parent.isValid() ? 0 : static_cast<int>(summary_.size());
}

int TExperimentResults::columnCount(const QModelIndex& Parent) const { return Parent.isValid() ? 0 : colCount; }

QVariant TExperimentResults::data(const QModelIndex& Index, int Role) const {
  if (!Index.isValid() || Index.row() >= rowCount()) return {};
  const experiment::TSummaryRow& row = summary_[static_cast<size_t>(Index.row())];
  if (Role == Qt::TextAlignmentRole) {
    const bool text = Index.column() == colProblem || Index.column() == colMethod || Index.column() == colDiffers;
    return QVariant::fromValue(Qt::AlignVCenter | (text ? Qt::AlignLeft : Qt::AlignRight));
  }
  if (Role == Qt::ToolTipRole && Index.column() == colSuccess)
    return tr("%1 of %2 runs hit the target").arg(row.Hits).arg(row.Runs);
  // The list may be cut short in its column.
  if (Role == Qt::ToolTipRole && Index.column() == colDiffers) Role = Qt::DisplayRole;
  if (Role != Qt::DisplayRole) return {};
  switch (Index.column()) {
    case colProblem: {
      const auto spec = queens::ParseProblemName(row.Problem);
      return QString::fromStdString(spec ? spec->Caption(row.Size) : row.Problem);
    }
    case colSize:
      return row.Size;
    case colConfig:
      return row.Config;
    case colMethod:
      return MethodLegendCaption(row.Method);
    case colSuccess: {
      QString text = Percent(row.SuccessRate);
      if (row.Success) text += QStringLiteral(" [%1, %2]").arg(Percent(row.Success->Low), Percent(row.Success->High));
      return text;
    }
    case colErt:
      return row.ErtGenerations ? OneDecimal(*row.ErtGenerations) : kUndefined;
    case colMedian:
      return row.HitGenerations ? OneDecimal(row.HitGenerations->Median) : kUndefined;
    case colDiffers: {
      QStringList names;
      for (const ga::TGASelectionMethod m : differing_[static_cast<size_t>(Index.row())])
        names << MethodLegendCaption(m);
      return names.isEmpty() ? kUndefined : names.join(QStringLiteral(", "));
    }
    default:
      return {};
  }
}

QVariant TExperimentResults::headerData(int Section, Qt::Orientation Orientation, int Role) const {
  if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole)
    return QAbstractTableModel::headerData(Section, Orientation, Role);
  switch (Section) {
    case colProblem:
      return tr("Problem");
    case colSize:
      return tr("Size");
    case colConfig:
      return tr("Config");
    case colMethod:
      return tr("Method");
    case colSuccess:
      return tr("Hits [95% interval]");
    case colErt:
      return tr("ERT gens");
    case colMedian:
      return tr("Median gens");
    case colDiffers:
      return tr("Differs from");
    default:
      return {};
  }
}

}  // namespace zp::app
