// Whole degrees to radians for the tests, written out here rather than taken from the programs, so that a wrong
// factor in a program shows up as a wrong picture or a wrong turn.
#pragma once

namespace oracle {

inline constexpr double pi = 3.14159265358979323846;
inline constexpr double degree = pi / 180;  // the very double 0.017453292519943295 the rules name

}  // namespace oracle
