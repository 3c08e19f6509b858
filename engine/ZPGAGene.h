// TZPGAGene and TZPGAGenes: the genotype. Each gene names a contiguous range
// of chromosome positions (Offset, Size), a value kind and a value range;
// the genes lie end to end from position 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/ZPEncodedBits.h"
#include "engine/ZPGAConsts.h"
#include "platform/Collection.h"
#include "platform/Strings.h"

namespace zp::ga {

class TZPGAGenes;

class TZPGAGene : public TCollectionItem {
 public:
  TZPGAGene();
  std::string ClassName() const override { return "TZPGAGene"; }
  std::string DisplayName() const override;

  // The genotype holding this gene, or nullptr.
  TZPGAGenes* Genes() const;

  const TStrings& Enumerations() const { return enumerations_; }
  // Takes a copy of Value; every change of the list re-sizes an enumeration gene.
  void SetEnumerations(const TStrings& Value) { enumerations_.Assign(Value); }
  TStrings& MutableEnumerations() { return enumerations_; }

  TGeneType GeneType() const { return gene_type_; }
  void SetGeneType(TGeneType Value);
  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value);
  int32_t Size() const { return size_; }
  void SetSize(int32_t Value);
  double MaxValue() const { return max_value_; }
  void SetMaxValue(double Value);
  double MinValue() const { return min_value_; }
  void SetMinValue(double Value);
  bool PreserveSignBit() const { return preserve_sign_bit_; }
  void SetPreserveSignBit(bool Value);
  // First chromosome position; kept by the genotype.
  int32_t Offset() const { return offset_; }
  void SetOffset(int32_t Value);

  bool DecodeBoolean(TZPEncodedBits& Bits, int Start) const;
  bool DecodeBoolean(TZPEncodedBits& Bits) const { return DecodeBoolean(Bits, offset_); }
  int32_t DecodeInteger(TZPEncodedBits& Bits, int Start) const;
  int32_t DecodeInteger(TZPEncodedBits& Bits) const { return DecodeInteger(Bits, offset_); }
  float DecodeFloat(TZPEncodedBits& Bits, int Start) const;
  float DecodeFloat(TZPEncodedBits& Bits) const { return DecodeFloat(Bits, offset_); }
  // Raises "No enumerated value found in chromosome" for an index outside the list.
  std::string DecodeEnumeration(TZPEncodedBits& Bits, int Start) const;
  std::string DecodeEnumeration(TZPEncodedBits& Bits) const { return DecodeEnumeration(Bits, offset_); }
  // The index DecodeEnumeration reads at this gene's place, when it names an entry.
  [[nodiscard]] std::optional<int32_t> EnumerationIndex(TZPEncodedBits& Bits) const;

  // DecodeInteger of individual Index of the owning algorithm's Population;
  // the list index error when there is no such individual (or no algorithm).
  int32_t IntegerValue(int Index) const;

  virtual void EncodeBoolean(TZPEncodedBits& Bits, int Start, bool Value) const;
  void EncodeBoolean(TZPEncodedBits& Bits, bool Value) const { EncodeBoolean(Bits, offset_, Value); }
  virtual void EncodeDouble(TZPEncodedBits& Bits, int Start, double Value) const;
  void EncodeDouble(TZPEncodedBits& Bits, double Value) const { EncodeDouble(Bits, offset_, Value); }
  // Raises "\"%s\" is not a valid enumerated value" for an unknown text; nothing is written then.
  virtual void EncodeEnumeration(TZPEncodedBits& Bits, int Start, const std::string& Value) const;
  void EncodeEnumeration(TZPEncodedBits& Bits, const std::string& Value) const {
    EncodeEnumeration(Bits, offset_, Value);
  }
  virtual void EncodeSingle(TZPEncodedBits& Bits, int Start, float Value) const;
  void EncodeSingle(TZPEncodedBits& Bits, float Value) const { EncodeSingle(Bits, offset_, Value); }
  virtual void EncodeInt64(TZPEncodedBits& Bits, int Start, int64_t Value) const;
  void EncodeInt64(TZPEncodedBits& Bits, int64_t Value) const { EncodeInt64(Bits, offset_, Value); }
  virtual void EncodeInteger(TZPEncodedBits& Bits, int Start, int32_t Value) const;
  void EncodeInteger(TZPEncodedBits& Bits, int32_t Value) const { EncodeInteger(Bits, offset_, Value); }

  // Plain copy of the published values (no setter rules, Offset kept).
  void Assign(const TPersistent& Source) override;

 protected:
  virtual void SizeChanged();

 private:
  void ResetRange();
  void EnumerationsChanged();
  // Tells the genotype that something a decode depends on may have changed.
  void Touch();
  double Clamp(double Value) const;
  int64_t ClampInt(int64_t Value) const;

  TStrings enumerations_;
  TGeneType gene_type_ = TGeneType::gtUnknown;
  std::string name_;
  int32_t size_ = 0;
  double max_value_ = 0;
  double min_value_ = 0;
  bool preserve_sign_bit_ = false;
  int32_t offset_ = 0;
};

class TZPCustomGeneticAlgorithm;

class TZPGAGenes : public TOwnedCollection<TZPGAGene> {
 public:
  // Owner is the genetic-algorithm component, or nullptr.
  explicit TZPGAGenes(TPersistent* Owner, ItemFactory Factory = nullptr);
  std::string ClassName() const override { return "TZPGAGenes"; }

  // The owner when it is a genetic-algorithm component.
  TZPCustomGeneticAlgorithm* Algorithm() const;
  // 0 when empty, else the last gene's Offset + Size.
  int32_t TotalSize() const;
  // Lays genes From.. (at least 1) end to end after their predecessors.
  void RecalcOffsets(int From);
  // A gene's Size changed: re-lay the genes after it, let the algorithm grow GeneSize.
  virtual void GeneResized(int Index);
  // Moves with every change of a gene or of the collection, so that a reader
  // can keep what it derived from the genotype until the number moves. The
  // numbers come from one process-wide counter: a genotype made later at the
  // address of a freed one never shows a number the reader already saw.
  uint64_t Revision() const { return revision_; }
  void BumpRevision() { revision_ = NextRevision(); }

 protected:
  void Notify(TCollectionItem& Item, TCollectionNotification Action) override;
  void Update(TCollectionItem* Item) override;

 private:
  static uint64_t NextRevision();
  uint64_t revision_ = NextRevision();
};

}  // namespace zp::ga
