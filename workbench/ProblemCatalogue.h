// The problems a run can be asked for by name: "nqueens", "onemax",
// "leadingones" and "jump:K", each with its sizes, its IOHprofiler function
// and a maker of the problem for one size.
//
//   const TProblemChoice jump = ParseProblemName("jump:3");   // jump.FileTag() == "jump3"
//   std::unique_ptr<IProblem> problem = jump.Make(64);
#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "workbench/Problem.h"

namespace zp::queens {

enum class TProblemKind { pkNQueens, pkOneMax, pkLeadingOnes, pkJump };

struct TProblemChoice {
  TProblemKind Kind = TProblemKind::pkNQueens;
  int32_t K = 0;  // Jump's gap; 0 for the others

  // As the options write it: "nqueens", "onemax", "leadingones", "jump:3".
  std::string Name() const;
  // In file names: the name without its colon ("jump3").
  std::string FileTag() const;
  // The IOHprofiler function: 1 NQueens, 2 OneMax, 3 LeadingOnes, 4 Jump.
  int32_t FuncId() const;
  // "NQueens", "OneMax", "LeadingOnes", "Jump_3".
  std::string FuncName() const;
  // For captions: "8 queens", "OneMax, size 64", "Jump_3, size 64".
  std::string Caption(int32_t Size) const;
  int32_t MinSize() const;
  int32_t MaxSize() const;
  // Empty when Size suits the problem, else why not ("64 is not a size of nqueens: 4 to 32").
  std::string SizeError(int32_t Size) const;
  std::unique_ptr<IProblem> Make(int32_t Size) const;

  auto operator<=>(const TProblemChoice&) const = default;
};

// "nqueens", "onemax", "leadingones" or "jump:K" with K >= 1, letter case as
// written; empty for anything else.
std::optional<TProblemChoice> ParseProblemName(const std::string& Text);

// The names ParseProblemName takes, for messages: "nqueens, onemax, leadingones or jump:K".
inline constexpr const char* kProblemNames = "nqueens, onemax, leadingones or jump:K";

}  // namespace zp::queens
