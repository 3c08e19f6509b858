// TBits: a growable bit set packed in 64-bit words. Reading outside
// 0..Size-1 or writing a negative position raises "Bits index out of range";
// writing at or past Size grows the set first (new bits 0).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Persistent.h"

namespace zp {

class TBits : public TPersistent {
 public:
  TBits() = default;
  std::string ClassName() const override { return "TBits"; }

  int Size() const { return size_; }
  // Growing appends 0 bits; shrinking drops the highest positions. Negative raises.
  void SetSize(int Value);

  // Bit at Index; raises outside 0..Size-1.
  bool Bit(int Index) const;
  // Sets the bit at Index, growing Size to Index + 1 when needed; negative raises.
  void SetBit(int Index, bool Value);

  // Unchecked access for hot loops that have checked their range.
  bool BitFast(int Index) const { return (words_[static_cast<size_t>(Index) >> 6] >> (Index & 63)) & 1u; }

  // Complements positions First..Last inclusive, a word at a time; the range must lie inside.
  void FlipRange(int First, int Last);
  // Positions First..Last inclusive take Source's bits at the same positions; both must hold them.
  void CopyRange(const TBits& Source, int First, int Last);

  // Positions up to Cut take Low's bits, the later ones High's (any Cut:
  // below 0 takes all from High, Size or more all from Low). Low and High
  // must have this set's Size.
  void Blend(const TBits& Low, const TBits& High, int Cut) {
    const int64_t cut = Cut;
    for (size_t w = 0; w < words_.size(); ++w) {
      const int64_t first = static_cast<int64_t>(w) * 64;  // the word's first position
      const uint64_t low = cut < first ? 0 : cut >= first + 63 ? ~uint64_t{0} : (uint64_t{2} << (cut - first)) - 1;
      words_[w] = (Low.words_[w] & low) | (High.words_[w] & ~low);
    }
  }

  // Size and every bit of Source, a word at a time.
  void CopyBitsFrom(const TBits& Source);

  // The packed words: bit i is bit (i mod 64) of word i div 64; bits past Size are 0.
  const std::vector<uint64_t>& Words() const { return words_; }
  std::vector<uint64_t>& MutableWords() { return words_; }

  void Assign(const TPersistent& Source) override;

  bool operator==(const TBits& Other) const { return size_ == Other.size_ && words_ == Other.words_; }

 private:
  void ClearTail();
  int size_ = 0;
  std::vector<uint64_t> words_;
};

}  // namespace zp
