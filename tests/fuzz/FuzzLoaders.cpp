#include "FuzzLoaders.h"

#include <optional>
#include <sstream>
#include <string>

#include "persistence/GADocuments.h"

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

// Loads Text into the part Select picks of a prepared component; when it
// loads, it must save, and the saved text must load into another prepared
// component and save again to the same text.
template <typename Select>
void CheckRoundTrip(const std::string& text, Select select) {
  ga::TZPGeneticAlgorithm first;
  Prepare(first);
  if (Load(select(first), text)) return;  // refused, as a bad document should be
  const std::string saved = Save(select(first));
  ga::TZPGeneticAlgorithm second;
  Prepare(second);
  if (const auto refused = Load(select(second), saved))
    throw ERoundTripFault("a saved document does not load: " + *refused);
  if (Save(select(second)) != saved) throw ERoundTripFault("a saved document loads back to another state");
}

}  // namespace

void LoadGADocuments(const uint8_t* Data, size_t Size) {
  const std::string text(reinterpret_cast<const char*>(Data), Size);
  CheckRoundTrip(text, [](ga::TZPGeneticAlgorithm& ga) -> ga::TZPCustomGeneticAlgorithm& { return ga; });
  CheckRoundTrip(text, [](ga::TZPGeneticAlgorithm& ga) -> ga::TZPGAGenes& { return ga.Genes(); });
  CheckRoundTrip(text, [](ga::TZPGeneticAlgorithm& ga) -> ga::TZPGAPopulation& { return ga.Population(); });
}

}  // namespace zp::fuzz
