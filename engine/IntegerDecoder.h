// TIntegerDecoder: every gene of a genotype read as an integer in one pass
// over the chromosome's words, for fitness functions that want all values of
// an individual at once. It keeps the genotype's field layout until the
// genotype's revision moves, so each decode is a table walk.
//
//   TIntegerDecoder decoder;                       // one per thread
//   decoder.Decode(ga.Genes(), item.Bits(), values);
#pragma once

#include <cstdint>
#include <vector>

#include "engine/ZPGAGene.h"

namespace zp::ga {

class TIntegerDecoder {
 public:
  // Values[i] := Genes.Items(i).DecodeInteger(Bits) for every gene, Values
  // resized to the gene count: the same values, the same range error for a
  // gene past the chromosome's end, and the same PreserveSignBit left in Bits.
  void Decode(const TZPGAGenes& Genes, TZPEncodedBits& Bits, std::vector<int32_t>& Values);

 private:
  // A gene's field: the value bits of Mask (at most 32) from bit Shift of
  // the 8 bytes at Byte, which lie inside the chromosome's words; a sign at
  // position Sign when Signed.
  struct TField {
    uint32_t byte;
    uint32_t mask;
    uint32_t sign;
    uint8_t shift;
    bool is_signed;
  };
  void Learn(const TZPGAGenes& Genes);

  const TZPGAGenes* genes_ = nullptr;  // not owned: only compared
  uint64_t revision_ = 0;
  std::vector<TField> fields_;
  int extent_ = 0;            // the chromosome must hold this many bits for the table walk
  bool last_signed_ = false;  // what the last gene's decode leaves in PreserveSignBit
  bool any_signed_ = false;
};

}  // namespace zp::ga
