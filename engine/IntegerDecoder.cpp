#include "engine/IntegerDecoder.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

namespace zp::ga {

static_assert(std::endian::native == std::endian::little, "fields are read as little-endian bytes");

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
    const int at = width > 0 ? std::max(start, 0) : 0;  // an empty field reads byte 0 and keeps nothing of it
    fields_.push_back({.byte = static_cast<uint32_t>(at >> 3),
                       .mask = width == 32 ? 0xFFFFFFFFu : (1u << width) - 1,
                       .sign = static_cast<uint32_t>(is_signed ? start + size - 1 : 0),
                       .shift = static_cast<uint8_t>(at & 7),
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
  const std::vector<uint64_t>& words = Bits.Words();
  if (padded_.size() < words.size() + 1) padded_.resize(words.size() + 1);  // grows once per chromosome length
  std::copy(words.begin(), words.end(), padded_.begin());
  padded_[words.size()] = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(padded_.data());
  int32_t* out = Values.data();
  for (const TField& f : fields_) {
    uint64_t v;
    std::memcpy(&v, bytes + f.byte, sizeof v);  // bits in ascending order: the words are little-endian
    uint32_t value = static_cast<uint32_t>(v >> f.shift) & f.mask;
    if (f.is_signed && ((padded_[f.sign >> 6] >> (f.sign & 63)) & 1u)) value = value == 0 ? 0x80000000u : 0u - value;
    *out++ = static_cast<int32_t>(value);
  }
}

}  // namespace zp::ga
