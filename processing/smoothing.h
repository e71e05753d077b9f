#pragma once
// Many passes of the midpoint smoothing (MidpointSmooth of kernels.h), and how they cut their
// work.
#include <cstddef>
#include <string_view>

#include "core/spectrum_state.h"

namespace orvelo {

// `passes` passes of MidpointSmooth from `in` into `out` (which may be `in` itself); bit-identical
// to one MidpointSmooth followed by passes - 1 MidpointSmoothInPlace, but fast. No pass for
// passes <= 0. A list with three equal masses in a row is refused before anything changes.
void MidpointSmoothPasses(const PointList& in, PointList& out, int passes, std::string_view step = {});

}  // namespace orvelo

// How MidpointSmoothPasses cuts its work; tests pick their list sizes around these.
namespace orvelo::smoothing {

inline constexpr std::size_t kBlock = 8192;             // points finished per block and round
inline constexpr std::size_t kPassesPerRound = 64;      // passes made while a block is in cache
inline constexpr std::size_t kParallelWork = 1u << 20;  // point-passes per round worth a second core

}  // namespace orvelo::smoothing
