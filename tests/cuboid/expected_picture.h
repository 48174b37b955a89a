// The cuboid programs' picture in the names the end-to-end test reads: the tests' one model of what a player sees
// (tests/support/picture.h), on the cuboid programs' layout and page.
#pragma once

#include <vector>

#include "tests/support/picture.h"

namespace expected {

using oracle::paletteRgb;
using oracle::Rgb;
using Sticker = oracle::SeenSticker;
inline constexpr const auto& sideColours = oracle::cuboidSides;

// A solved cuboid under view angles; the default is the start picture.
struct View {
    int gridSize = 6;
    int dims[3] = {6, 6, 6};
    int angle[3] = {45, 45, 90};
};

inline std::vector<Sticker> visibleStickers(const View& v) {
    return oracle::visibleStickers(oracle::cuboidLayout(v.gridSize, v.dims), oracle::cuboidPage, v.angle);
}

}  // namespace expected
