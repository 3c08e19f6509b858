#include "experiment/RecordedRuns.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <tuple>

#include "platform/Exceptions.h"
#include "platform/Numbers.h"
#include "workbench/ProblemCatalogue.h"

namespace zp::experiment {

namespace {

using TFields = std::vector<std::string_view>;

TFields SplitFields(std::string_view Line) {
  TFields fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = Line.find(',', start);
    fields.push_back(Line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

// The reader of one line's fields: every value is checked, and a bad one raises
// an error naming the file, the line and the header's name for the field.
class TFieldReader {
 public:
  TFieldReader(std::string_view Name, size_t Line, const TFields& Header, const TFields& Fields)
      : name_(Name), line_(Line), header_(Header), fields_(Fields) {}

  [[noreturn]] void Fail(const std::string& What) const {
    throw Exception(std::string(name_) + " line " + std::to_string(line_) + ": " + What);
  }

  int32_t Int32(size_t I, int32_t Min) const {
    const auto v = TryStrToInt(std::string(fields_[I]));
    if (!v || *v < Min) Bad(I);
    return *v;
  }

  template <typename T>
  T NonNegative(size_t I) const {
    const std::string_view f = fields_[I];
    T v{};
    const auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), v);
    if (f.empty() || f.front() == '-' || ec != std::errc() || end != f.data() + f.size()) Bad(I);
    return v;
  }

  double Float(size_t I) const {
    const std::string_view f = fields_[I];
    double v = 0;
    const auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), v);
    if (f.empty() || ec != std::errc() || end != f.data() + f.size() || !std::isfinite(v)) Bad(I);
    return v;
  }

  // An integer of at least Min, or empty for an empty field.
  std::optional<int32_t> OptionalInt32(size_t I, int32_t Min) const {
    if (fields_[I].empty()) return std::nullopt;
    return Int32(I, Min);
  }

  bool Flag(size_t I) const {
    if (fields_[I] != "0" && fields_[I] != "1") Bad(I);
    return fields_[I] == "1";
  }

  // The log's name of a method the workbench runs, letter case as written.
  ga::TGASelectionMethod Method(size_t I) const {
    for (ga::TGASelectionMethod m : kMethodOrder)
      if (ga::ToString(m) == fields_[I]) return m;
    Bad(I);
  }

  // A problem's name as the options write it.
  std::string Problem(size_t I) const {
    if (!queens::ParseProblemName(std::string(fields_[I]))) Bad(I);
    return std::string(fields_[I]);
  }

  // A bit text of 0s and 1s, possibly empty.
  std::string Bits(size_t I) const {
    if (fields_[I].find_first_not_of("01") != std::string_view::npos) Bad(I);
    return std::string(fields_[I]);
  }

  // Raises the error for field I's value.
  [[noreturn]] void Bad(size_t I) const {
    Fail("bad " + std::string(header_[I]) + " \"" + std::string(fields_[I]) + "\"");
  }

 private:
  std::string_view name_;
  size_t line_;
  const TFields& header_;
  const TFields& fields_;
};

// Calls Record(reader) for each whole data line of Text. Only lines ended by a
// line end count; a last one with too few fields was cut short as well. With
// Damage, a bad data line ends the reading there (its error goes to Damage)
// instead of raising it.
template <typename F>
void ForEachRecord(std::string_view Text, std::string_view Name, std::string_view Header, F&& Record,
                   std::string* Damage) {
  const TFields header = SplitFields(Header);
  const size_t whole = Text.rfind('\n');
  if (whole == std::string_view::npos) return;
  Text = Text.substr(0, whole + 1);
  size_t line = 0;
  for (size_t pos = 0; pos < Text.size();) {
    const size_t eol = Text.find('\n', pos);
    const std::string_view content = Text.substr(pos, eol - pos);
    pos = eol + 1;
    ++line;
    const TFields fields = SplitFields(content);
    const TFieldReader reader(Name, line, header, fields);
    if (line == 1) {
      if (content != Header) reader.Fail("expected the header \"" + std::string(Header) + "\"");
      continue;
    }
    if (fields.size() < header.size() && pos == Text.size()) return;
    try {
      if (fields.size() != header.size())
        reader.Fail("expected " + std::to_string(header.size()) + " fields, found " + std::to_string(fields.size()));
      Record(reader);
    } catch (const Exception& e) {
      if (!Damage) throw;
      *Damage = e.what();
      return;
    }
  }
}

// Within a problem, rows and traces sort by size, configuration, repeat and the
// method's place in the workbench's order; the problems stand in the order the
// design gives them, which the files alone do not tell, so a problem may only
// not come back once another followed it.
using TKey = std::tuple<std::string, int32_t, int32_t, int32_t, size_t>;

size_t Rank(ga::TGASelectionMethod Method) { return MethodRank(Method).value_or(kMethodOrder.size()); }

template <typename T>
TKey KeyOf(const T& Run) {
  return {Run.Problem, Run.Size, Run.Config, Run.Repeat, Rank(Run.Method)};
}

std::string KeyText(const TKey& Key) {
  const auto& [problem, size, config, repeat, rank] = Key;
  const std::string method = rank < kMethodOrder.size() ? ga::ToString(kMethodOrder[rank]) : "?";
  return problem + "," + std::to_string(size) + "," + std::to_string(config) + "," + std::to_string(repeat) + "," +
         method;
}

// Tells whether each key follows the one before it in the files' order.
class TOrderCheck {
 public:
  bool After(const TKey& Previous, const TKey& Key) {
    if (std::get<0>(Previous) == std::get<0>(Key)) return Previous < Key;
    done_.insert(std::get<0>(Previous));
    return !done_.contains(std::get<0>(Key));
  }

 private:
  std::set<std::string> done_;  // problems another one followed
};

// A trace is whole when it reaches the row's best_ever: improvements rise
// strictly, so a trace that lost its end stops below it. Every run has one,
// starting at its start population.
bool TraceWhole(const TRunRow& Row, const TRunTrace* Trace) {
  if (!Trace || Trace->Improvements.empty()) return false;
  return Trace->Improvements.back().Best == Row.BestEver;
}

using TTraceIndex = std::map<TKey, const TRunTrace*>;

TTraceIndex IndexTraces(const std::vector<TRunTrace>& Traces) {
  TTraceIndex index;
  for (const TRunTrace& trace : Traces) index.emplace(KeyOf(trace), &trace);
  return index;
}

const TRunTrace* FindTrace(const TTraceIndex& Index, const TKey& Key) {
  const auto it = Index.find(Key);
  return it == Index.end() ? nullptr : it->second;
}

bool SameRepeat(const TRunRow& A, const TRunRow& B) {
  return A.Repeat == B.Repeat && A.Size == B.Size && A.Config == B.Config && A.Problem == B.Problem;
}

// True when Rows (one repeat's) hold exactly the methods of Expected (ranks, ascending), each with its whole trace.
bool RowsComplete(std::span<const TRunRow> Rows, const std::vector<size_t>& Expected, const TTraceIndex& Traces) {
  if (Expected.empty() || Rows.size() != Expected.size()) return false;
  for (size_t i = 0; i < Rows.size(); ++i) {
    if (Rank(Rows[i].Method) != Expected[i]) return false;
    if (!TraceWhole(Rows[i], FindTrace(Traces, KeyOf(Rows[i])))) return false;
  }
  return true;
}

std::vector<size_t> ExpectedRanks(std::span<const ga::TGASelectionMethod> Methods) {
  std::vector<size_t> expected;
  for (ga::TGASelectionMethod m : Methods) expected.push_back(Rank(m));
  std::sort(expected.begin(), expected.end());
  expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
  return expected;
}

// The fields both files lead with: the cell (problem, size, configuration) and the repeat.
template <typename T>
void ReadRepeatKey(const TFieldReader& Fields, T& Item) {
  Item.Problem = Fields.Problem(0);
  Item.Size = Fields.Int32(1, 1);
  Item.Config = Fields.Int32(2, 0);
  Item.Repeat = Fields.Int32(3, 0);
}

}  // namespace

std::vector<TRunRow> ParseRunsCsv(std::string_view Text, std::string_view Name, std::string* Damage) {
  std::vector<TRunRow> rows;
  TOrderCheck order;
  ForEachRecord(
      Text, Name, kRunsCsvHeader,
      [&](const TFieldReader& f) {
        TRunRow row;
        ReadRepeatKey(f, row);
        row.Seed = f.NonNegative<uint32_t>(4);
        row.Method = f.Method(5);
        row.Solved = f.Flag(6);
        row.HitGeneration = f.OptionalInt32(7, 0);
        row.Generations = f.Int32(8, 0);
        row.Evaluations = f.NonNegative<int64_t>(9);
        row.MaxFitness = f.Float(10);
        row.AvgFitness = f.Float(11);
        row.MinFitness = f.Float(12);
        row.BestEver = f.Float(13);
        row.Fittest = f.Bits(14);
        if (row.HitGeneration && *row.HitGeneration > row.Generations) f.Bad(7);
        // Every generation and the start population score the whole population.
        const int64_t scored = 1 + int64_t{row.Generations};
        if (row.Evaluations % scored != 0 || row.Evaluations / scored > std::numeric_limits<int32_t>::max()) f.Bad(9);
        row.Population = static_cast<int32_t>(row.Evaluations / scored);
        if (!rows.empty() && !order.After(KeyOf(rows.back()), KeyOf(row)))
          f.Fail("run " + KeyText(KeyOf(row)) + " repeated or out of order");
        rows.push_back(std::move(row));
      },
      Damage);
  return rows;
}

std::vector<TRunTrace> ParseTracesCsv(std::string_view Text, std::string_view Name, std::string* Damage) {
  std::vector<TRunTrace> traces;
  TOrderCheck order;
  ForEachRecord(
      Text, Name, kTracesCsvHeader,
      [&](const TFieldReader& f) {
        TRunTrace run;
        ReadRepeatKey(f, run);
        run.Method = f.Method(4);
        const TTracePoint point{f.Int32(5, 0), f.Float(6)};
        const TKey key = KeyOf(run);
        if (traces.empty() || (KeyOf(traces.back()) != key && order.After(KeyOf(traces.back()), key))) {
          run.Improvements.push_back(point);
          traces.push_back(std::move(run));
          return;
        }
        if (KeyOf(traces.back()) != key) f.Fail("run " + KeyText(key) + " out of order");
        const TTracePoint& previous = traces.back().Improvements.back();
        if (!(point.Generation > previous.Generation && point.Best > previous.Best))
          f.Fail("run " + KeyText(key) + " does not improve on its previous line");
        traces.back().Improvements.push_back(point);
      },
      Damage);
  return traces;
}

bool RepeatComplete(const TRecordedRuns& Recorded, const TCell& Cell, int32_t Repeat,
                    std::span<const ga::TGASelectionMethod> Methods) {
  std::vector<TRunRow> rows;
  for (const TRunRow& row : Recorded.Rows)
    if (row.Repeat == Repeat && CellOf(row) == Cell) rows.push_back(row);
  return RowsComplete(rows, ExpectedRanks(Methods), IndexTraces(Recorded.Traces));
}

TRecordedRuns KeepCompleteRepeats(const TRecordedRuns& Recorded, std::span<const ga::TGASelectionMethod> Methods) {
  TRecordedRuns kept;
  const std::vector<size_t> expected = ExpectedRanks(Methods);
  const TTraceIndex traces = IndexTraces(Recorded.Traces);
  const std::span<const TRunRow> rows = Recorded.Rows;
  // The rows of one repeat stand together: the files are in key order.
  for (size_t first = 0; first < rows.size();) {
    size_t end = first + 1;
    while (end < rows.size() && SameRepeat(rows[first], rows[end])) ++end;
    const std::span<const TRunRow> repeat = rows.subspan(first, end - first);
    if (RowsComplete(repeat, expected, traces))
      for (const TRunRow& row : repeat) {
        kept.Rows.push_back(row);
        if (const TRunTrace* trace = FindTrace(traces, KeyOf(row))) kept.Traces.push_back(*trace);
      }
    first = end;
  }
  return kept;
}

}  // namespace zp::experiment
