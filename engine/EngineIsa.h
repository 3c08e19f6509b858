// How wide the engine's vector paths may go: each path checks that the
// processor runs it, and all of them stay at or below one cap, the environment
// variable ZP_ENGINE_ISA (avx512, avx2 or portable), so that a measurement or a
// test can hold the engine to a narrower instruction set than the machine has.
//
//   if (IsaAllowed(TEngineIsa::eiAvx2) && __builtin_cpu_supports("avx2")) ...
#pragma once

#include <optional>
#include <string_view>

namespace zp::ga {

// Ordered from narrowest to widest.
enum class TEngineIsa { eiPortable, eiAvx2, eiAvx512 };

// ZP_ENGINE_ISA's value as a cap; empty for any other text (no cap).
std::optional<TEngineIsa> ParseEngineIsa(std::string_view Text);

// The cap, read once per process: eiAvx512 (nothing capped) when the variable is unset or unknown.
TEngineIsa EngineIsaCap();

// True when paths of Isa are within the cap (whether the processor runs them is the path's own test).
inline bool IsaAllowed(TEngineIsa Isa) { return Isa <= EngineIsaCap(); }

}  // namespace zp::ga
