#include "workbench/ProblemCatalogue.h"

#include "platform/Numbers.h"
#include "workbench/BitProblems.h"
#include "workbench/QueensProblem.h"

namespace zp::queens {

namespace {

// The bit problems go up to chromosomes of 4096 bits; Jump needs room for its gap.
constexpr int32_t kMaxBits = 4096;

}  // namespace

std::string TProblemChoice::Name() const {
  switch (Kind) {
    case TProblemKind::pkNQueens:
      return "nqueens";
    case TProblemKind::pkOneMax:
      return "onemax";
    case TProblemKind::pkLeadingOnes:
      return "leadingones";
    case TProblemKind::pkJump:
      break;
  }
  return "jump:" + std::to_string(K);
}

std::string TProblemChoice::FileTag() const {
  return Kind == TProblemKind::pkJump ? "jump" + std::to_string(K) : Name();
}

int32_t TProblemChoice::FuncId() const { return static_cast<int32_t>(Kind) + 1; }

std::string TProblemChoice::FuncName() const {
  switch (Kind) {
    case TProblemKind::pkNQueens:
      return "NQueens";
    case TProblemKind::pkOneMax:
      return "OneMax";
    case TProblemKind::pkLeadingOnes:
      return "LeadingOnes";
    case TProblemKind::pkJump:
      break;
  }
  return "Jump_" + std::to_string(K);
}

std::string TProblemChoice::Caption(int32_t Size) const {
  if (Kind == TProblemKind::pkNQueens) return std::to_string(Size) + " queens";
  return FuncName() + ", size " + std::to_string(Size);
}

int32_t TProblemChoice::MinSize() const {
  switch (Kind) {
    case TProblemKind::pkNQueens:
      return kMinQueens;
    case TProblemKind::pkJump:
      return std::max(4, 2 * K + 1);
    default:
      return 2;
  }
}

int32_t TProblemChoice::MaxSize() const { return Kind == TProblemKind::pkNQueens ? kMaxQueens : kMaxBits; }

std::string TProblemChoice::SizeError(int32_t Size) const {
  if (Size >= MinSize() && Size <= MaxSize()) return "";
  const std::string sizes = Kind == TProblemKind::pkJump
                                ? "4 to " + std::to_string(kMaxBits) + ", and above twice its gap " + std::to_string(K)
                                : std::to_string(MinSize()) + " to " + std::to_string(MaxSize());
  return std::to_string(Size) + " is not a size of " + Name() + ": " + sizes;
}

std::unique_ptr<IProblem> TProblemChoice::Make(int32_t Size) const {
  switch (Kind) {
    case TProblemKind::pkNQueens:
      return std::make_unique<TQueensProblem>(Size);
    case TProblemKind::pkOneMax:
      return std::make_unique<TOneMaxProblem>(Size);
    case TProblemKind::pkLeadingOnes:
      return std::make_unique<TLeadingOnesProblem>(Size);
    case TProblemKind::pkJump:
      break;
  }
  return std::make_unique<TJumpProblem>(Size, K);
}

std::optional<TProblemChoice> ParseProblemName(const std::string& Text) {
  if (Text == "nqueens") return TProblemChoice{TProblemKind::pkNQueens, 0};
  if (Text == "onemax") return TProblemChoice{TProblemKind::pkOneMax, 0};
  if (Text == "leadingones") return TProblemChoice{TProblemKind::pkLeadingOnes, 0};
  if (Text.starts_with("jump:")) {
    const std::string k = Text.substr(5);
    // Digits only: "jump:+3" and "jump: 3" are not names.
    if (k.empty() || k.find_first_not_of("0123456789") != std::string::npos || k.size() > 4) return std::nullopt;
    const auto gap = TryStrToInt(k);
    if (gap && *gap >= 1 && *gap < kMaxBits / 2) return TProblemChoice{TProblemKind::pkJump, *gap};
  }
  return std::nullopt;
}

}  // namespace zp::queens
