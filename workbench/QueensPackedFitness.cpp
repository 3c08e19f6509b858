#include "workbench/QueensPackedFitness.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "engine/EngineIsa.h"
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ZP_QUEENS_VECTORS 1
#endif

namespace zp::queens {

namespace {

// The attacking pairs are the pairs of columns that share a key: the row v,
// the falling diagonal v - i or the rising diagonal v + i (the three tests
// exclude each other for distinct columns). So
//   fitness = n(n-1)/2 - pairs sharing a key - penalties,
// a row >= N costing i (as the later column of i pairs) and one more unless
// it is the last column.
int Pairs(int n) { return n * (n - 1) / 2; }

int PenaltyOf(uint32_t OutOfRange, int n) {
  int penalty = 0;
  for (uint32_t m = OutOfRange; m != 0; m &= m - 1) {
    const int i = __builtin_ctz(m);
    penalty += i + (i < n - 1 ? 1 : 0);
  }
  return penalty;
}

// Bits First .. First + Count - 1 of the packed words at the bottom of the
// result (Count <= 64); higher result bits are whatever follows in the word
// already read. No word past the one holding the last bit is read.
inline uint64_t Window(const uint64_t* w, int First, int Count) {
  const int k = First >> 6, s = First & 63;
  uint64_t x = w[k] >> s;
  if (s + Count > 64) x |= w[k + 1] << (64 - s);
  return x;
}

int FitnessPortable(const uint64_t* w, int n, int b) {
  // Rows are below 32 (b <= 5): row 0..31, rising v + i 0..62, falling v - i + 31 0..62.
  uint64_t tables[20] = {};  // cleared with wide stores, not a byte loop
  auto* row = reinterpret_cast<unsigned char*>(tables);
  unsigned char* rising = row + 32;
  unsigned char* falling = rising + 64;
  const uint32_t mask = (1u << b) - 1;
  int attacking = 0;
  uint32_t out_of_range = 0;
  for (int i = 0; i < n; ++i) {
    const uint32_t v = static_cast<uint32_t>(Window(w, i * b, b)) & mask;
    attacking += row[v]++;
    attacking += rising[v + i]++;
    attacking += falling[v + 31 - i]++;
    out_of_range |= static_cast<uint32_t>(v >= static_cast<uint32_t>(n)) << i;
  }
  return Pairs(n) - attacking - PenaltyOf(out_of_range, n);
}

#ifdef ZP_QUEENS_VECTORS
#define ZP_AVX2_TARGET __attribute__((target("avx2,bmi,bmi2,popcnt")))
#define ZP_AVX512_TARGET __attribute__((target("avx2,bmi,bmi2,popcnt,avx512f,avx512bw,avx512vl")))

// Genes 8q .. 8q + 7 as bytes: eight genes of b <= 5 bits make at most 40
// bits, which one deposit spreads to the low b bits of eight bytes.
ZP_AVX2_TARGET inline int64_t RowGroup(const uint64_t* w, int n, int b, int q) {
  if (8 * q >= n) return 0;
  const int genes = n - 8 * q < 8 ? n - 8 * q : 8;
  return static_cast<int64_t>(_pdep_u64(Window(w, 8 * q * b, genes * b), 0x0101010101010101ull * ((1u << b) - 1)));
}

// The n rows as bytes 0..n-1 of a vector.
ZP_AVX2_TARGET inline __m256i DecodeRows(const uint64_t* w, int n, int b) {
  return _mm256_set_epi64x(RowGroup(w, n, b, 3), RowGroup(w, n, b, 2), RowGroup(w, n, b, 1), RowGroup(w, n, b, 0));
}

ZP_AVX2_TARGET inline __m256i Iota() {
  return _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25,
                          26, 27, 28, 29, 30, 31);
}

// Bytes at n and above: n cleared, or (for the keys) 128 + column, a value no
// other byte holds, so that no pair with an absent column is ever counted.
ZP_AVX2_TARGET inline __m256i Present(int n) {
  return _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(n)), Iota());
}

// Bytes >= N among the n present columns, one bit per column.
ZP_AVX2_TARGET inline uint32_t OutOfRange(__m256i v, __m256i present, int N) {
  const __m256i at_least = _mm256_cmpeq_epi8(_mm256_max_epu8(v, _mm256_set1_epi8(static_cast<char>(N))), v);
  return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(at_least, present)));
}

// Rotation by D of the 32 bytes of k (swapped: its two halves exchanged), compared with k; each equal byte adds 1 to
// acc.
template <int... D>
ZP_AVX2_TARGET inline __m256i CountRotations(std::integer_sequence<int, D...>, __m256i k, __m256i swapped,
                                             __m256i acc) {
  ((acc = _mm256_sub_epi8(acc, _mm256_cmpeq_epi8(_mm256_alignr_epi8(swapped, k, D + 1), k))), ...);
  return acc;
}

// Rotations 1..15 meet every pair of columns less than 16 apart (cyclically)
// once; rotation 16 meets the pairs 16 apart twice, so only its first 16 bytes count.
ZP_AVX2_TARGET inline __m256i CountKeyPairs(__m256i k, __m256i acc) {
  const __m256i swapped = _mm256_permute2x128_si256(k, k, 1);
  acc = CountRotations(std::make_integer_sequence<int, 15>{}, k, swapped, acc);
  const __m256i first_half = _mm256_setr_epi64x(-1, -1, 0, 0);
  return _mm256_sub_epi8(acc, _mm256_and_si256(_mm256_cmpeq_epi8(swapped, k), first_half));
}

// Up to 16 columns: the three keys in 128-bit lanes, each rotated within its
// lane: rotations 1..7 and the first 8 bytes of rotation 8.
template <int... D>
ZP_AVX2_TARGET inline __m256i CountLaneRotations(std::integer_sequence<int, D...>, __m256i k, __m256i acc) {
  ((acc = _mm256_sub_epi8(acc, _mm256_cmpeq_epi8(_mm256_alignr_epi8(k, k, D + 1), k))), ...);
  return acc;
}

ZP_AVX2_TARGET inline __m256i CountLanePairs(__m256i k, __m256i acc) {
  acc = CountLaneRotations(std::make_integer_sequence<int, 7>{}, k, acc);
  const __m256i first_half = _mm256_setr_epi64x(-1, 0, -1, 0);
  return _mm256_sub_epi8(acc, _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_alignr_epi8(k, k, 8), k), first_half));
}

ZP_AVX2_TARGET inline int SumBytes(__m256i acc) {
  const __m256i sums = _mm256_sad_epu8(acc, _mm256_setzero_si256());
  const __m128i half = _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
  return static_cast<int>(_mm_cvtsi128_si64(half) + _mm_extract_epi64(half, 1));
}

ZP_AVX2_TARGET int FitnessAvx2(const uint64_t* w, int n, int b) {
  const __m256i v = DecodeRows(w, n, b);
  if (n <= 16) {
    // [rising | falling] and [row | absent] as 16-byte lanes.
    const __m256i iota = _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7,
                                          8, 9, 10, 11, 12, 13, 14, 15);
    const __m256i present = _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(n)), iota);
    const __m256i absent_key = _mm256_add_epi8(iota, _mm256_set1_epi8(static_cast<char>(128)));
    const __m256i rows = _mm256_permute2x128_si256(v, v, 0);  // the 16 rows in both lanes
    const __m256i signed_iota = _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, -1, -2, -3,
                                                 -4, -5, -6, -7, -8, -9, -10, -11, -12, -13, -14, -15);
    const __m256i first = _mm256_blendv_epi8(absent_key, _mm256_add_epi8(rows, signed_iota), present);
    const __m256i second =
        _mm256_blendv_epi8(absent_key, rows, _mm256_and_si256(present, _mm256_setr_epi64x(-1, -1, 0, 0)));
    const int attacking = SumBytes(CountLanePairs(second, CountLanePairs(first, _mm256_setzero_si256())));
    return Pairs(n) - attacking - PenaltyOf(OutOfRange(v, Present(n), n), n);
  }
  const __m256i iota = Iota();
  const __m256i present = Present(n);
  const __m256i absent_key = _mm256_add_epi8(iota, _mm256_set1_epi8(static_cast<char>(128)));
  __m256i acc = _mm256_setzero_si256();
  acc = CountKeyPairs(_mm256_blendv_epi8(absent_key, v, present), acc);
  acc = CountKeyPairs(_mm256_blendv_epi8(absent_key, _mm256_add_epi8(v, iota), present), acc);
  acc = CountKeyPairs(_mm256_blendv_epi8(absent_key, _mm256_sub_epi8(v, iota), present), acc);
  const int attacking = SumBytes(acc);
  return Pairs(n) - attacking - PenaltyOf(OutOfRange(v, present, n), n);
}

// The same counts with two keys per 512-bit register: [row | falling] and
// [rising | rising rotated by 8], so that eight rotations of the second cover
// sixteen of the rising key.
template <int... D>
ZP_AVX512_TARGET inline int CountRotations512(std::integer_sequence<int, D...>, __m512i k, __m512i swapped,
                                              __m512i target) {
  return (0 + ... +
          __builtin_popcountll(_cvtmask64_u64(_mm512_cmpeq_epi8_mask(_mm512_alignr_epi8(swapped, k, D + 1), target))));
}

// The masked forms name every source: GCC 12 reports the plain ones' undefined register as uninitialized.
ZP_AVX512_TARGET inline __m512i Join(__m256i low, __m256i high) {
  const __m512i z = _mm512_castsi256_si512(low);
  return _mm512_mask_inserti64x4(z, 0xFF, z, high, 1);
}

// Each 256-bit half with its two 128-bit lanes exchanged.
ZP_AVX512_TARGET inline __m512i SwapLanes(__m512i z) {
  return _mm512_mask_shuffle_i64x2(z, 0xFF, z, z, _MM_SHUFFLE(2, 3, 0, 1));
}

ZP_AVX512_TARGET int FitnessAvx512(const uint64_t* w, int n, int b) {
  const __m256i v = DecodeRows(w, n, b);
  if (n <= 16) {
    // [row | falling | rising | absent] as 16-byte lanes, each rotated within its lane.
    const __m128i rows = _mm256_castsi256_si128(v);
    const __m128i iota = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __mmask16 present = static_cast<__mmask16>((1u << n) - 1);
    const __m128i absent_key = _mm_add_epi8(iota, _mm_set1_epi8(static_cast<char>(128)));
    const __m128i row = _mm_mask_blend_epi8(present, absent_key, rows);
    const __m128i falling = _mm_mask_blend_epi8(present, absent_key, _mm_sub_epi8(rows, iota));
    const __m128i rising = _mm_mask_blend_epi8(present, absent_key, _mm_add_epi8(rows, iota));
    const __m512i keys = Join(_mm256_set_m128i(falling, row), _mm256_set_m128i(absent_key, rising));
    int attacking = CountRotations512(std::make_integer_sequence<int, 7>{}, keys, keys, keys);
    attacking += __builtin_popcountll(
        _cvtmask64_u64(_mm512_mask_cmpeq_epi8_mask(0x00FF00FF00FF00FFull, _mm512_alignr_epi8(keys, keys, 8), keys)));
    const __mmask16 at_least =
        _mm_mask_cmpge_epu8_mask(present, rows, _mm_set1_epi8(static_cast<char>(static_cast<unsigned char>(n))));
    return Pairs(n) - attacking - PenaltyOf(_cvtmask16_u32(at_least), n);
  }
  const __m256i iota = Iota();
  const __mmask32 present = n >= 32 ? ~__mmask32{0} : static_cast<__mmask32>((1u << n) - 1);
  const __m256i absent_key = _mm256_add_epi8(iota, _mm256_set1_epi8(static_cast<char>(128)));
  const __m256i row = _mm256_mask_blend_epi8(present, absent_key, v);
  const __m256i falling = _mm256_mask_blend_epi8(present, absent_key, _mm256_sub_epi8(v, iota));
  const __m256i rising = _mm256_mask_blend_epi8(present, absent_key, _mm256_add_epi8(v, iota));
  const __m256i rising8 = _mm256_alignr_epi8(_mm256_permute2x128_si256(rising, rising, 1), rising, 8);

  const __m512i first = Join(row, falling);
  const __m512i first_swapped = SwapLanes(first);
  int attacking = CountRotations512(std::make_integer_sequence<int, 15>{}, first, first_swapped, first);
  attacking += __builtin_popcountll(
      _cvtmask64_u64(_mm512_mask_cmpeq_epi8_mask(0x0000FFFF0000FFFFull, first_swapped, first)));  // rotation 16

  const __m512i second = Join(rising, rising8);
  const __m512i second_target = Join(rising, rising);
  attacking += CountRotations512(std::make_integer_sequence<int, 8>{}, second, SwapLanes(second), second_target);
  // The eighth rotation of the upper half is rotation 16 of the rising key: its first 16 bytes only.
  attacking -= __builtin_popcountll(_cvtmask64_u64(_mm512_mask_cmpeq_epi8_mask(
      0xFFFF000000000000ull, _mm512_alignr_epi8(SwapLanes(second), second, 8), second_target)));

  const __mmask32 at_least =
      _mm256_mask_cmpge_epu8_mask(present, v, _mm256_set1_epi8(static_cast<char>(static_cast<unsigned char>(n))));
  return Pairs(n) - attacking - PenaltyOf(_cvtmask32_u32(at_least), n);
}
#endif

}  // namespace

TPackedQueensFitness PackedQueensFitness(TPackedQueensPath Path) {
  switch (Path) {
    case TPackedQueensPath::qpPortable:
      return &FitnessPortable;
#ifdef ZP_QUEENS_VECTORS
    case TPackedQueensPath::qpAvx2:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt")
                 ? &FitnessAvx2
                 : nullptr;
    case TPackedQueensPath::qpAvx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                     __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("bmi2") &&
                     __builtin_cpu_supports("popcnt")
                 ? &FitnessAvx512
                 : nullptr;
#endif
    default:
      return nullptr;
  }
}

TPackedQueensFitness BestPackedQueensFitness() {
  static const TPackedQueensFitness best = [] {
    using zp::ga::IsaAllowed;
    using zp::ga::TEngineIsa;
    if (IsaAllowed(TEngineIsa::eiAvx512))
      if (TPackedQueensFitness f = PackedQueensFitness(TPackedQueensPath::qpAvx512)) return f;
    if (IsaAllowed(TEngineIsa::eiAvx2))
      if (TPackedQueensFitness f = PackedQueensFitness(TPackedQueensPath::qpAvx2)) return f;
    return PackedQueensFitness(TPackedQueensPath::qpPortable);
  }();
  return best;
}

}  // namespace zp::queens
