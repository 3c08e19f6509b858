#include "engine/DrawWords.h"

#include <array>
#include <climits>
#include <cstdint>
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif
#include <cstddef>

namespace zp::ga {

namespace {

struct Jumps {
  std::array<uint32_t, 65> a{};  // a[k] = 134775813^k
  std::array<uint32_t, 65> c{};  // c[k] = sum of 134775813^i for i < k
  constexpr Jumps() {
    a[0] = 1;
    c[0] = 0;
    for (std::size_t k = 1; k <= 64; ++k) {
      a[k] = a[k - 1] * 134775813u;
      c[k] = c[k - 1] * 134775813u + 1u;
    }
  }
};
constexpr Jumps kJumps;

}  // namespace

namespace {

uint64_t ThresholdMaskPlain(uint32_t s, uint32_t t, int n) {
  uint64_t mask = 0;
  for (int k = 0; k < n; ++k) {
    const uint32_t seed = kJumps.a[static_cast<std::size_t>(k) + 1] * s + kJumps.c[static_cast<std::size_t>(k) + 1];
    mask |= static_cast<uint64_t>(seed < t) << k;
  }
  return mask;
}

#if defined(__x86_64__) && defined(__GNUC__)
// Eight seeds per step: multiply, add, unsigned compare (sign-flipped signed
// compare), and one bit per lane from the movemask.
__attribute__((target("avx2"))) uint64_t ThresholdMaskAvx2(uint32_t s, uint32_t t, int n) {
  const __m256i seed = _mm256_set1_epi32(static_cast<int>(s));
  const __m256i flip = _mm256_set1_epi32(INT32_MIN);
  const __m256i bound = _mm256_xor_si256(_mm256_set1_epi32(static_cast<int>(t)), flip);
  uint64_t mask = 0;
  int k = 0;
  for (; k + 8 <= n; k += 8) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&kJumps.a[static_cast<std::size_t>(k) + 1]));
    const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&kJumps.c[static_cast<std::size_t>(k) + 1]));
    const __m256i seeds = _mm256_add_epi32(_mm256_mullo_epi32(a, seed), c);
    const __m256i below = _mm256_cmpgt_epi32(bound, _mm256_xor_si256(seeds, flip));
    mask |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(below)))) << k;
  }
  for (; k < n; ++k) {
    const uint32_t v = kJumps.a[static_cast<std::size_t>(k) + 1] * s + kJumps.c[static_cast<std::size_t>(k) + 1];
    mask |= static_cast<uint64_t>(v < t) << k;
  }
  return mask;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

}  // namespace

namespace detail {
uint64_t ThresholdMaskPortable(uint32_t Seed, uint32_t Threshold, int n) {
  return ThresholdMaskPlain(Seed, Threshold, n);
}
bool ThresholdMaskVector(uint32_t Seed, uint32_t Threshold, int n, uint64_t& Mask) {
#if defined(__x86_64__) && defined(__GNUC__)
  if (!HasAvx2()) return false;
  Mask = ThresholdMaskAvx2(Seed, Threshold, n);
  return true;
#else
  (void)Seed, (void)Threshold, (void)n, (void)Mask;
  return false;
#endif
}
}  // namespace detail

uint64_t ThresholdMask(TRandom& Random, uint64_t Threshold, int n) {
  const uint32_t s = Random.Seed();
  uint64_t mask;
  if (Threshold > 0xFFFFFFFFu) {
    mask = n == 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
  } else {
#if defined(__x86_64__) && defined(__GNUC__)
    mask = HasAvx2() ? ThresholdMaskAvx2(s, static_cast<uint32_t>(Threshold), n)
                     : ThresholdMaskPlain(s, static_cast<uint32_t>(Threshold), n);
#else
    mask = ThresholdMaskPlain(s, static_cast<uint32_t>(Threshold), n);
#endif
  }
  Random.SetSeed(kJumps.a[static_cast<std::size_t>(n)] * s + kJumps.c[static_cast<std::size_t>(n)]);
  return mask;
}

uint64_t CoinMask(TRandom& Random, int n) {
  const uint32_t s = Random.Seed();
  uint64_t mask = 0;
  for (int k = 0; k < n; ++k) {
    const uint32_t seed = kJumps.a[static_cast<std::size_t>(k) + 1] * s + kJumps.c[static_cast<std::size_t>(k) + 1];
    mask |= static_cast<uint64_t>(seed >> 31) << k;
  }
  Random.SetSeed(kJumps.a[static_cast<std::size_t>(n)] * s + kJumps.c[static_cast<std::size_t>(n)]);
  return mask;
}

}  // namespace zp::ga
