#include "engine/ZPGAGene.h"

#include <atomic>
#include <cmath>

#include "engine/ZPCustomGeneticAlgorithm.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"

namespace zp::ga {

TZPGAGene::TZPGAGene() {
  enumerations_.OnChange = [this](TStrings&) { EnumerationsChanged(); };
}

std::string TZPGAGene::DisplayName() const { return name_.empty() ? TCollectionItem::DisplayName() : name_; }

TZPGAGenes* TZPGAGene::Genes() const { return dynamic_cast<TZPGAGenes*>(Collection()); }

void TZPGAGene::SetGeneType(TGeneType Value) {
  if (gene_type_ == Value) return;
  gene_type_ = Value;
  ResetRange();
  Changed(false);
  Touch();
}

void TZPGAGene::SetName(const std::string& Value) {
  if (name_ == Value) return;
  name_ = Value;
  Changed(false);
  Touch();
}

void TZPGAGene::SetSize(int32_t Value) {
  if (size_ == Value) return;
  size_ = Value;
  SizeChanged();
  Touch();
}

void TZPGAGene::SizeChanged() {
  ResetRange();
  if (TZPGAGenes* genes = Genes()) genes->GeneResized(Index());
}

void TZPGAGene::SetPreserveSignBit(bool Value) {
  if (preserve_sign_bit_ == Value) return;
  preserve_sign_bit_ = Value;
  ResetRange();
  Touch();
}

void TZPGAGene::ResetRange() {
  const int w = preserve_sign_bit_ ? size_ - 1 : size_;
  switch (gene_type_) {
    case TGeneType::gtInteger:
    case TGeneType::gtFloat:
      min_value_ = preserve_sign_bit_ ? -std::ldexp(1.0, w) : 0.0;
      max_value_ = std::ldexp(1.0, w) - 1;
      break;
    case TGeneType::gtEnumeration:
      min_value_ = 0;
      max_value_ = enumerations_.Count() - 1;
      break;
    default:
      break;
  }
}

// The two range setters are deliberately not mirror images: stored genes rely
// on the order MaxValue-then-MinValue producing exactly their saved bounds.
void TZPGAGene::SetMaxValue(double Value) {
  if (max_value_ == Value) return;
  max_value_ = Value;
  const double p = std::ldexp(1.0, size_);
  const double n = enumerations_.Count();
  if (gene_type_ == TGeneType::gtInteger || gene_type_ == TGeneType::gtFloat) {
    if (max_value_ - min_value_ < 2 * p) min_value_ = max_value_ - p;
  } else if (gene_type_ == TGeneType::gtEnumeration) {
    if (max_value_ - min_value_ <= n) min_value_ = max_value_ - n;
  }
  if (gene_type_ != TGeneType::gtBoolean && !preserve_sign_bit_ && min_value_ < 0) min_value_ = 0;
  Touch();
}

void TZPGAGene::SetMinValue(double Value) {
  if (min_value_ == Value) return;
  min_value_ = Value;
  const double p = std::ldexp(1.0, size_);
  if (gene_type_ == TGeneType::gtInteger || gene_type_ == TGeneType::gtFloat) {
    if (max_value_ - min_value_ > p - 1 || max_value_ < min_value_) max_value_ = min_value_ + p - 1;
  } else if (gene_type_ == TGeneType::gtEnumeration) {
    max_value_ = min_value_ + enumerations_.Count() - 1;
  }
  Touch();
}

void TZPGAGene::SetOffset(int32_t Value) {
  if (offset_ == Value) return;
  offset_ = Value;
  Touch();
}

void TZPGAGene::Touch() {
  if (TZPGAGenes* genes = Genes()) genes->BumpRevision();
}

void TZPGAGene::EnumerationsChanged() {
  Touch();
  if (gene_type_ == TGeneType::gtEnumeration) SetSize(BitLength(static_cast<uint64_t>(enumerations_.Count())));
}

double TZPGAGene::Clamp(double Value) const {
  const long double v = Value;
  if (v < static_cast<long double>(min_value_)) return min_value_;
  if (v > static_cast<long double>(max_value_)) return max_value_;
  return Value;
}

namespace {
int64_t RoundBound(double bound) {
  const double r = RoundHalfEven(bound);
  if (!(r > -9.2233720368547758e18)) return INT64_MIN;
  if (!(r < 9.2233720368547758e18)) return INT64_MAX;
  return static_cast<int64_t>(r);
}
}  // namespace

int64_t TZPGAGene::ClampInt(int64_t Value) const {
  const long double v = static_cast<long double>(Value);
  if (v < static_cast<long double>(min_value_)) return RoundBound(min_value_);
  if (v > static_cast<long double>(max_value_)) return RoundBound(max_value_);
  return Value;
}

bool TZPGAGene::DecodeBoolean(TZPEncodedBits& Bits, int Start) const {
  Bits.SetPreserveSignBit(preserve_sign_bit_);
  return Bits.ReadBoolean(Start, size_);
}

int32_t TZPGAGene::DecodeInteger(TZPEncodedBits& Bits, int Start) const {
  Bits.SetPreserveSignBit(preserve_sign_bit_);
  return Bits.ReadInteger(Start, size_);
}

float TZPGAGene::DecodeFloat(TZPEncodedBits& Bits, int Start) const {
  Bits.SetPreserveSignBit(preserve_sign_bit_);
  return Bits.ReadFloat(Start, size_);
}

namespace {
std::optional<int32_t> EntryAt(const TStrings& Entries, TZPEncodedBits& Bits, int Start, int Size) {
  Bits.SetPreserveSignBit(false);
  const int32_t index = Bits.ReadInteger(Start, Size);
  if (Entries.Count() == 0 || index < 0 || index >= Entries.Count()) return std::nullopt;
  return index;
}
}  // namespace

std::string TZPGAGene::DecodeEnumeration(TZPEncodedBits& Bits, int Start) const {
  const std::optional<int32_t> index = EntryAt(enumerations_, Bits, Start, size_);
  if (!index) throw EGAException(kNoEnumeratedValue);
  return enumerations_.Strings(*index);
}

std::optional<int32_t> TZPGAGene::EnumerationIndex(TZPEncodedBits& Bits) const {
  return EntryAt(enumerations_, Bits, offset_, size_);
}

int32_t TZPGAGene::IntegerValue(int Index) const {
  TZPGAGenes* genes = Genes();
  TZPCustomGeneticAlgorithm* ga = genes ? genes->Algorithm() : nullptr;
  if (!ga) throw EListError::IndexOutOfBounds(Index);
  return DecodeInteger(ga->Population().Items(Index).Bits());
}

void TZPGAGene::EncodeBoolean(TZPEncodedBits& Bits, int Start, bool Value) const {
  Bits.SetPreserveSignBit(preserve_sign_bit_);
  Bits.WriteBoolean(Start, size_, Value);
}

void TZPGAGene::EncodeDouble(TZPEncodedBits& Bits, int Start, double Value) const {
  Bits.SetPreserveSignBit(preserve_sign_bit_);
  Bits.WriteFloat(Start, size_, Clamp(Value));
}

void TZPGAGene::EncodeSingle(TZPEncodedBits& Bits, int Start, float Value) const {
  Bits.SetPreserveSignBit(preserve_sign_bit_);
  Bits.WriteSingle(Start, size_, static_cast<float>(Clamp(static_cast<double>(Value))));
}

void TZPGAGene::EncodeInt64(TZPEncodedBits& Bits, int Start, int64_t Value) const {
  Bits.SetPreserveSignBit(preserve_sign_bit_);
  Bits.WriteInt64(Start, size_, ClampInt(Value));
}

void TZPGAGene::EncodeInteger(TZPEncodedBits& Bits, int Start, int32_t Value) const {
  Bits.SetPreserveSignBit(preserve_sign_bit_);
  // A bound outside the 32-bit range keeps its low 32 bits, as a plain integer store would.
  Bits.WriteInteger(Start, size_, static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ClampInt(Value)))));
}

void TZPGAGene::EncodeEnumeration(TZPEncodedBits& Bits, int Start, const std::string& Value) const {
  const int index = enumerations_.IndexOf(Value);
  if (index < 0) throw EGAException(InvalidEnumeratedValue(Value));
  Bits.SetPreserveSignBit(false);
  Bits.WriteInteger(Start, size_, index);
}

void TZPGAGene::Assign(const TPersistent& Source) {
  const auto* src = dynamic_cast<const TZPGAGene*>(&Source);
  if (!src) {
    TCollectionItem::Assign(Source);
    return;
  }
  gene_type_ = src->gene_type_;
  name_ = src->name_;
  size_ = src->size_;
  max_value_ = src->max_value_;
  min_value_ = src->min_value_;
  preserve_sign_bit_ = src->preserve_sign_bit_;
  // The list is copied as a plain value: no re-sizing from its change event.
  auto on_change = std::move(enumerations_.OnChange);
  enumerations_.OnChange = nullptr;
  if (gene_type_ == TGeneType::gtEnumeration)
    enumerations_.Assign(src->enumerations_);
  else
    enumerations_.Clear();
  enumerations_.OnChange = std::move(on_change);
  Touch();
  Changed(false);
}

TZPGAGenes::TZPGAGenes(TPersistent* Owner, ItemFactory Factory)
    : TOwnedCollection(
          Owner, Factory ? std::move(Factory) : [] { return std::make_unique<TZPGAGene>(); }) {}

TZPCustomGeneticAlgorithm* TZPGAGenes::Algorithm() const { return dynamic_cast<TZPCustomGeneticAlgorithm*>(Owner()); }

int32_t TZPGAGenes::TotalSize() const {
  if (Count() == 0) return 0;
  const TZPGAGene& last = Items(Count() - 1);
  return last.Offset() + last.Size();
}

void TZPGAGenes::RecalcOffsets(int From) {
  if (From < 1) From = 1;
  if (Count() > 0) Items(0).SetOffset(0);
  for (int i = From; i < Count(); ++i) Items(i).SetOffset(Items(i - 1).Offset() + Items(i - 1).Size());
}

uint64_t TZPGAGenes::NextRevision() {
  static std::atomic<uint64_t> counter{0};
  return counter.fetch_add(1, std::memory_order_relaxed) + 1;
}

void TZPGAGenes::GeneResized(int Index) {
  RecalcOffsets(Index + 1);
  if (auto* ga = Algorithm()) ga->CheckGeneSize();
}

void TZPGAGenes::Notify(TCollectionItem& Item, TCollectionNotification Action) {
  TOwnedCollection::Notify(Item, Action);
  BumpRevision();
  RecalcOffsets(1);
  if (auto* ga = Algorithm()) ga->GeneNotify(static_cast<TZPGAGene&>(Item), Action);
}

void TZPGAGenes::Update(TCollectionItem* Item) {
  BumpRevision();
  if (!Item) RecalcOffsets(1);
  if (auto* ga = Algorithm()) ga->GeneUpdate(static_cast<TZPGAGene*>(Item));
}

}  // namespace zp::ga
