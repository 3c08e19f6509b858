#include "FuzzLoaders.h"

#include <optional>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "persistence/GADocuments.h"
#include "persistence/XMLCharacters.h"

namespace zp::fuzz {

namespace {

// A small initialized component, so that loads replace real state.
void Prepare(ga::TZPGeneticAlgorithm& ga) {
  ga.SetInitialPopulation(4);
  for (int i = 0; i < 3; ++i) {
    ga::TZPGAGene& gene = ga.Genes().Add();
    gene.SetGeneType(ga::TGeneType::gtInteger);
    gene.SetSize(2);
  }
  ga.OnEvaluateFitness = [](ga::TZPCustomGeneticAlgorithm&, ga::TZPGAIndividual&, ga::TGAFitness& f) { f = 1; };
  zp::TRandom random;
  ga.SetRandomSource(random);
  ga.Initialize();
  ga.SetRandomSource(zp::GlobalRandom());
}

// The loader's message when it refused the text; nothing when it took it.
template <typename Target>
std::optional<std::string> Load(Target& target, const std::string& text) {
  std::istringstream in(text);
  try {
    xml::LoadFromStream(target, in);
  } catch (const zp::Exception& e) {
    return e.Message();
  }
  return std::nullopt;
}

template <typename Target>
std::string Save(const Target& target) {
  std::ostringstream out;
  try {
    xml::SaveToStream(target, out);
  } catch (const zp::Exception& e) {
    throw ERoundTripFault("a loaded document does not save: " + e.Message());
  }
  return out.str();
}

// Where a part's saved text is loaded again: into another prepared component,
// or back into the one it was saved from. A genotype goes back: it is loaded
// under the population of its component, whose chromosomes may hold indices
// its enumeration genes lack in another component, and never in its own.
enum class TReload { IntoAnother, IntoItsOwn };

// Loads Text into the part Select picks of a prepared component. A refused
// load must leave the whole component as it was; an accepted one must leave
// a whole component that saves, and the part's saved text must load again
// (where Reload says) and save again to the same text.
template <typename Select>
void CheckRoundTrip(const std::string& text, Select select, TReload reload) {
  ga::TZPGeneticAlgorithm first;
  Prepare(first);
  const std::string before = Save<ga::TZPCustomGeneticAlgorithm>(first);
  if (Load(select(first), text)) {
    if (Save<ga::TZPCustomGeneticAlgorithm>(first) != before)
      throw ERoundTripFault("a refused load changed the component");
    return;
  }
  (void)Save<ga::TZPCustomGeneticAlgorithm>(first);
  const std::string saved = Save(select(first));
  ga::TZPGeneticAlgorithm second;
  Prepare(second);
  ga::TZPGeneticAlgorithm& target = reload == TReload::IntoAnother ? second : first;
  if (const auto refused = Load(select(target), saved))
    throw ERoundTripFault("a saved document does not load: " + *refused);
  if (Save(select(target)) != saved) throw ERoundTripFault("a saved document loads back to another state");
}

// A file load refuses documents by a bound of their attributes counted before
// parsing: whatever the parser makes of Text, even up to an error, it must
// make no more attributes than that.
void CheckAttributeBound(const std::string& text) {
  pugi::xml_document doc;
  (void)doc.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_comments | pugi::parse_pi,
                        pugi::encoding_utf8);
  size_t made = 0;
  std::vector<pugi::xml_node> todo{doc};
  while (!todo.empty()) {
    const pugi::xml_node node = todo.back();
    todo.pop_back();
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) ++made;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) todo.push_back(child);
  }
  const size_t bound = xml::AttributeBound(text);
  if (made > bound)
    throw ERoundTripFault("the parser made " + std::to_string(made) + " attributes, the bound counted " +
                          std::to_string(bound));
}

}  // namespace

void LoadGADocuments(const uint8_t* Data, size_t Size) {
  const std::string text(reinterpret_cast<const char*>(Data), Size);
  CheckAttributeBound(text);
  CheckRoundTrip(
      text, [](ga::TZPGeneticAlgorithm& ga) -> ga::TZPCustomGeneticAlgorithm& { return ga; }, TReload::IntoAnother);
  CheckRoundTrip(
      text, [](ga::TZPGeneticAlgorithm& ga) -> ga::TZPGAGenes& { return ga.Genes(); }, TReload::IntoItsOwn);
  CheckRoundTrip(
      text, [](ga::TZPGeneticAlgorithm& ga) -> ga::TZPGAPopulation& { return ga.Population(); }, TReload::IntoAnother);
}

}  // namespace zp::fuzz
