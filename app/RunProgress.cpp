#include "app/RunProgress.h"

#include <algorithm>
#include <string>

#include "engine/SelectionMethods.h"
#include "workbench/FitnessGraph.h"

namespace zp::app {

QString GroupThousands(int64_t Value) {
  // Through the magnitude's digits, so that the most negative value has a text too.
  const uint64_t magnitude = Value < 0 ? 0 - static_cast<uint64_t>(Value) : static_cast<uint64_t>(Value);
  const std::string digits = std::to_string(magnitude);
  std::string out = Value < 0 ? "-" : "";
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return QString::fromLatin1(out.c_str());
}

TRunProgress::TRunProgress(int64_t Target, int Methods, int64_t StartGeneration)
    : target_(std::max<int64_t>(Target, 0)), methods_(std::max(Methods, 1)), start_generation_(StartGeneration) {}

void TRunProgress::SetGeneration(int Index, int64_t Generation) {
  index_ = Index;
  done_ = Generation - start_generation_;
  known_ = true;
}

void TRunProgress::SetMethodFinished(int Index) {
  const bool last = Index + 1 >= methods_;
  index_ = last ? Index : Index + 1;
  done_ = last ? target_ : 0;
  known_ = last;
}

QString TRunProgress::Text() const {
  if (index_ < 0 || index_ >= queens::kCurves) return QStringLiteral("Running...");
  const QString method =
      QString::fromStdString(std::string(ga::kSelectionMethods[static_cast<size_t>(index_)].Caption));
  const QString place = QStringLiteral("Running %1 (%2 of %3)").arg(method).arg(index_ + 1).arg(methods_);
  if (!known_) return place;
  return QStringLiteral("%1: generation %2 of %3").arg(place, GroupThousands(done_), GroupThousands(target_));
}

int TRunProgress::Permille() const {
  if (index_ < 0) return 0;
  double within = 0;
  if (known_)
    within = target_ > 0 ? std::clamp(static_cast<double>(done_) / static_cast<double>(target_), 0.0, 1.0) : 1.0;
  const double share = (std::min(index_, methods_ - 1) + within) / methods_;
  return static_cast<int>(std::clamp(share, 0.0, 1.0) * 1000.0);
}

}  // namespace zp::app
