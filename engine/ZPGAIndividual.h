// TZPGAIndividual (a chromosome and its last fitness) and TZPGAPopulation,
// the ordered collection of individuals a genetic algorithm evolves. A
// population may also stand alone, without an algorithm.
#pragma once

#include <memory>
#include <string>

#include "engine/ZPEncodedBits.h"
#include "engine/ZPGAConsts.h"
#include "platform/Collection.h"

namespace zp::ga {

class TZPGAIndividual;
class TZPGAPopulation;
class TZPCustomGeneticAlgorithm;

// A chromosome that knows the individual owning it.
class TZPGABits : public TZPEncodedBits {
 public:
  explicit TZPGABits(TZPGAIndividual* Individual) : individual_(Individual) {}
  std::string ClassName() const override { return "TZPGABits"; }
  TZPGAIndividual* Individual() const { return individual_; }

 private:
  TZPGAIndividual* individual_;  // not owned
};

class TZPGAIndividual : public TCollectionItem {
 public:
  TZPGAIndividual();
  std::string ClassName() const override { return "TZPGAIndividual"; }
  std::string DisplayName() const override;

  TGAFitness Fitness() const { return fitness_; }
  void SetFitness(TGAFitness Value) { fitness_ = Value; }
  TZPGABits& Bits() { return *bits_; }
  const TZPGABits& Bits() const { return *bits_; }
  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value);

  // Fitness / TotalFitness of the owning algorithm; 0 without one or when the total is 0.
  double RelativeFitness() const;
  TZPGAPopulation* Population() const;

  // From an individual: Fitness, Name and the chromosome (size, bits, sign flag).
  void Assign(const TPersistent& Source) override;
  // Assign from an individual known to be one, without the class checks.
  void CopyFrom(const TZPGAIndividual& Source);
  // CopyFrom for a caller that then writes every word of the chromosome itself:
  // Fitness, Name, the chromosome's size and sign flag, and the change notice.
  void CopyAllButBitsFrom(const TZPGAIndividual& Source);

 protected:
  // For subclasses with their own chromosome class.
  explicit TZPGAIndividual(std::unique_ptr<TZPGABits> Bits) : bits_(std::move(Bits)) {}
  // The chromosome a new individual gets.
  virtual std::unique_ptr<TZPGABits> CreateBits() { return std::make_unique<TZPGABits>(this); }

 private:
  TGAFitness fitness_ = 0;
  std::unique_ptr<TZPGABits> bits_;
  std::string name_;
};

class TZPGAPopulation : public TOwnedCollection<TZPGAIndividual> {
 public:
  // Owner is a genetic-algorithm component or nullptr; Factory makes the items (TZPGAIndividual by default).
  explicit TZPGAPopulation(TPersistent* Owner = nullptr, ItemFactory Factory = nullptr);
  std::string ClassName() const override { return "TZPGAPopulation"; }

  // The owner when it is a genetic-algorithm component.
  TZPCustomGeneticAlgorithm* Algorithm() const { return algorithm_; }

 protected:
  void Notify(TCollectionItem& Item, TCollectionNotification Action) override;
  void Update(TCollectionItem* Item) override;

 private:
  TZPCustomGeneticAlgorithm* algorithm_;  // not owned
};

}  // namespace zp::ga
