#include "engine/IntegerDecoder.h"

#include <algorithm>
#include <climits>

namespace zp::ga {

void TIntegerDecoder::Learn(const TZPGAGenes& Genes) {
  genes_ = &Genes;
  revision_ = Genes.Revision();
  fields_.clear();
  extent_ = 0;
  last_signed_ = false;
  for (int i = 0; i < Genes.Count(); ++i) {
    const TZPGAGene& gene = Genes.Items(i);
    const int start = gene.Offset(), size = gene.Size();
    const bool is_signed = gene.PreserveSignBit() && size > 0;
    const int width = std::clamp(is_signed ? size - 1 : size, 0, 32);
    // The plain decode checks the value bits it reads and, for a signed gene, the sign position.
    if (width > 0) extent_ = std::max(extent_, start + width);
    if (is_signed) extent_ = std::max(extent_, start + size);
    const int at = width > 0 ? std::max(start, 0) : 0;  // an empty field reads word 0 and keeps nothing of it
    fields_.push_back({.word = static_cast<uint32_t>(at >> 6),
                       .sign = static_cast<uint32_t>(is_signed ? start + size - 1 : 0),
                       .shift = static_cast<uint8_t>(at & 63),
                       .width = static_cast<uint8_t>(width),
                       .is_signed = is_signed});
    if (start < 0) extent_ = INT_MAX;  // never laid out so; the plain decode raises
    last_signed_ = gene.PreserveSignBit();
  }
}

void TIntegerDecoder::Decode(const TZPGAGenes& Genes, TZPEncodedBits& Bits, std::vector<int32_t>& Values) {
  if (genes_ != &Genes || revision_ != Genes.Revision()) Learn(Genes);
  const int count = Genes.Count();
  Values.resize(static_cast<size_t>(count));
  if (Bits.Size() < extent_) {
    // A gene reaches past the chromosome: the genes' own decode raises at the first such one.
    for (int i = 0; i < count; ++i) Values[static_cast<size_t>(i)] = Genes.Items(i).DecodeInteger(Bits);
    return;
  }
  if (count == 0) return;
  Bits.SetPreserveSignBit(last_signed_);
  const uint64_t* words = Bits.Words().data();
  // A field that ends in the last word reads that word twice; the second read is masked off.
  const size_t last = Bits.Words().empty() ? 0 : Bits.Words().size() - 1;
  const uint64_t none = 0;
  if (Bits.Words().empty()) words = &none;
  int32_t* out = Values.data();
  for (const TField& f : fields_) {
    const size_t next = std::min<size_t>(f.word + 1, last);
    const uint64_t v = (words[f.word] >> f.shift) | ((words[next] << 1) << (63 - f.shift));
    uint32_t value = static_cast<uint32_t>(v & ((uint64_t{1} << f.width) - 1));
    if (f.is_signed && ((words[f.sign >> 6] >> (f.sign & 63)) & 1u)) value = value == 0 ? 0x80000000u : 0u - value;
    *out++ = static_cast<int32_t>(value);
  }
}

}  // namespace zp::ga
