#include "app/ExperimentResults.h"

#include <cmath>

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
  differs_text_.clear();
  differs_tip_.clear();
  for (const experiment::TSummaryRow& row : summary_) {
    differing_.push_back(experiment::DifferingMethods(Comparisons, experiment::CellOf(row), row.Method));
    QStringList shown, tip;
    for (const ga::TGASelectionMethod other : differing_.back()) {
      // The row of the pair whose Holm-adjusted p is smallest says who is better and by how much.
      const experiment::TComparisonRow* best = nullptr;
      for (const experiment::TComparisonRow& c : Comparisons)
        if (experiment::CellOf(c) == experiment::CellOf(row) && c.PHolm &&
            ((c.MethodA == row.Method && c.MethodB == other) || (c.MethodA == other && c.MethodB == row.Method)) &&
            (!best || *c.PHolm < *best->PHolm))
          best = &c;
      if (!best || !best->Effect) {
        shown << MethodLegendCaption(other);
        continue;
      }
      const bool row_is_a = best->MethodA == row.Method;
      const bool row_better = best->AWins == row_is_a;
      // The effect as the better method has it: A12 above 0.5, an odds ratio above 1.
      const bool a12 = best->Test == experiment::TPairedTest::ptWilcoxonSignedRank;
      double effect = *best->Effect;
      // An odds ratio of 0 (the better one alone hit in every discordant repeat) turned round is infinite.
      QString shown_effect;
      if (!best->AWins && !a12 && effect == 0)
        shown_effect = QStringLiteral("\u221e");
      else {
        if (!best->AWins) effect = a12 ? 1 - effect : 1 / effect;
        shown_effect = std::isinf(effect) ? QStringLiteral("\u221e") : QString::fromStdString(FormatFixed(effect, 2));
      }
      shown << tr("%1 (%2, %3 %4)")
                   .arg(MethodLegendCaption(other), row_better ? tr("worse") : tr("better"),
                        a12 ? tr("A12") : tr("odds"), shown_effect);
    }
    for (const experiment::TComparisonRow& c : Comparisons) {
      if (experiment::CellOf(c) != experiment::CellOf(row) || (c.MethodA != row.Method && c.MethodB != row.Method))
        continue;
      const auto number = [](const std::optional<double>& v, int digits) {
        return v ? QString::fromStdString(FormatFixed(*v, digits)) : QStringLiteral("\u2013");
      };
      tip << tr("%1 against %2, %3: %4 better in %5, %6 in %7; p %8, Holm %9, %10 %11")
                 .arg(MethodLegendCaption(c.MethodA), MethodLegendCaption(c.MethodB),
                      c.Test == experiment::TPairedTest::ptMcNemarExact ? tr("McNemar on hits")
                                                                        : tr("signed ranks on run lengths"),
                      MethodLegendCaption(c.MethodA))
                 .arg(c.ABetter)
                 .arg(MethodLegendCaption(c.MethodB))
                 .arg(c.BBetter)
                 .arg(number(c.PValue, 4), number(c.PHolm, 4),
                      c.Test == experiment::TPairedTest::ptMcNemarExact ? tr("odds ratio") : tr("A12"),
                      number(c.Effect, 2));
    }
    differs_text_.push_back(shown.isEmpty() ? kUndefined : shown.join(QStringLiteral("; ")));
    differs_tip_.push_back(tip.isEmpty() ? tr("No comparison: fewer than two methods or repeats")
                                         : tip.join(QLatin1Char('\n')));
  }
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
  if (Role == Qt::ToolTipRole && Index.column() == colDiffers) return differs_tip_[static_cast<size_t>(Index.row())];
  if (Role != Qt::DisplayRole) return {};
  switch (Index.column()) {
    case colProblem: {
      const auto chosen = queens::ParseProblemName(row.Problem);
      return QString::fromStdString(chosen ? chosen->Caption(row.Size) : row.Problem);
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
    case colDiffers:
      return differs_text_[static_cast<size_t>(Index.row())];
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
