// How far a point lies inside a convex four-cornered outline on screen, for the picking tests of the page programs.
#pragma once

#include <algorithm>
#include <cmath>

namespace xtest {

// The least distance from (x, y) to any edge of the outline with corners (cx[i], cy[i]) in order round it, either
// way round; negative outside.
inline double depthInside(const double (&cx)[4], const double (&cy)[4], double x, double y) {
    double area = 0;
    for (int c = 0; c < 4; ++c) area += cx[c] * cy[(c + 1) % 4] - cx[(c + 1) % 4] * cy[c];
    const double turn = area < 0 ? -1 : 1;
    double least = 1e9;
    for (int c = 0; c < 4; ++c) {
        const double ex = cx[(c + 1) % 4] - cx[c], ey = cy[(c + 1) % 4] - cy[c];
        least = std::min(least, turn * (ex * (y - cy[c]) - ey * (x - cx[c])) / std::hypot(ex, ey));
    }
    return least;
}

}  // namespace xtest
