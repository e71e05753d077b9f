#pragma once
// How MidpointSmoothPasses cuts its work; tests pick their list sizes around these.
#include <cstddef>

namespace orvelo::smoothing {

inline constexpr std::size_t kBlock = 8192;             // points finished per block and round
inline constexpr std::size_t kPassesPerRound = 64;      // passes made while a block is in cache
inline constexpr std::size_t kParallelWork = 1u << 20;  // point-passes per round worth a second core

}  // namespace orvelo::smoothing
