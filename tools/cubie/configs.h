// The configurations the cubie model's tests, benchmark and fuzzer run: every cube program's own.
#pragma once

#include "cube3d/config.h"
#include "cubesolve/model.h"
#include "cubie/cubie.h"
#include "cuboid/configs.h"

namespace cubie_test {

using cubie::CubieConfig;
using cubie::FacetShape;
using cuboid::cuboidAConfig;
using cuboid::cuboidBConfig;
using cuboid::cuboidCConfig;

// The largest grid the model must carry: cube3d's up to 10 x 10 x 10 quads, inset 1, one degree per frame,
// re-filing only the slots that share a coordinate with the turned layer.
inline constexpr CubieConfig largeGridConfig = cube3d::cube3dConfig;

// A cube of half the span, -60 to +60 with cellSize = 120 div N, N up to 5 in triangles: cubesolve's.
inline constexpr CubieConfig halfSpanConfig = cubesolve::cubeConfig;

}  // namespace cubie_test
