// What the window says about a comparison run in progress: which method runs,
// its place among the run's methods, the generation within that method's part
// and the target, as a line of text and as a share of the whole run.
//
//   TRunProgress progress(100000, 5, 0);   // target, methods, Generation at the start
//   progress.SetGeneration(2, 6520);       // "Running Tournament (2 of 5): generation 6,520 of 100,000"
#pragma once

#include <QString>
#include <cstdint>

namespace zp::app {

// Value's digits in groups of three joined by "," in every locale ("-1,234,567").
QString GroupThousands(int64_t Value);

class TRunProgress {
 public:
  // Target: the generations each method evolves (none below 1); Methods: how many the run
  // has; StartGeneration: the component's Generation when each method starts.
  TRunProgress(int64_t Target, int Methods, int64_t StartGeneration);

  // Method Index (from 0) has reached the component's Generation.
  void SetGeneration(int Index, int64_t Generation);
  // Method Index has ended: the next one is named, without a generation until it reports one.
  void SetMethodFinished(int Index);

  // "Running Tournament (2 of 5): generation 6,520 of 100,000"; "Running..." before the first report.
  QString Text() const;
  // The share of the whole run done, in thousandths (0 to 1000).
  int Permille() const;

 private:
  int64_t target_;
  int methods_;
  int64_t start_generation_;
  int index_ = -1;      // the method running
  int64_t done_ = 0;    // its generations so far
  bool known_ = false;  // whether done_ has been reported
};

}  // namespace zp::app
