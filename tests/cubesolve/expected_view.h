// cubesolve's picture in the names the end-to-end test reads: the tests' one page projection and palette
// (tests/support/), on cubesolve's cell raster.
#pragma once

#include <cstdint>

#include "tests/support/picture.h"

namespace expected_view {

using oracle::paletteRgb;
using oracle::Rgb;

// Cell of a world point under the view angles. A cell covers window pixels 2x to 2x + 2.
inline void projectPoint(const double w[3], const int32_t angle[3], int32_t& x, int32_t& y) {
    oracle::projectToCell(oracle::cubesolvePage, angle, w, x, y);
}

}  // namespace expected_view
