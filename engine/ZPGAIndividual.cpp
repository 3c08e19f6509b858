#include "engine/ZPGAIndividual.h"

#include "engine/ZPCustomGeneticAlgorithm.h"

namespace zp::ga {

TZPGAIndividual::TZPGAIndividual() { bits_ = CreateBits(); }

std::string TZPGAIndividual::DisplayName() const { return name_.empty() ? TCollectionItem::DisplayName() : name_; }

void TZPGAIndividual::SetName(const std::string& Value) {
  if (name_ == Value) return;
  name_ = Value;
  Changed(false);
}

TZPGAPopulation* TZPGAIndividual::Population() const { return static_cast<TZPGAPopulation*>(Collection()); }

double TZPGAIndividual::RelativeFitness() const {
  const TZPGAPopulation* p = Population();
  if (!p || !p->Algorithm()) return 0;
  return p->Algorithm()->RelativeFitness(fitness_);
}

void TZPGAIndividual::Assign(const TPersistent& Source) {
  const auto* src = dynamic_cast<const TZPGAIndividual*>(&Source);
  if (!src) {
    TCollectionItem::Assign(Source);
    return;
  }
  CopyFrom(*src);
}

void TZPGAIndividual::CopyFrom(const TZPGAIndividual& Source) {
  fitness_ = Source.fitness_;
  if (name_ != Source.name_) name_ = Source.name_;
  bits_->CopyBitsFrom(*Source.bits_);
  bits_->SetPreserveSignBit(Source.bits_->PreserveSignBit());
  Changed(false);
}

void TZPGAIndividual::CopyAllButBitsFrom(const TZPGAIndividual& Source) {
  fitness_ = Source.fitness_;
  if (name_ != Source.name_) name_ = Source.name_;
  bits_->SetSize(Source.bits_->Size());
  bits_->SetPreserveSignBit(Source.bits_->PreserveSignBit());
  Changed(false);
}

TZPGAPopulation::TZPGAPopulation(TPersistent* Owner, ItemFactory Factory)
    : TOwnedCollection(
          Owner, Factory ? std::move(Factory) : [] { return std::make_unique<TZPGAIndividual>(); }),
      algorithm_(dynamic_cast<TZPCustomGeneticAlgorithm*>(Owner)) {}

void TZPGAPopulation::Notify(TCollectionItem& Item, TCollectionNotification Action) {
  if (algorithm_) algorithm_->PopulationNotify(static_cast<TZPGAIndividual&>(Item), Action);
}

void TZPGAPopulation::Update(TCollectionItem* Item) {
  if (algorithm_) algorithm_->PopulationUpdate(static_cast<TZPGAIndividual*>(Item));
}

}  // namespace zp::ga
