#include "platform/Bits.h"

#include "platform/Exceptions.h"

namespace zp {

namespace {
constexpr size_t WordsFor(int bits) { return (static_cast<size_t>(bits) + 63) / 64; }
uint64_t MaskFrom(int bit) { return ~uint64_t{0} << (bit & 63); }
uint64_t MaskUpTo(int bit) { return (bit & 63) == 63 ? ~uint64_t{0} : (uint64_t{1} << ((bit & 63) + 1)) - 1; }
}  // namespace

void TBits::SetSize(int Value) {
  if (Value < 0) throw EBitsError::IndexOutOfRange();
  if (Value == size_) return;
  words_.resize(WordsFor(Value), 0);
  size_ = Value;
  ClearTail();
}

void TBits::ClearTail() {
  // Bits past Size stay 0 so that growing again appends zeros and words compare equal.
  if (size_ & 63) words_.back() &= (uint64_t{1} << (size_ & 63)) - 1;
}

bool TBits::Bit(int Index) const {
  if (Index < 0 || Index >= size_) throw EBitsError::IndexOutOfRange();
  return BitFast(Index);
}

void TBits::SetBit(int Index, bool Value) {
  if (Index < 0) throw EBitsError::IndexOutOfRange();
  if (Index >= size_) SetSize(Index + 1);
  uint64_t& w = words_[static_cast<size_t>(Index) >> 6];
  const uint64_t m = uint64_t{1} << (Index & 63);
  w = Value ? (w | m) : (w & ~m);
}

void TBits::FlipRange(int First, int Last) {
  if (First > Last) return;
  const size_t a = static_cast<size_t>(First) >> 6, b = static_cast<size_t>(Last) >> 6;
  if (a == b) {
    words_[a] ^= MaskFrom(First) & MaskUpTo(Last);
    return;
  }
  words_[a] ^= MaskFrom(First);
  for (size_t i = a + 1; i < b; ++i) words_[i] = ~words_[i];
  words_[b] ^= MaskUpTo(Last);
}

void TBits::CopyRange(const TBits& Source, int First, int Last) {
  if (First > Last) return;
  const size_t a = static_cast<size_t>(First) >> 6, b = static_cast<size_t>(Last) >> 6;
  auto blend = [&](size_t i, uint64_t mask) { words_[i] = (words_[i] & ~mask) | (Source.words_[i] & mask); };
  if (a == b) {
    blend(a, MaskFrom(First) & MaskUpTo(Last));
    return;
  }
  blend(a, MaskFrom(First));
  for (size_t i = a + 1; i < b; ++i) words_[i] = Source.words_[i];
  blend(b, MaskUpTo(Last));
}

void TBits::CopyBitsFrom(const TBits& Source) {
  if (&Source == this) return;
  size_ = Source.size_;
  words_ = Source.words_;  // reuses this set's storage when it is large enough
}

void TBits::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TBits*>(&Source)) {
    CopyBitsFrom(*src);
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace zp
