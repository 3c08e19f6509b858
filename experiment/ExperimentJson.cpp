#include "experiment/ExperimentJson.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>

#include "experiment/Configurations.h"
#include "experiment/RunRow.h"
#include "experiment/Summary.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"
#include "workbench/ComparisonRun.h"
#include "workbench/ProblemCatalogue.h"
#include "workbench/QueensProblem.h"

namespace zp::experiment {

namespace {

using TJson = nlohmann::ordered_json;  // members stay in the order written

constexpr auto kReplaceBadUtf8 = TJson::error_handler_t::replace;

// Far deeper than the file ever nests, and shallow enough for the recursive
// formatting of a hand-edited value.
constexpr int kMaxDepth = 32;

std::string Join(const std::string& Path, const std::string& Key) { return Path.empty() ? Key : Path + "." + Key; }

[[noreturn]] void Bad(const std::string& Path, const std::string& What) {
  throw Exception(Path.empty() ? What : Path + ": " + What);
}

// A value on one line with ", " and ": " between parts, as --resume quotes it.
std::string OneLine(const TJson& Value) {
  std::string text;
  if (Value.is_array()) {
    for (const TJson& item : Value) text += (text.empty() ? "" : ", ") + OneLine(item);
    return "[" + text + "]";
  }
  if (Value.is_object()) {
    for (const auto& [key, item] : Value.items())
      text += (text.empty() ? "" : ", ") + TJson(key).dump(-1, ' ', false, kReplaceBadUtf8) + ": " + OneLine(item);
    return "{" + text + "}";
  }
  return Value.dump(-1, ' ', false, kReplaceBadUtf8);
}

// A whole number too large for 64 bits, which the parser can only hold as a double.
bool WholeBeyond64Bits(const TJson& Value) {
  if (!Value.is_number_float()) return false;
  const double d = Value.get<double>();
  return std::isfinite(d) && d == std::trunc(d) && std::fabs(d) >= 9223372036854775808.0;
}

// Value as a message shows it: scalars as written, containers by their kind.
std::string Shown(const TJson& Value) {
  if (Value.is_array()) return "an array";
  if (Value.is_object()) return "an object";
  if (WholeBeyond64Bits(Value) && std::fabs(Value.get<double>()) < 1e21) return FormatFixed(Value.get<double>(), 0);
  return OneLine(Value);
}

const TJson& Member(const TJson& Object, const std::string& Path, const char* Key) {
  const auto it = Object.find(Key);
  if (it == Object.end()) Bad(Join(Path, Key), "missing");
  return *it;
}

const TJson& ObjectAt(const TJson& Value, const std::string& Path) {
  if (!Value.is_object()) Bad(Path, "expected an object, got " + Shown(Value));
  return Value;
}

const TJson& ArrayAt(const TJson& Value, const std::string& Path) {
  if (!Value.is_array()) Bad(Path, "expected an array, got " + Shown(Value));
  if (Value.empty()) Bad(Path, "the list is empty");
  return Value;
}

// An integer Lo..Hi (Hi >= 0); 30.0 is a number but not an integer.
int64_t IntegerAt(const TJson& Value, const std::string& Path, int64_t Lo, int64_t Hi) {
  if (Value.is_number_unsigned()) {
    const uint64_t n = Value.get<uint64_t>();
    if (n <= static_cast<uint64_t>(Hi) && static_cast<int64_t>(n) >= Lo) return static_cast<int64_t>(n);
  } else if (Value.is_number_integer()) {
    const int64_t n = Value.get<int64_t>();
    if (n >= Lo && n <= Hi) return n;
  } else if (!WholeBeyond64Bits(Value)) {
    Bad(Path, "expected an integer, got " + Shown(Value));
  }
  Bad(Path, Shown(Value) + " is out of range " + std::to_string(Lo) + ".." + std::to_string(Hi));
}

std::vector<int32_t> SizesAt(const TJson& Value, const std::string& Path) {
  std::vector<int32_t> sizes;
  for (const TJson& item : ArrayAt(Value, Path)) {
    const std::string at = Path + "[" + std::to_string(sizes.size()) + "]";
    const auto n = static_cast<int32_t>(IntegerAt(item, at, 1, std::numeric_limits<int32_t>::max()));
    if (!sizes.empty() && n <= sizes.back())
      Bad(at, std::to_string(n) + " after " + std::to_string(sizes.back()) + "; the sizes are distinct and ascending");
    sizes.push_back(n);
  }
  return sizes;
}

std::vector<queens::TProblemChoice> ProblemsAt(const TJson& Value, const std::string& Path) {
  std::vector<queens::TProblemChoice> problems;
  for (const TJson& item : ArrayAt(Value, Path)) {
    const std::string at = Path + "[" + std::to_string(problems.size()) + "]";
    const auto chosen = item.is_string() ? queens::ParseProblemName(item.get<std::string>()) : std::nullopt;
    if (!chosen) Bad(at, "expected one of " + std::string(queens::kProblemNames) + ", got " + Shown(item));
    if (std::find(problems.begin(), problems.end(), *chosen) != problems.end()) Bad(at, Shown(item) + " named twice");
    problems.push_back(*chosen);
  }
  return problems;
}

std::optional<TEvaluationBudget> EvaluationsAt(const TJson& Value, const std::string& Path) {
  if (Value.is_null()) return std::nullopt;
  if (!Value.is_string()) Bad(Path, "expected null or a string, got " + Shown(Value));
  try {
    return ParseEvaluations(Value.get<std::string>());
  } catch (const TDesignError& e) {
    Bad(Path, e.Message());
  }
}

// A setting's values as texts; an empty list keeps the derived value.
std::vector<queens::TSettingValue> SettingListAt(const TJson& Value, const std::string& Path,
                                                 queens::TSettingName Setting) {
  if (!Value.is_array()) Bad(Path, "expected an array, got " + Shown(Value));
  std::vector<queens::TSettingValue> values;
  for (const TJson& item : Value) {
    const std::string at = Path + "[" + std::to_string(values.size()) + "]";
    if (!item.is_string()) Bad(at, "expected a string, got " + Shown(item));
    try {
      values.push_back(queens::ParseSettingValue(Setting, item.get<std::string>()));
    } catch (const std::invalid_argument& e) {
      Bad(at, e.what());
    }
    if (std::find(values.begin(), values.end() - 1, values.back()) != values.end() - 1)
      Bad(at, Shown(item) + " named twice");
  }
  return values;
}

std::string MethodNames() {
  std::string names;
  for (const ga::TGASelectionMethod m : kMethodOrder) names += (names.empty() ? "" : ", ") + ga::ToString(m);
  return names;
}

// Names exactly as the file writes them, in the workbench's order, as a design holds them.
std::vector<ga::TGASelectionMethod> MethodsAt(const TJson& Value, const std::string& Path) {
  std::vector<ga::TGASelectionMethod> methods;
  size_t last = 0;
  for (const TJson& item : ArrayAt(Value, Path)) {
    const std::string at = Path + "[" + std::to_string(methods.size()) + "]";
    const auto rank = std::find_if(kMethodOrder.begin(), kMethodOrder.end(), [&](ga::TGASelectionMethod m) {
      return item.is_string() && item.get_ref<const std::string&>() == ga::ToString(m);
    });
    if (rank == kMethodOrder.end()) Bad(at, "expected one of " + MethodNames() + ", got " + Shown(item));
    const auto place = static_cast<size_t>(rank - kMethodOrder.begin());
    if (!methods.empty() && place <= last)
      Bad(at, Shown(item) + " after \"" + ga::ToString(methods.back()) +
                  "\"; the methods are distinct and in the order " + MethodNames());
    methods.push_back(*rank);
    last = place;
  }
  return methods;
}

queens::TRandomStreams StreamsAt(const TJson& Value, const std::string& Path) {
  for (size_t i = 0; i < queens::kRandomStreamsNames.size(); ++i)
    if (Value.is_string() && Value.get_ref<const std::string&>() == queens::kRandomStreamsNames[i])
      return static_cast<queens::TRandomStreams>(i);
  Bad(Path, "expected \"continued\" or \"shared\", got " + Shown(Value));
}

std::string LabelAt(const TJson& Value, const std::string& Path) {
  if (!Value.is_string()) Bad(Path, "expected a string, got " + Shown(Value));
  try {
    return ParseLabel(Value.get<std::string>());
  } catch (const TDesignError& e) {
    Bad(Path, e.Message());
  }
}

// Refuses a key that its object already has (the parser would keep the last
// one silently) and nesting beyond kMaxDepth; tracks the path for the message.
class TKeyAndDepthCheck {
 public:
  bool operator()(int Depth, nlohmann::json::parse_event_t Event, TJson& Parsed) {
    using E = nlohmann::json::parse_event_t;
    switch (Event) {
      case E::object_start:
      case E::array_start:
        if (Depth >= kMaxDepth) Bad(ChildPath(), "nested more than " + std::to_string(kMaxDepth) + " deep");
        frames_.push_back({Event == E::object_start, ChildPath(), {}, {}, 0});
        break;
      case E::key: {
        TFrame& object = frames_.back();
        object.Key = Parsed.get<std::string>();
        if (!object.Keys.insert(object.Key).second) Bad(object.Path, "duplicate key \"" + object.Key + "\"");
        break;
      }
      case E::object_end:
      case E::array_end:
        frames_.pop_back();
        Counted();
        break;
      case E::value:
        Counted();
        break;
    }
    return true;
  }

 private:
  struct TFrame {
    bool IsObject;
    std::string Path;
    std::set<std::string> Keys;
    std::string Key;  // the member being read
    size_t Items;     // array elements read so far
  };
  std::string ChildPath() const {
    if (frames_.empty()) return "";
    const TFrame& parent = frames_.back();
    return parent.IsObject ? Join(parent.Path, parent.Key) : parent.Path + "[" + std::to_string(parent.Items) + "]";
  }
  void Counted() {
    if (!frames_.empty() && !frames_.back().IsObject) ++frames_.back().Items;
  }
  std::vector<TFrame> frames_;
};

// The parser's message without its exception tag and grammar state:
// "line 1, column 9: invalid string: forbidden character after backslash; last read: '"\q'".
std::string ParseErrorText(const nlohmann::json::exception& Error) {
  std::string text = Error.what();
  if (const size_t tag = text.find("] "); text.starts_with("[json.exception.") && tag != std::string::npos)
    text.erase(0, tag + 2);
  if (text.starts_with("parse error at ")) text.erase(0, std::string_view("parse error at ").size());
  if (const size_t at = text.find("syntax error while parsing "); at != std::string::npos)
    if (const size_t dash = text.find(" - ", at); dash != std::string::npos) text.erase(at, dash + 3 - at);
  // Here the parser's "last read" runs back over the document's last lines.
  if (text.ends_with("; expected end of input")) text = text.substr(0, text.find(": ")) + ": text after the document";
  return text;
}

TJson ParametersJson(const TExperimentDesign& Design, const std::string& Version) {
  TJson problems = TJson::array(), sizes = TJson::array(), methods = TJson::array();
  for (const queens::TProblemChoice& problem : Design.Problems) problems.push_back(problem.Name());
  for (const int32_t n : Design.Sizes) sizes.push_back(n);
  for (const ga::TGASelectionMethod m : Design.Methods) methods.push_back(ga::ToString(m));
  TJson p = TJson::object();
  p["problems"] = std::move(problems);
  p["sizes"] = std::move(sizes);
  p["repeats"] = Design.Repeats;
  p["generations"] = Design.Generations;
  p["evaluations"] = Design.Evaluations ? TJson(Design.Evaluations->Text) : TJson(nullptr);
  for (size_t i = 0; i < queens::kSettingCount; ++i) {
    TJson values = TJson::array();
    for (const queens::TSettingValue& v : Design.Settings[i]) values.push_back(v.Text);
    p[std::string(queens::kSettingNames[i])] = std::move(values);
  }
  p["seed"] = Design.Seed;
  p["streams"] = queens::ToString(Design.Streams);
  p["methods"] = std::move(methods);
  p["label"] = Design.Label;
  p["seed_function"] = kSeedFunctionName;
  p["version"] = Version;
  return p;
}

// What the parameters resolve to and how the files treat the runs, for a reader
// who has only the folder.
TJson DesignJson(const TExperimentDesign& Design) {
  TJson cells = TJson::array();
  for (const TResolvedConfig& c : ResolveConfigurations(Design)) {
    const queens::TProblemChoice& chosen = c.Problem;
    const queens::TResolvedSettings& r = c.Settings;
    TJson q = TJson::object();
    q["problem"] = chosen.Name();
    q["size"] = c.Size;
    q["config"] = c.Config;
    q["funcId"] = chosen.FuncId();
    q["funcName"] = chosen.FuncName();
    q["population"] = r.Population;
    q["chromosome_bits"] = r.ChromosomeBits;
    q["MutationProbability"] = r.MutationProbability;
    q["CrossoverProbability"] = r.CrossoverProbability;
    q["InversionProbability"] = r.InversionProbability;
    q["TournamentField"] = r.TournamentField;
    q["ElitistPct"] = r.ElitistPct;
    q["CrossoverMethod"] = ga::ToString(r.CrossoverMethod);
    q["target"] = r.Target;
    q["evaluations_per_generation"] = r.Population;
    q["budget_generations"] = c.Generations;
    q["budget_evaluations"] = c.Evaluations;
    cells.push_back(std::move(q));
  }
  TJson bootstrap = TJson::object();
  bootstrap["of"] = "ert_evaluations";
  bootstrap["resamples"] = kBootstrapResamples;
  bootstrap["limits"] =
      "the 25th and 976th of the 1000 sorted resample values (1-based); a resample without a hit has "
      "ERT inf";
  bootstrap["draws"] = "per resample, R repeat indices by the random source's integer draw, shared by the methods";
  bootstrap["seed_function"] = kBootstrapSeedName;
  TJson d = TJson::object();
  d["cells"] = std::move(cells);
  d["budget_unit"] =
      "evaluations: every generation scores the whole population once, and so does the start population, so G "
      "generations cost population x (1 + G)";
  d["hit"] =
      "a run hits when its start population (generation 0) or a generation reaches the target; its length is "
      "the hit generation, or the generations it made when it never hit";
  d["misses_in_tests"] =
      "mcnemar_exact compares hit or not; wilcoxon_signed_rank and the A12 effect rank a run that "
      "never hit as G + 1 generations, behind every hit";
  d["holm_family"] =
      "one per problem, size and configuration, none across configurations: both tests of every pair of methods; "
      "an undefined test stays out";
  d["bootstrap"] = std::move(bootstrap);
  TJson varied = TJson::array();
  for (size_t i = 0; i < queens::kSettingCount; ++i)
    if (Design.Varies(static_cast<queens::TSettingName>(i))) varied.push_back(std::string(queens::kSettingNames[i]));
  d["varied"] = std::move(varied);
  d["configurations"] =
      "the product of the setting lists, numbered from 0 in the order population, crossover, mutation, inversion, "
      "tournament, elitist, crossover-method, the last varying fastest; every configuration of a repeat starts from "
      "the repeat's seed";
  d["label"] = Design.Label;
  return d;
}

TParameterTexts Texts(const TJson& Parameters) {
  TParameterTexts texts;
  for (const auto& [key, value] : Parameters.items()) texts.emplace_back(key, OneLine(value));
  return texts;
}

}  // namespace

TParameterTexts Parameters(const TExperimentDesign& Design, const std::string& Version) {
  return Texts(ParametersJson(Design, Version));
}

std::string ExperimentJson(const TExperimentDesign& Design, const std::string& Version, const TRunInfo& Run) {
  TJson run = TJson::object();
  run["start"] = Run.Start;
  run["end"] = Run.End.empty() ? TJson(nullptr) : TJson(Run.End);
  run["jobs"] = Run.Jobs;
  run["host"] = Run.Host;
  if (Run.Ranks > 0) run["ranks"] = Run.Ranks;
  if (Run.ComputePhase) {
    const TRunInfo::TComputePhase& c = *Run.ComputePhase;
    TJson phase = TJson::object();
    phase["seconds"] = c.Seconds;
    phase["rows"] = c.Rows;
    phase["rows_per_second"] = c.Seconds > 0 ? static_cast<double>(c.Rows) / c.Seconds : 0.0;
    phase["rank0_busy_share"] = c.Rank0BusyShare;
    run["compute_phase"] = std::move(phase);
  }
  TJson doc = TJson::object();
  doc["format"] = kExperimentFormat;
  doc["parameters"] = ParametersJson(Design, Version);
  doc["design"] = DesignJson(Design);
  doc["run"] = std::move(run);
  return doc.dump(2, ' ', false, kReplaceBadUtf8) + "\n";
}

TStoredExperiment ReadExperimentJson(std::string_view Text) {
  TJson doc;
  try {
    doc = TJson::parse(Text, TKeyAndDepthCheck());
  } catch (const nlohmann::json::exception& e) {
    throw Exception(ParseErrorText(e));
  }
  const TJson& root = ObjectAt(doc, "");
  const auto format = root.find("format");
  if (format == root.end())
    Bad("", "an experiment of format 1, written before hits and labels; this version goes on with format " +
                std::to_string(kExperimentFormat) + " only");
  if (IntegerAt(*format, "format", 1, std::numeric_limits<int32_t>::max()) != kExperimentFormat)
    Bad("format", "an experiment of format " + Shown(*format) + "; this version goes on with format " +
                      std::to_string(kExperimentFormat) + " only");
  const std::string path = "parameters";
  const TJson& p = ObjectAt(Member(root, "", "parameters"), path);
  TStoredExperiment stored;
  stored.Parameters = Texts(p);
  TExperimentDesign& design = stored.Design;
  constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max(), kUint32Max = std::numeric_limits<uint32_t>::max();
  design.Problems = ProblemsAt(Member(p, path, "problems"), path + ".problems");
  design.Sizes = SizesAt(Member(p, path, "sizes"), path + ".sizes");
  design.Repeats = static_cast<int32_t>(IntegerAt(Member(p, path, "repeats"), path + ".repeats", 1, kInt32Max));
  design.Generations =
      static_cast<int32_t>(IntegerAt(Member(p, path, "generations"), path + ".generations", 1, kInt32Max));
  design.Evaluations = EvaluationsAt(Member(p, path, "evaluations"), path + ".evaluations");
  for (size_t i = 0; i < queens::kSettingCount; ++i) {
    const std::string name(queens::kSettingNames[i]);
    design.Settings[i] =
        SettingListAt(Member(p, path, name.c_str()), path + "." + name, static_cast<queens::TSettingName>(i));
  }
  design.Seed = static_cast<uint32_t>(IntegerAt(Member(p, path, "seed"), path + ".seed", 0, kUint32Max));
  design.Streams = StreamsAt(Member(p, path, "streams"), path + ".streams");
  design.Methods = MethodsAt(Member(p, path, "methods"), path + ".methods");
  design.Label = LabelAt(Member(p, path, "label"), path + ".label");
  const auto run = root.find("run");
  if (run != root.end() && run->is_object()) {
    const auto end = run->find("end");
    stored.Finished = end != run->end() && end->is_string() && !end->get<std::string>().empty();
  }
  return stored;
}

std::vector<std::string> DifferingParameters(const TParameterTexts& Stored, const TParameterTexts& Given) {
  auto text = [](const TParameterTexts& Texts, const std::string& Key) -> std::string {
    for (const auto& [name, value] : Texts)
      if (name == Key) return value;
    return "nothing";
  };
  std::vector<std::string> keys;
  for (const auto& [name, value] : Given) keys.push_back(name);
  for (const auto& [name, value] : Stored)
    if (std::find(keys.begin(), keys.end(), name) == keys.end()) keys.push_back(name);
  std::vector<std::string> differing;
  for (const std::string& key : keys) {
    const std::string a = text(Stored, key), b = text(Given, key);
    if (a != b) differing.push_back(key + " (" + a + " in the folder, " + b + " given)");
  }
  return differing;
}

}  // namespace zp::experiment
