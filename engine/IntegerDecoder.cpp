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
  last_signed_ = any_signed_ = false;
  for (int i = 0; i < Genes.Count(); ++i) {
    const TZPGAGene& gene = Genes.Items(i);
    const int start = gene.Offset(), size = gene.Size();
    const bool is_signed = gene.PreserveSignBit() && size > 0;
    const int width = std::clamp(is_signed ? size - 1 : size, 0, 32);
    // The plain decode checks the value bits it reads and, for a signed gene, the sign position.
    if (width > 0) extent_ = std::max(extent_, start + width);
    if (is_signed) extent_ = std::max(extent_, start + size);
    if (start < 0) extent_ = INT_MAX;      // never laid out so; the plain decode raises
    const int at = width > 0 ? start : 0;  // an empty field reads from position 0 and keeps nothing
    fields_.push_back({.byte = static_cast<uint32_t>(at >> 3),
                       .mask = width == 32 ? 0xFFFFFFFFu : (1u << width) - 1,
                       .sign = static_cast<uint32_t>(is_signed ? start + size - 1 : 0),
                       .shift = static_cast<uint8_t>(at & 7),
                       .is_signed = is_signed});
    last_signed_ = gene.PreserveSignBit();
    any_signed_ = any_signed_ || is_signed;
  }
  if (extent_ == 0 || extent_ == INT_MAX) return;
  // A chromosome that holds extent_ bits has at least `bytes` bytes of
  // words. A field whose 8 bytes would reach past them reads the last 8
  // instead, shifted further: it ends before them.
  const uint32_t bytes = static_cast<uint32_t>((extent_ + 63) / 64 * 8);
  for (TField& f : fields_)
    if (f.byte + 8 > bytes) {
      f.shift = static_cast<uint8_t>(f.shift + (f.byte - (bytes - 8)) * 8);
      f.byte = bytes - 8;
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
  int32_t* out = Values.data();
  if (extent_ == 0) {
    std::fill(out, out + count, 0);  // every field is empty
    return;
  }
  const uint64_t* words = Bits.Words().data();
  const auto* bytes = reinterpret_cast<const unsigned char*>(words);
  auto field = [bytes](const TField& f) {
    uint64_t v;
    std::memcpy(&v, bytes + f.byte, sizeof v);  // bits in ascending order: the words are little-endian
    return static_cast<uint32_t>(v >> f.shift) & f.mask;
  };
  if (!any_signed_) {
    for (const TField& f : fields_) *out++ = static_cast<int32_t>(field(f));
    return;
  }
  for (const TField& f : fields_) {
    uint32_t value = field(f);
    if (f.is_signed && ((words[f.sign >> 6] >> (f.sign & 63)) & 1u)) value = value == 0 ? 0x80000000u : 0u - value;
    *out++ = static_cast<int32_t>(value);
  }
}

}  // namespace zp::ga
