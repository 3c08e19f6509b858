#include "engine/DrawWords.h"

#include <array>
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

uint64_t ThresholdMask(TRandom& Random, uint64_t Threshold, int n) {
  const uint32_t s = Random.Seed();
  uint64_t mask = 0;
  if (Threshold > 0xFFFFFFFFu) {
    mask = n == 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
  } else {
    const auto t = static_cast<uint32_t>(Threshold);
    for (int k = 0; k < n; ++k) {
      const uint32_t seed = kJumps.a[static_cast<std::size_t>(k) + 1] * s + kJumps.c[static_cast<std::size_t>(k) + 1];
      mask |= static_cast<uint64_t>(seed < t) << k;
    }
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
