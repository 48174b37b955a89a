#include "pentagir/visibility.h"

#include <cmath>

#include "pentagir/state.h"
#include "scene/camera.h"
#include "scene/screen_region.h"

namespace pentagir {
namespace {

using scene::ScreenPolygon;

// A sticker seen this close to edge-on counts as turned towards the eye whichever way it is turned, so that
// rounding never decides what is drawn.
constexpr double edgeOnCosine = 0.02;

// A fill turned away from the eye can win a tie with one turned towards it only where its own depth offset is
// smaller; this leaves room for rounding.
constexpr double fillTieSlopeRatio = 0.9;

// What the choice needs to know of every sticker and corner point in this frame. Part 1 is the turning layer,
// part 0 the rest, or the whole puzzle while nothing turns.
struct FrameStickers {
    int32_t part[stickerCount];
    bool front[stickerCount];                // turned towards the eye (or edge-on)
    Vec2 pixel[stickerCount][5];             // window position of each corner
    bool inPart[2][cornerPointCount];        // a corner of some sticker of the part
    bool onFront[2][cornerPointCount];       // a corner of some sticker of the part turned towards the eye
    Vec2 pointPixel[2][cornerPointCount];    // window position of the point as the part has it
    double depthSlope[stickerCount];         // the fill's depth offset: its steepest window depth per pixel
    double frontSlope[2][cornerPointCount];  // the largest depthSlope of the part's stickers turned towards
                                             // the eye at the point
};

Vec3 point3(const float p[3]) { return {p[0], p[1], p[2]}; }

// What OpenGL offsets a fill's depths by (factor 1): its plane's larger window depth change per pixel across or
// down, from the first three corners; infinite for a sticker seen edge-on.
double depthSlope(const Vec2 pixel[], const double z[]) {
    Vec2 a{pixel[1].x - pixel[0].x, pixel[1].y - pixel[0].y}, b{pixel[2].x - pixel[0].x, pixel[2].y - pixel[0].y};
    double area = a.x * b.y - a.y * b.x;
    if (std::fabs(area) < 1e-9) return HUGE_VAL;
    double dzdx = ((z[1] - z[0]) * b.y - (z[2] - z[0]) * a.y) / area;
    double dzdy = (a.x * (z[2] - z[0]) - b.x * (z[1] - z[0])) / area;
    return std::fmax(std::fabs(dzdx), std::fabs(dzdy));
}

void describeStickers(const LayerRotation& rotation, FrameStickers& f) {
    const Vec3 eye = eyePosition();
    for (int32_t s = 0; s < stickerCount; ++s) {
        const float(*c)[3] = state.corner[s];
        int32_t part = f.part[s] = rotation.active && rotation.moving[s] ? 1 : 0;
        // Sticker corners run clockwise seen from outside, so this normal points into the solid.
        Vec3 inward = cross(point3(c[1]) - point3(c[0]), point3(c[2]) - point3(c[0]));
        Vec3 toEye = eye - point3(c[0]);
        f.front[s] = dot(inward, toEye) < edgeOnCosine * length(inward) * length(toEye);
        double z[5] = {};
        for (int32_t i = 0; i < stickerCorners(s % stickersPerFace); ++i) {
            double x = 0.0, y = 0.0;
            scene::projectPoint(state.camera, point3(c[i]), x, y, z[i]);
            int32_t v = shape.cornerPoint[s][i];
            f.pixel[s][i] = {x, y};
            f.pointPixel[part][v] = {x, y};
            f.inPart[part][v] = true;
            if (f.front[s]) f.onFront[part][v] = true;
        }
        f.depthSlope[s] = depthSlope(f.pixel[s], z);
    }
    for (int32_t s = 0; s < stickerCount; ++s)
        for (int32_t i = 0; i < stickerCorners(s % stickersPerFace) && f.front[s]; ++i) {
            double& slope = f.frontSlope[f.part[s]][shape.cornerPoint[s][i]];
            slope = std::fmax(slope, f.depthSlope[s]);
        }
}

// The part on the eye's side of the cut: 1 for the turning layer, 0 for the rest, -1 when the eye lies so near the
// cut's plane that the side is in doubt. The cut is square to the turn's axis, so every corner keeps its height
// along the axis while the layer turns.
int32_t nearPart(const LayerRotation& rotation, const FrameStickers& f) {
    const Vec3 centre{0.0, 0.0, depthOffset};
    double layer = 0.0, cut = 0.0;
    int32_t layerCorners = 0, cutCorners = 0;
    for (int32_t s = 0; s < stickerCount; ++s)
        for (int32_t i = 0; i < stickerCorners(s % stickersPerFace); ++i) {
            double h = dot(point3(state.corner[s][i]) - centre, rotation.axis);
            int32_t v = shape.cornerPoint[s][i];
            if (f.part[s] == 1) {
                layer += h;
                ++layerCorners;
            } else if (f.inPart[1][v]) {
                cut += h;
                ++cutCorners;
            }
        }
    if (layerCorners == 0 || cutCorners == 0) return -1;
    layer /= layerCorners;
    cut /= cutCorners;
    double eye = dot(eyePosition() - centre, rotation.axis) - cut;
    if (std::fabs(eye) < 1e-3) return -1;
    return (layer > cut) == (eye > 0.0) ? 1 : 0;
}

// The outline a part covers on screen: the hull of its corner points, or of only those on the cut.
void partOutline(const FrameStickers& f, int32_t part, bool cutOnly, ScreenPolygon& outline) {
    Vec2 points[cornerPointCount];
    int32_t count = 0;
    for (int32_t v = 0; v < cornerPointCount; ++v)
        if (f.inPart[part][v] && (!cutOnly || f.inPart[1 - part][v])) points[count++] = f.pointPixel[part][v];
    scene::convexHull(points, count, outline);
}

bool allInsideBy(const Vec2* points, int32_t count, const ScreenPolygon& region) {
    for (int32_t i = 0; i < count; ++i)
        if (!scene::insideBy(region, points[i], hiddenMarginPixels)) return false;
    return count > 0;
}

// Whether some of a polygon or segment (count points) lies in the cut where the near part leaves it open.
bool showsThroughCut(const Vec2* points, int32_t count, const ScreenPolygon& cut, const ScreenPolygon& nearOutline) {
    Vec2 seen[scene::clippedCapacity];
    int32_t corners = scene::clipToHull(points, count, cut, seen);
    return corners > 0 && !allInsideBy(seen, corners, nearOutline);
}

// Whether a sticker turned away from the eye meets one of its own part turned towards it, on the part's outline
// where their depths all but tie; slope: the steepest depth offset among the fills it meets there.
bool meetsFront(const FrameStickers& f, int32_t s, double& slope) {
    bool meets = false;
    slope = 0.0;
    for (int32_t i = 0; i < stickerCorners(s % stickersPerFace); ++i) {
        int32_t v = shape.cornerPoint[s][i];
        if (!f.onFront[f.part[s]][v]) continue;
        meets = true;
        slope = std::fmax(slope, f.frontSlope[f.part[s]][v]);
    }
    return meets;
}

// A sticker with a corner on the cut, which the far part shows turned towards the eye.
bool onCut(const FrameStickers& f, int32_t s) {
    for (int32_t i = 0; i < stickerCorners(s % stickersPerFace); ++i)
        if (f.inPart[1 - f.part[s]][shape.cornerPoint[s][i]]) return true;
    return false;
}

}  // namespace

void chooseShownStickers(const LayerRotation& rotation, bool whole) {
    for (int32_t s = 0; s < stickerCount; ++s) {
        int32_t corners = stickerCorners(s % stickersPerFace);
        for (int32_t i = 0; i < corners; ++i) stickerCorner(state.faces, rotation, s, i, state.corner[s][i]);
        state.shown[s] = state.filled[s] = true;
        state.outlineSegments[s] = static_cast<uint8_t>((1u << corners) - 1u);
    }
    if (whole) return;
    FrameStickers f{};
    describeStickers(rotation, f);
    // While nothing turns, the whole puzzle counts as the near part and there is no far one.
    int32_t near = 0, farPart = -1;
    ScreenPolygon nearOutline, farOutline, cut;
    if (rotation.active) {
        near = nearPart(rotation, f);
        if (near < 0) return;
        farPart = 1 - near;
        partOutline(f, farPart, false, farOutline);
        partOutline(f, farPart, true, cut);
    }
    partOutline(f, near, false, nearOutline);
    for (int32_t s = 0; s < stickerCount; ++s) {
        int32_t corners = stickerCorners(s % stickersPerFace);
        bool far = f.part[s] == farPart;
        // A sticker of the far part well inside the near part's outline lies behind the near part.
        if (far && allInsideBy(f.pixel[s], corners, nearOutline)) {
            state.shown[s] = false;
            continue;
        }
        // Turned away, a sticker shows beside its part's outline, and on the far part through the cut where the
        // near part leaves it open.
        bool front = f.front[s];
        double metSlope = 0.0;
        bool meets = !front && meetsFront(f, s, metSlope);
        bool cutShows = far && !front && (onCut(f, s) || showsThroughCut(f.pixel[s], corners, cut, nearOutline));
        state.shown[s] = front || meets || cutShows;
        // Where it meets them, its depths lie behind theirs, so its fill can only win a pixel when its depth
        // offset is the smaller one: its outline, drawn without an offset, still can.
        state.filled[s] = front || cutShows || metSlope >= fillTieSlopeRatio * f.depthSlope[s];
        if (!state.shown[s] || (front && !far)) continue;
        // Of a sticker that shows only in part, the segments of its outline that lie wholly where it is hidden
        // are left out.
        const ScreenPolygon& own = far ? farOutline : nearOutline;
        for (int32_t i = 0; i < corners; ++i) {
            Vec2 segment[2] = {f.pixel[s][i], f.pixel[s][(i + 1) % corners]};
            bool hidden = far && allInsideBy(segment, 2, nearOutline);
            if (!front)
                hidden =
                    hidden || (allInsideBy(segment, 2, own) && !(far && showsThroughCut(segment, 2, cut, nearOutline)));
            if (hidden) state.outlineSegments[s] &= static_cast<uint8_t>(~(1u << i));
        }
    }
}

}  // namespace pentagir
