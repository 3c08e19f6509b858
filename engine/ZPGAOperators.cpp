// How a child is made: a copy of a parent, then crossover, mutation and
// inversion as far as Operations allows, each under its own probability.
#include <algorithm>
#include <typeinfo>

#include "engine/DrawWords.h"
#include "engine/ZPCustomGeneticAlgorithm.h"

namespace zp::ga {

namespace {

bool Chance(TRandom& rng, double p) { return rng.Random() < p; }

// Child takes First's bits at 0..Cut and Second's after Cut, as far as the
// child and Second reach; positions beyond Second keep their value.
void CrossAt(TZPGABits& child, const TZPGABits& first, const TZPGABits& second, int32_t cut) {
  const int size = child.Size();
  if (first.Size() == size && second.Size() == size) {
    child.Blend(first, second, cut);  // every position is taken from one of the parents, a word at a time
    return;
  }
  const int first_end = std::min(cut, size - 1);  // last position taken from First
  const int second_end = std::min(second.Size(), size) - 1;
  const int second_start = std::max(cut, -1) + 1;
  if (first_end >= 0) {
    if (first.Size() > first_end)
      child.CopyRange(first, 0, first_end);
    else
      for (int i = 0; i <= first_end; ++i) child.SetBit(i, first.Bit(i));  // raises past First's end
  }
  if (second_start <= second_end) child.CopyRange(second, second_start, second_end);
}

}  // namespace

void TZPCustomGeneticAlgorithm::InitializeChild(TZPGAIndividual& Parent1, TZPGAIndividual& Parent2,
                                                TZPGAIndividual& Child) {
  // Plain individuals copy directly; a subclass gets its own Assign.
  if (typeid(Child) == typeid(TZPGAIndividual) && typeid(Parent1) == typeid(TZPGAIndividual))
    Child.CopyFrom(Parent1);
  else
    Child.Assign(Parent1);
  if (OnInitializeChild) OnInitializeChild(*this, Parent1, Parent2, Child);
}

int32_t TZPCustomGeneticAlgorithm::ChooseCrossoverBit(const TZPGAIndividual& Child1) {
  const int32_t s = Child1.Bits().Size();
  TRandom& rng = *random_;
  switch (crossover_method_) {
    case TGACrossoverMethod::cmGeneBoundary:
      // The first position of a gene other than the first.
      if (genes_->Count() >= 2) return genes_->Items(1 + rng.RandomInt(genes_->Count() - 1)).Offset();
      return rng.RandomInt(s);
    case TGACrossoverMethod::cmBitBoundary:
      return rng.RandomInt(s);
    case TGACrossoverMethod::cmByteBoundary:
      return gene_size_ >= 16 ? (rng.RandomInt(s / 8) + 1) * 8 : rng.RandomInt(s);
    case TGACrossoverMethod::cmWordBoundary:
      return gene_size_ >= 32 ? (rng.RandomInt(s / 16) + 1) * 16 : rng.RandomInt(s);
    case TGACrossoverMethod::cmLongwordBoundary:
      return gene_size_ >= 64 ? (rng.RandomInt(s / 32) + 1) * 32 : rng.RandomInt(s);
  }
  return rng.RandomInt(s);
}

void TZPCustomGeneticAlgorithm::Crossover(TZPGAIndividual& Parent1, TZPGAIndividual& Parent2, TZPGAIndividual& Child1,
                                          TZPGAIndividual* Child2) {
  bool cross = Chance(*random_, crossover_probability_);
  if (!cross && !OnCrossover) return;
  int32_t bit = ChooseCrossoverBit(Child1);
  if (OnCrossover) OnCrossover(*this, Parent1, Parent2, Child1, bit, cross);
  if (cross) CrossAt(Child1.Bits(), Parent1.Bits(), Parent2.Bits(), bit);
  if (!Child2) return;
  if (OnCrossover) OnCrossover(*this, Parent2, Parent1, *Child2, bit, cross);
  if (cross) CrossAt(Child2->Bits(), Parent2.Bits(), Parent1.Bits(), bit);
}

bool TZPCustomGeneticAlgorithm::Mutate(TZPGAIndividual& Item) {
  bool mutate = true;
  if (OnMutation) OnMutation(*this, Item, mutate);
  if (!mutate) return false;
  // One real draw per position even when nothing can flip, the whole chromosome in one call.
  if (mutation_probability_ != threshold_probability_) {
    threshold_probability_ = mutation_probability_;
    mutation_threshold_ = TRandom::Threshold(mutation_probability_);
  }
  TZPGABits& bits = Item.Bits();
  return FlipBelowThreshold(*random_, mutation_threshold_, bits.Size(), bits.MutableWords().data()) != 0;
}

void TZPCustomGeneticAlgorithm::InvertRandomRun(TZPGABits& Bits) {
  const int32_t s = Bits.Size();
  const int32_t start = random_->RandomInt(s);
  const int32_t n = random_->RandomInt(s - start);
  // An empty chromosome has no run to flip; both draws are still made.
  if (s > 0) Bits.FlipRange(start, start + n);
}

bool TZPCustomGeneticAlgorithm::Invert(TZPGAIndividual& Item) {
  bool invert = Chance(*random_, inversion_probability_);
  if (OnInversion) OnInversion(*this, Item, invert);
  if (invert) InvertRandomRun(Item.Bits());
  return invert;
}

void TZPCustomGeneticAlgorithm::ReproduceChild(TZPGAIndividual& Parent1, TZPGAIndividual& Parent2,
                                               TZPGAIndividual& Child) {
  InitializeChild(Parent1, Parent2, Child);
  if (operations_.Contains(TGAGeneticOperation::goCrossover)) Crossover(Parent1, Parent2, Child, nullptr);
  if (operations_.Contains(TGAGeneticOperation::goMutate)) Mutate(Child);
  if (operations_.Contains(TGAGeneticOperation::goInvert)) Invert(Child);
  if (OnReproduction) OnReproduction(*this, Child);
}

bool TZPCustomGeneticAlgorithm::CopyAndCrossInOnePass(TZPGAIndividual& Parent1, TZPGAIndividual& Parent2,
                                                      TZPGAIndividual& Child1, TZPGAIndividual& Child2) {
  if (!inline_fitter_of_ || OnInitializeChild || OnCrossover) return false;
  const auto plain = [](const TZPGAIndividual& i) { return typeid(i) == typeid(TZPGAIndividual); };
  if (!plain(Parent1) || !plain(Parent2) || !plain(Child1) || !plain(Child2)) return false;
  // A child that is also a parent (or the other child) would be read after it was written.
  if (&Child1 == &Parent1 || &Child1 == &Parent2 || &Child2 == &Parent1 || &Child2 == &Parent2 || &Child1 == &Child2)
    return false;
  const TZPGABits& first = Parent1.Bits();
  const TZPGABits& second = Parent2.Bits();
  if (first.Size() != second.Size()) return false;
  Child1.CopyAllButBitsFrom(Parent1);
  Child2.CopyAllButBitsFrom(Parent2);
  // Without a crossover the cut lies past the last position: each child is its first parent.
  int64_t cut = first.Size();
  if (operations_.Contains(TGAGeneticOperation::goCrossover) && Chance(*random_, crossover_probability_))
    cut = ChooseCrossoverBit(Child1);
  const uint64_t* a = first.Words().data();
  const uint64_t* b = second.Words().data();
  uint64_t* c1 = Child1.Bits().MutableWords().data();
  uint64_t* c2 = Child2.Bits().MutableWords().data();
  const size_t words = first.Words().size();
  for (size_t w = 0; w < words; ++w) {
    const int64_t start = static_cast<int64_t>(w) * 64;  // the word's first position
    const uint64_t low = cut < start ? 0 : cut >= start + 63 ? ~uint64_t{0} : (uint64_t{2} << (cut - start)) - 1;
    c1[w] = (a[w] & low) | (b[w] & ~low);
    c2[w] = (b[w] & low) | (a[w] & ~low);
  }
  return true;
}

void TZPCustomGeneticAlgorithm::ReproduceChildren(TZPGAIndividual& Parent1, TZPGAIndividual& Parent2,
                                                  TZPGAIndividual& Child1, TZPGAIndividual& Child2) {
  if (!CopyAndCrossInOnePass(Parent1, Parent2, Child1, Child2)) {
    InitializeChild(Parent1, Parent2, Child1);
    InitializeChild(Parent2, Parent1, Child2);
    if (operations_.Contains(TGAGeneticOperation::goCrossover)) Crossover(Parent1, Parent2, Child1, &Child2);
  }
  if (operations_.Contains(TGAGeneticOperation::goMutate)) {
    Mutate(Child1);
    Mutate(Child2);
  }
  if (operations_.Contains(TGAGeneticOperation::goInvert)) {
    // This path flips without asking OnInversion.
    if (Chance(*random_, inversion_probability_)) InvertRandomRun(Child1.Bits());
    if (Chance(*random_, inversion_probability_)) InvertRandomRun(Child2.Bits());
  }
  if (OnReproduction) {
    OnReproduction(*this, Child1);
    OnReproduction(*this, Child2);
  }
}

}  // namespace zp::ga
