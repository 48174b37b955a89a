// The flat screen of the programs that draw on pages: a model point turned by three whole-degree view angles,
// about x, then y, then z, and put on the screen by a perspective division; and the test of a screen point against
// a polygon of screen corners. Each program chooses its own eye distance, scale and centre, and rounds the results
// its own way.
#pragma once

#include <cmath>
#include <cstdint>
#include <type_traits>

#include "scene/vec.h"

namespace scene {

// Sines and cosines of the view angles about x, y and z, taken once a frame.
struct ViewTurn {
    double sine[3], cosine[3];
};

inline ViewTurn viewTurn(const int32_t angleDegrees[3]) {
    ViewTurn turn;
    for (int32_t a = 0; a < 3; ++a) {
        turn.sine[a] = std::sin(angleDegrees[a] * degree);
        turn.cosine[a] = std::cos(angleDegrees[a] * degree);
    }
    return turn;
}

// The eye on the z axis at eyeDistance from the origin, looking at it; scale turns the division's result into
// screen units, and the origin lands on (centreX, centreY), y downward.
struct Perspective {
    double eyeDistance, scale, centreX, centreY;
};

// Screen x, screen y and depth (z after the turn: larger is nearer the eye) of the model point p, unrounded. The
// division is written out for each coordinate, not as one shared scale factor: a point half a pixel off a whole
// pixel must round the way this arithmetic puts it. p must lie nearer the origin than the eye.
inline Vec3 projectToScreen(const Perspective& view, const ViewTurn& turn, const double p[3]) {
    const double* s = turn.sine;
    const double* c = turn.cosine;
    const double y1 = p[1] * c[0] - p[2] * s[0], z1 = p[1] * s[0] + p[2] * c[0];
    const double x2 = p[0] * c[1] - z1 * s[1], z2 = p[0] * s[1] + z1 * c[1];
    const double x3 = x2 * c[2] - y1 * s[2], y3 = x2 * s[2] + y1 * c[2];
    return {view.centreX + view.scale * x3 / (view.eyeDistance - z2),
            view.centreY - view.scale * y3 / (view.eyeDistance - z2), z2};
}

// True when the point (x, y) lies inside the polygon of count screen corners, which run the way a face turned to
// the viewer runs on a y-down screen, or on its outline. A point on an edge counts as inside: the two triangles of
// a sticker share an edge across it, and a strict test would take neither of them there. Where neighbouring
// facets share an edge, the one painted later (the nearer) is the one picked, as it is the one painted there.
// Corners are integers (taken exactly in 64 bits) or whole numbers held as doubles.
template <typename Point>
bool cursorInside(const Point* corners, int32_t count, int32_t x, int32_t y) {
    using Coordinate = decltype(corners[0].x);
    using Product = std::conditional_t<std::is_integral_v<Coordinate>, int64_t, double>;
    for (int32_t m = 0; m < count; ++m) {
        const Point& a = corners[m];
        const Point& b = corners[(m + 1) % count];
        const Product side = Product(x - a.x) * Product(b.y - a.y) - Product(y - a.y) * Product(b.x - a.x);
        if (side > 0) return false;
    }
    return true;
}

}  // namespace scene
