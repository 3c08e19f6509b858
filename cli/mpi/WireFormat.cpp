#include "cli/mpi/WireFormat.h"

#include <charconv>
#include <system_error>

#include "platform/Exceptions.h"

namespace zp::cli::mpi {

namespace {

// The seconds go as the shortest text that reads back to the same double.
std::string DoubleText(double Value) {
  char text[32];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, Value);
  return std::string(text, end);
}

[[noreturn]] void Bad(const std::string& What) { throw Exception("bad report: " + What); }

// Reads Bytes from At: words up to a line end, then bodies of given lengths.
class TReader {
 public:
  explicit TReader(std::string_view Bytes) : bytes_(Bytes) {}
  bool AtEnd() const { return at_ >= bytes_.size(); }
  std::string_view Word() {
    const size_t end = bytes_.find_first_of(" \n", at_);
    if (end == std::string_view::npos) Bad("a line without its end");
    const std::string_view word = bytes_.substr(at_, end - at_);
    at_ = end + 1;
    return word;
  }
  template <typename T>
  T Number() {
    const std::string_view word = Word();
    T value{};
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) Bad("'" + std::string(word) + "' is no number");
    return value;
  }
  std::string Body(size_t Length) {
    if (Length > bytes_.size() - at_) Bad("a body cut short");
    std::string body(bytes_.substr(at_, Length));
    at_ += Length;
    return body;
  }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

}  // namespace

std::string EncodeReport(const TWorkerReport& Report) {
  std::string bytes = "want " + std::to_string(Report.Want) + " " + std::to_string(Report.Ahead) + "\n";
  if (Report.Failure) bytes += "fail " + std::to_string(Report.Failure->size()) + "\n" + *Report.Failure;
  for (const TFinishedRepeat& f : Report.Finished) {
    const experiment::TRepeatLines& l = f.Result;
    bytes += "repeat " + std::to_string(f.Index) + " " + std::to_string(l.Key.Problem) + " " +
             std::to_string(l.Key.Size) + " " + std::to_string(l.Key.Config) + " " + std::to_string(l.Key.Repeat) +
             " " + l.Problem + " " + DoubleText(l.Seconds) + " " + std::to_string(l.Runs.size()) + " " +
             std::to_string(l.Traces.size()) + "\n" + l.Runs + l.Traces;
  }
  return bytes;
}

TWorkerReport DecodeReport(std::string_view Bytes) {
  TReader in(Bytes);
  TWorkerReport report;
  if (in.Word() != "want") Bad("no want");
  report.Want = in.Number<size_t>();
  report.Ahead = in.Number<size_t>();
  while (!in.AtEnd()) {
    const std::string_view what = in.Word();
    if (what == "fail") {
      report.Failure = in.Body(in.Number<size_t>());
    } else if (what == "repeat") {
      TFinishedRepeat f;
      f.Index = in.Number<size_t>();
      f.Result.Key.Problem = in.Number<int32_t>();
      f.Result.Key.Size = in.Number<int32_t>();
      f.Result.Key.Config = in.Number<int32_t>();
      f.Result.Key.Repeat = in.Number<int32_t>();
      f.Result.Problem = std::string(in.Word());
      f.Result.Seconds = in.Number<double>();
      const size_t runs = in.Number<size_t>(), traces = in.Number<size_t>();
      f.Result.Runs = in.Body(runs);
      f.Result.Traces = in.Body(traces);
      report.Finished.push_back(std::move(f));
    } else {
      Bad("'" + std::string(what) + "'");
    }
  }
  return report;
}

std::vector<int64_t> EncodeHandOut(const std::vector<TNumberedKey>& Keys) {
  std::vector<int64_t> numbers;
  numbers.reserve(kHandOutNumbers * Keys.size());
  for (const TNumberedKey& k : Keys)
    numbers.insert(numbers.end(),
                   {static_cast<int64_t>(k.Index), k.Key.Problem, k.Key.Size, k.Key.Config, k.Key.Repeat});
  return numbers;
}

std::vector<TNumberedKey> DecodeHandOut(const std::vector<int64_t>& Numbers) {
  if (Numbers.size() % kHandOutNumbers != 0) throw Exception("bad hand-out");
  std::vector<TNumberedKey> keys;
  for (size_t i = 0; i < Numbers.size(); i += kHandOutNumbers)
    keys.push_back({static_cast<size_t>(Numbers[i]),
                    {static_cast<int32_t>(Numbers[i + 1]), static_cast<int32_t>(Numbers[i + 2]),
                     static_cast<int32_t>(Numbers[i + 3]), static_cast<int32_t>(Numbers[i + 4])}});
  return keys;
}

std::vector<int64_t> NoMoreAhead() { return {-1}; }

bool IsNoMoreAhead(const std::vector<int64_t>& Numbers) { return Numbers.size() == 1 && Numbers[0] == -1; }

}  // namespace zp::cli::mpi
