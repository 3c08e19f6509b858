#include "FuzzLoaders.h"

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

template <typename Target>
void Load(Target& target, const std::string& text) {
  std::istringstream in(text);
  try {
    xml::LoadFromStream(target, in);
  } catch (const zp::Exception&) {
    // A document error: the loader refused the bytes, as it should.
  }
}

}  // namespace

void LoadGADocuments(const uint8_t* Data, size_t Size) {
  const std::string text(reinterpret_cast<const char*>(Data), Size);
  ga::TZPGeneticAlgorithm a, b, c;
  Prepare(a);
  Prepare(b);
  Prepare(c);
  Load(a, text);
  Load(b.Genes(), text);
  Load(c.Population(), text);
  // Whatever loaded must save again.
  std::ostringstream out;
  try {
    xml::SaveToStream(a, out);
  } catch (const zp::Exception&) {
  }
}

}  // namespace zp::fuzz
