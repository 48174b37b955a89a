// The cubie models of the three cuboid programs: up to 6 x 6 x 6 cubies over the span -120 to +120, inset 2,
// 5 degrees per frame. cuboid-b re-files only the slots that share a coordinate with the turned layer; cuboid-c
// draws each face as two triangles and colours the sides its own way. Kept apart from variant.h, which needs the
// build's variant number, so that tools built once for all three (the fuzzer, benchmarks) can name each model.
#pragma once

#include "cubie/facets.h"

namespace cuboid {

// clang-format off
inline constexpr cubie::CubieConfig cuboidAConfig{
    .maxGrid = 6, .startGrid = 6, .recordCount = 1296, .shape = cubie::FacetShape::quad,
    .faceColours = {15, 14, 2, 9, 12, 13}, .inset = 2, .stepSize = 5, .restrictedRefile = false, .span = 240};
// clang-format on
// clang-format off
inline constexpr cubie::CubieConfig cuboidBConfig{
    .maxGrid = 6, .startGrid = 6, .recordCount = 1296, .shape = cubie::FacetShape::quad,
    .faceColours = {15, 14, 2, 9, 12, 13}, .inset = 2, .stepSize = 5, .restrictedRefile = true, .span = 240};
// clang-format on
// clang-format off
inline constexpr cubie::CubieConfig cuboidCConfig{
    .maxGrid = 6, .startGrid = 6, .recordCount = 2592, .shape = cubie::FacetShape::triangle,
    .faceColours = {9, 2, 14, 15, 13, 12}, .inset = 2, .stepSize = 5, .restrictedRefile = false, .span = 240};
// clang-format on

}  // namespace cuboid
