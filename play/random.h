// The one pseudo-random generator of the family: splitmix64, small, fast and well mixed; a scramble needs nothing
// stronger. Its whole state is one 64-bit word that the caller keeps in its own state, so nothing is hidden and a
// saved state replays. A program seeds it once, from tick_count() at start-up; tests seed it fixed, and one seed
// always gives one sequence.
//
// Header only: the cubie model, which links nothing of the window layer, draws from it too.
#pragma once

#include <cstdint>

namespace play {

inline void seedRandom(uint64_t& randomState, uint32_t seed) { randomState = 0x9E3779B97F4A7C15ull ^ seed; }

// A uniformly distributed integer 0 <= r < n (n >= 1); 0 when n < 1. The top 32 bits scaled to n: the bias is
// below n / 2^32.
inline int32_t randomBelow(uint64_t& randomState, int32_t n) {
    if (n < 1) return 0;
    uint64_t z = (randomState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<int32_t>(((z >> 32) * static_cast<uint64_t>(n)) >> 32);
}

}  // namespace play
