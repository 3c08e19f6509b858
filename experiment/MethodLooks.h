// How the experiment's pictures show each selection method: the caption and
// pen colour of its curve, in the workbench's method order (kMethodOrder).
#pragma once

#include <array>
#include <string_view>

#include "experiment/RunRow.h"
#include "platform/Color.h"

namespace zp::experiment {

// The curve captions and pen colours of the workbench's fitness graph
// (workbench/FitnessGraph.cpp and GraphFeed.cpp), copied so that an ECDF reads
// like the graph a user already knows; change both together.
inline constexpr std::array<std::string_view, kMethodOrder.size()> kMethodCaptions{"Roulette", "Random", "Tournament",
                                                                                   "Stochastic Tournament", "Elitist"};
inline constexpr std::array<TColor, kMethodOrder.size()> kMethodColors{clLime, clRed, clYellow, clBlue, clFuchsia};

}  // namespace zp::experiment
