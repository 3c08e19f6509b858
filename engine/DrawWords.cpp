#include "engine/DrawWords.h"

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>

#include "engine/EngineIsa.h"
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ZP_DRAW_VECTORS 1
#endif

namespace zp::ga {

namespace {

struct Jumps {
  std::array<uint32_t, 65> a{};  // a[k] = 134775813^k
  std::array<uint32_t, 65> c{};  // c[k] = sum of 134775813^i for i < k
  constexpr Jumps() {
    a[0] = 1;
    c[0] = 0;
    for (std::size_t k = 1; k < a.size(); ++k) {
      a[k] = a[k - 1] * 134775813u;
      c[k] = c[k - 1] * 134775813u + 1u;
    }
  }
};
constexpr Jumps kJumps;

// The seed n draws after s.
uint32_t Advance(uint32_t s, int n) {
  for (; n >= 64; n -= 64) s = kJumps.a[64] * s + kJumps.c[64];
  return kJumps.a[static_cast<std::size_t>(n)] * s + kJumps.c[static_cast<std::size_t>(n)];
}

// Bits 0..n-1 of a word (n 1..64).
uint64_t LowBits(int n) { return n >= 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1; }

// Each form flips word after word; s is the seed before the word's first draw.
uint64_t FlipPortable(uint32_t s, uint32_t t, int n, uint64_t* words) {
  uint64_t any = 0;
  for (int w = 0; w * 64 < n; ++w) {
    const int count = n - w * 64 < 64 ? n - w * 64 : 64;
    uint64_t mask = 0;
    for (int k = 0; k < count; ++k) {
      const uint32_t seed = kJumps.a[static_cast<std::size_t>(k) + 1] * s + kJumps.c[static_cast<std::size_t>(k) + 1];
      mask |= static_cast<uint64_t>(seed < t) << k;
    }
    words[w] ^= mask;
    any |= mask;
    s = kJumps.a[64] * s + kJumps.c[64];
  }
  return any;
}

#ifdef ZP_DRAW_VECTORS
// Eight seeds per step: multiply, add, unsigned compare (sign-flipped signed
// compare), and one bit per lane from the movemask.
__attribute__((target("avx2"))) uint64_t FlipAvx2(uint32_t s, uint32_t t, int n, uint64_t* words) {
  const __m256i flip = _mm256_set1_epi32(INT32_MIN);
  const __m256i bound = _mm256_xor_si256(_mm256_set1_epi32(static_cast<int>(t)), flip);
  uint64_t any = 0;
  for (int w = 0; w * 64 < n; ++w) {
    const __m256i seed = _mm256_set1_epi32(static_cast<int>(s));
    uint64_t mask = 0;
    for (int k = 0; k < 64; k += 8) {
      const __m256i a =
          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&kJumps.a[static_cast<std::size_t>(k) + 1]));
      const __m256i c =
          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&kJumps.c[static_cast<std::size_t>(k) + 1]));
      const __m256i seeds = _mm256_add_epi32(_mm256_mullo_epi32(a, seed), c);
      const __m256i below = _mm256_cmpgt_epi32(bound, _mm256_xor_si256(seeds, flip));
      mask |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(below)))) << k;
    }
    mask &= LowBits(n - w * 64);
    words[w] ^= mask;
    any |= mask;
    s = kJumps.a[64] * s + kJumps.c[64];
  }
  return any;
}

// Sixteen seeds per step; the unsigned compare gives the lane bits directly.
__attribute__((target("avx512f"))) uint64_t FlipAvx512(uint32_t s, uint32_t t, int n, uint64_t* words) {
  const __m512i bound = _mm512_set1_epi32(static_cast<int>(t));
  uint64_t any = 0;
  for (int w = 0; w * 64 < n; ++w) {
    const __m512i seed = _mm512_set1_epi32(static_cast<int>(s));
    uint64_t mask = 0;
    for (int k = 0; k < 64; k += 16) {
      const __m512i a = _mm512_loadu_si512(&kJumps.a[static_cast<std::size_t>(k) + 1]);
      const __m512i c = _mm512_loadu_si512(&kJumps.c[static_cast<std::size_t>(k) + 1]);
      const __m512i seeds = _mm512_add_epi32(_mm512_mullo_epi32(a, seed), c);
      mask |= static_cast<uint64_t>(_mm512_cmplt_epu32_mask(seeds, bound)) << k;
    }
    mask &= LowBits(n - w * 64);
    words[w] ^= mask;
    any |= mask;
    s = kJumps.a[64] * s + kJumps.c[64];
  }
  return any;
}
#endif

using TFlip = uint64_t (*)(uint32_t s, uint32_t t, int n, uint64_t* words);

TFlip FlipOf(detail::TDrawPath path) {
  switch (path) {
    case detail::TDrawPath::dpPortable:
      return &FlipPortable;
#ifdef ZP_DRAW_VECTORS
    case detail::TDrawPath::dpAvx2:
      return __builtin_cpu_supports("avx2") ? &FlipAvx2 : nullptr;
    case detail::TDrawPath::dpAvx512:
      return __builtin_cpu_supports("avx512f") ? &FlipAvx512 : nullptr;
#endif
    default:
      return nullptr;
  }
}

// The widest form this processor runs within the engine's cap, chosen once.
TFlip BestFlip() {
  static const TFlip best = [] {
    if (IsaAllowed(TEngineIsa::eiAvx512))
      if (TFlip f = FlipOf(detail::TDrawPath::dpAvx512)) return f;
    if (IsaAllowed(TEngineIsa::eiAvx2))
      if (TFlip f = FlipOf(detail::TDrawPath::dpAvx2)) return f;
    return FlipOf(detail::TDrawPath::dpPortable);
  }();
  return best;
}

}  // namespace

namespace detail {
bool DrawPathAvailable(TDrawPath Path) { return FlipOf(Path) != nullptr; }

bool FlipBelowThreshold(TDrawPath Path, uint32_t Seed, uint32_t Threshold, int n, uint64_t* Words, uint64_t& Flipped) {
  const TFlip f = FlipOf(Path);
  if (!f) return false;
  Flipped = f(Seed, Threshold, n, Words);
  return true;
}
}  // namespace detail

uint64_t FlipBelowThreshold(TRandom& Random, uint64_t Threshold, int n, uint64_t* Words) {
  if (n <= 0) return 0;
  const uint32_t s = Random.Seed();
  Random.SetSeed(Advance(s, n));
  if (Threshold == 0) return 0;  // no draw is below 0: the draws are only counted
  if (Threshold > 0xFFFFFFFFu) {
    // Every draw is below 2^32: every position flips.
    for (int w = 0; w * 64 < n; ++w) Words[w] ^= LowBits(n - w * 64);
    return ~uint64_t{0};
  }
  return BestFlip()(s, static_cast<uint32_t>(Threshold), n, Words);
}

uint64_t ThresholdMask(TRandom& Random, uint64_t Threshold, int n) {
  uint64_t mask = 0;
  FlipBelowThreshold(Random, Threshold, n, &mask);
  return mask;
}

uint64_t CoinMask(TRandom& Random, int n) {
  const uint32_t s = Random.Seed();
  uint64_t mask = 0;
  for (int k = 0; k < n; ++k) {
    const uint32_t seed = kJumps.a[static_cast<std::size_t>(k) + 1] * s + kJumps.c[static_cast<std::size_t>(k) + 1];
    mask |= static_cast<uint64_t>(seed >> 31) << k;
  }
  Random.SetSeed(Advance(s, n));
  return mask;
}

}  // namespace zp::ga
