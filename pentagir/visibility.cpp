#include "pentagir/visibility.h"

#include <cmath>

#include "pentagir/draw.h"
#include "pentagir/state.h"
#include "scene/camera.h"
#include "scene/screen_region.h"

namespace pentagir {
namespace {

using scene::ScreenPolygon;

// A sticker seen this close to edge-on counts as turned towards the eye whichever way it is turned, so that
// rounding never decides what is drawn.
constexpr double edgeOnCosine = 0.02;

// What the choice needs to know of every sticker and corner point in this frame. Part 1 is the turning layer,
// part 0 the rest, or the whole puzzle while nothing turns.
struct FrameStickers {
    int32_t part[stickerCount];
    bool front[stickerCount];              // turned towards the eye (or edge-on)
    Vec2 pixel[stickerCount][5];           // window position of each corner
    bool inPart[2][cornerPointCount];      // a corner of some sticker of the part
    bool onFront[2][cornerPointCount];     // a corner of some sticker of the part turned towards the eye
    Vec2 pointPixel[2][cornerPointCount];  // window position of the point as the part has it
};

Vec3 point3(const float p[3]) { return {p[0], p[1], p[2]}; }

void describeStickers(const LayerRotation& rotation, FrameStickers& f) {
    const Vec3 eye = eyePosition();
    for (int32_t s = 0; s < stickerCount; ++s) {
        const float(*c)[3] = state.corner[s];
        int32_t part = f.part[s] = rotation.active && state.movingSticker[s] ? 1 : 0;
        // Sticker corners run clockwise seen from outside, so this normal points into the solid.
        Vec3 inward = cross(point3(c[1]) - point3(c[0]), point3(c[2]) - point3(c[0]));
        Vec3 toEye = eye - point3(c[0]);
        f.front[s] = dot(inward, toEye) < edgeOnCosine * length(inward) * length(toEye);
        for (int32_t i = 0; i < stickerCorners(s % stickersPerFace); ++i) {
            double x = 0.0, y = 0.0;
            scene::projectPoint(state.camera, point3(c[i]), x, y);
            int32_t v = state.cornerPoint[s][i];
            f.pixel[s][i] = {x, y};
            f.pointPixel[part][v] = {x, y};
            f.inPart[part][v] = true;
            if (f.front[s]) f.onFront[part][v] = true;
        }
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
            int32_t v = state.cornerPoint[s][i];
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

// A sticker turned away from the eye, beside one of its own part turned towards it, on the part's outline where
// their depths all but tie; on the far part also beside the cut, which is turned towards the eye.
bool besideOutline(const FrameStickers& f, int32_t s, int32_t farPart) {
    int32_t part = f.part[s];
    for (int32_t i = 0; i < stickerCorners(s % stickersPerFace); ++i) {
        int32_t v = state.cornerPoint[s][i];
        if (f.onFront[part][v] || (part == farPart && f.inPart[1 - part][v])) return true;
    }
    return false;
}

}  // namespace

void chooseShownStickers(const LayerRotation& rotation, bool whole) {
    for (int32_t s = 0; s < stickerCount; ++s) {
        for (int32_t i = 0; i < stickerCorners(s % stickersPerFace); ++i)
            stickerCorner(s, i, rotation, state.corner[s][i]);
        state.shown[s] = true;
    }
    if (whole) return;
    FrameStickers f{};
    describeStickers(rotation, f);
    int32_t farPart = -1;
    ScreenPolygon nearOutline, cut;
    if (rotation.active) {
        int32_t near = nearPart(rotation, f);
        if (near < 0) return;
        farPart = 1 - near;
        partOutline(f, near, false, nearOutline);
        partOutline(f, farPart, true, cut);
    }
    for (int32_t s = 0; s < stickerCount; ++s) {
        int32_t corners = stickerCorners(s % stickersPerFace);
        bool far = f.part[s] == farPart;
        if (f.front[s]) {
            // A sticker of the far part well inside the near part's outline lies behind it.
            state.shown[s] = !(far && allInsideBy(f.pixel[s], corners, nearOutline));
        } else if (!besideOutline(f, s, farPart)) {
            // Turned away, it shows only through the far part's cut, and there only where the near part leaves
            // the cut open.
            ScreenPolygon seen;
            if (far) scene::clipToRegion(f.pixel[s], corners, cut, seen);
            state.shown[s] = far && seen.count > 0 && !allInsideBy(seen.point, seen.count, nearOutline);
        }
    }
}

}  // namespace pentagir
