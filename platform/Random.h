// The shared random source: a 32-bit linear congruential generator whose
// every draw advances seed := seed * 134775813 + 1. One process-wide instance
// starts at seed 0 and is never reseeded, so a run repeats bit for bit.
//
//   zp::TRandom& rng = zp::GlobalRandom();
//   int k = rng.RandomInt(10);   // 0..9
//   double r = rng.Random();     // [0, 1)
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zp {

class TRandom {
 public:
  constexpr TRandom() = default;
  constexpr explicit TRandom(uint32_t seed) : seed_(seed) {}

  constexpr uint32_t Seed() const { return seed_; }
  constexpr void SetSeed(uint32_t seed) { seed_ = seed; }

  // Advances the state and returns the new seed.
  constexpr uint32_t Next() {
    seed_ = seed_ * 134775813u + 1u;
    return seed_;
  }

  // Integer draw over 0..n-1: (seed * n) div 2^32. n <= 0 still advances and gives 0.
  constexpr int32_t RandomInt(int32_t n) {
    const uint32_t s = Next();
    if (n <= 0) return 0;
    return static_cast<int32_t>((static_cast<uint64_t>(s) * static_cast<uint32_t>(n)) >> 32);
  }

  // Real draw seed / 2^32 in [0, 1).
  constexpr double Random() { return static_cast<double>(Next()) * (1.0 / 4294967296.0); }

  // The seed bound T with "Random() < p" exactly when "Next() < T": seeds are
  // integers and seed / 2^32 is exact, so the test is seed < ceil(p * 2^32).
  static uint64_t Threshold(double p);

 private:
  uint32_t seed_ = 0;
};

// The process-wide source, seed 0 at program start.
TRandom& GlobalRandom();

// A seed as a user writes it: decimal digits, or "0x" and hexadecimal digits,
// from 0 to 4294967295. Empty for anything else (a sign, spaces, an empty text,
// a value out of range).
[[nodiscard]] std::optional<uint32_t> ParseSeed(std::string_view Text);

}  // namespace zp
