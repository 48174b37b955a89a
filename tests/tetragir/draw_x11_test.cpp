// The drawing in a real OpenGL context under a private X server: batched against one-primitive-at-a-time pixel for
// pixel, the 8-pixel outlines solid over their fills down to grazing views, and the pick against the picture.
// The batched drawing leaves out most of the faces turned away while nothing turns; the one-primitive-at-a-time
// drawing draws all 36 stickers, so comparing the two also shows that leaving them out changes no pixel.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "play/random.h"
#include "tests/support/gl_support.h"
#include "tests/tetragir/support.h"
#include "tetragir/draw.h"
#include "tetragir/geometry.h"
#include "tetragir/program.h"
#include "tetragir/state.h"

namespace tetragir {
namespace {

using Pixels = std::vector<uint8_t>;

class TetragirGl : public xtest::InProcessGl<startUp, shutDown> {
protected:
    void SetUp() override {
        InProcessGl::SetUp();
        if (HasFatalFailure()) return;
        resetProgram(3);
    }

    static Pixels render(bool batched) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawPuzzle(batched ? scene::DrawingMode::batched : scene::DrawingMode::oneAtATime);
        return xtest::readGlPicture();
    }
};

// Pixel (x, y from the top) of a capture read bottom-up.
const uint8_t* at(const Pixels& px, int32_t x, int32_t y) { return &px[3 * ((479 - y) * 640 + x)]; }
bool black(const Pixels& px, int32_t x, int32_t y) {
    if (x < 0 || x >= 640 || y < 0 || y >= 480) return false;
    const uint8_t* p = at(px, x, y);
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

struct Scene {
    const char* name;
    int32_t scrambleSteps;
    double h, v, r;        // view turns, as the arrows and X turn them
    int32_t layer, count;  // animated turn, count 0 for none
    double progress;
};
constexpr Scene scenes[] = {
    {"start", 0, 0, 0, 0, 0, 0, 0},
    {"tip and middle layer half way", 0, 0, 0, 0, 4, 1, 0.5},
    {"base layer early, turned view", 10, 0.6, 0.3, 0, 9, 2, 0.15},
    {"scrambled, a face seen at a grazing angle", 20, 0.0, 0.55, 0.2, 0, 0, 0},
    {"scrambled, from behind", 20, 2.8, -0.7, 1.1, 0, 0, 0},
};

void setScene(const Scene& s) {
    resetColours(state.colours);
    play::seedRandom(state.randomState, 42);
    for (int32_t i = 0; i < s.scrambleSteps; ++i) scrambleStep(state.colours, state.randomState);
    state.view = identityView;
    scene::rotatePair(state.view.z, state.view.x, s.h);
    scene::rotatePair(state.view.z, state.view.y, s.v);
    scene::rotatePair(state.view.x, state.view.y, s.r);
    state.clock.animStart = -1.0;
    if (s.count != 0) {
        state.animMove = {s.layer, s.count};
        state.clock.animStart = 1.0;
        state.clock.frameClock = state.clock.animStart + s.progress * state.clock.animDuration;
    }
}

using xtest::differingPixels;

TEST_F(TetragirGl, BatchedDrawingMatchesPrimitiveByPrimitiveDrawing) {
    std::mt19937 generator(2026);
    std::uniform_real_distribution<double> angle(-3.2, 3.2), progress(0.0, 1.0);
    std::uniform_int_distribution<int32_t> layer(0, layerCount - 1), steps(0, 30), count(0, 2), turning(1, 2);
    std::vector<Scene> all(std::begin(scenes), std::end(scenes));
    for (int32_t i = 0; i < 24; ++i)
        all.push_back({"random", steps(generator), angle(generator), angle(generator), angle(generator),
                       layer(generator), count(generator), progress(generator)});
    // Many more mid-turn frames, where the batched outlines leave the depth buffer alone and the reference's write
    // it.
    for (int32_t i = 0; i < 100; ++i)
        all.push_back({"random mid-turn", steps(generator), angle(generator), angle(generator), angle(generator),
                       layer(generator), turning(generator), progress(generator)});
    // And many still frames: where a face turned away meets one turned towards the eye, both outline the shared
    // edge, and in a few views in a hundred only the outline of the face turned away covers a pixel at the rim of
    // the line.
    for (int32_t i = 0; i < 400; ++i)
        all.push_back(
            {"random still", steps(generator), angle(generator), angle(generator), angle(generator), 0, 0, 0});
    for (const Scene& scene : all) {
        setScene(scene);
        Pixels immediate = render(false);
        Pixels batched = render(true);
        int32_t lit = 0;
        for (size_t i = 0; i < batched.size(); i += 3) lit += batched[i] | batched[i + 1] | batched[i + 2] ? 1 : 0;
        EXPECT_GT(lit, 20000) << scene.name << ": the puzzle covers a good part of the window";
        std::string first;
        EXPECT_EQ(differingPixels(immediate, batched, first), 0) << scene.name << ", " << first;
    }
}

// Every seam of a face turned towards the camera, down to a face seen at a grazing angle, is drawn the full width
// of its 8-pixel outline: across the line, the six pixels about its centre are black, none lost behind a fill at
// nearly the same depth.
TEST_F(TetragirGl, OutlinesStaySolidOverTheirFills) {
    scene::Camera& camera = state.camera;
    double grazing = 1.0;
    for (const Scene& scene : scenes) {
        if (scene.count != 0) continue;
        setScene(scene);
        Pixels px = render(true);
        int32_t checked = 0, missing = 0;
        std::string first;
        for (int32_t s = 0; s < stickerCount; ++s) {
            double facing = facingCosine(state.view, s / placesPerFace);
            if (facing < 0.12) continue;
            grazing = std::fmin(grazing, facing);
            for (int32_t i = 0; i < 3; ++i) {
                float a[3], b[3];
                stickerCorner(state.view, stillLayers(), s, i, a);
                stickerCorner(state.view, stillLayers(), s, (i + 1) % 3, b);
                double ax, ay, bx, by, z;
                ASSERT_TRUE(scene::projectPoint(camera, {a[0], a[1], a[2]}, ax, ay, z) &&
                            scene::projectPoint(camera, {b[0], b[1], b[2]}, bx, by, z));
                // A wide line covers its width along the screen axis it crosses most.
                bool alongX = std::fabs(bx - ax) >= std::fabs(by - ay);
                double from = alongX ? std::fmin(ax, bx) : std::fmin(ay, by);
                double to = alongX ? std::fmax(ax, bx) : std::fmax(ay, by);
                for (int32_t major = static_cast<int32_t>(from) + 5; major + 5 < to; ++major) {
                    double t = ((major + 0.5) - (alongX ? ax : ay)) / (alongX ? bx - ax : by - ay);
                    double centre = alongX ? ay + t * (by - ay) : ax + t * (bx - ax);
                    for (int32_t d = -3; d <= 2; ++d) {
                        int32_t minor = static_cast<int32_t>(std::floor(centre)) + d;
                        int32_t x = alongX ? major : minor, y = 479 - (alongX ? minor : major);
                        ++checked;
                        if (black(px, x, y)) continue;
                        if (missing++ == 0) {
                            char text[120];
                            std::snprintf(text, sizeof text, "first: sticker %d, seam %d, window pixel (%d, %d)", s, i,
                                          x, y);
                            first = text;
                        }
                    }
                }
            }
        }
        EXPECT_GT(checked, 3000) << scene.name;
        EXPECT_EQ(missing, 0) << scene.name << ": outline pixels hidden by a fill, " << first;
    }
    EXPECT_LT(grazing, 0.3) << "one of the views shows a face at a grazing angle";
}

// Every pixel that is not outline black shows the colour of the sticker the pick names there, and the background
// only where the pick names none: no fill of a sticker behind shows past a nearer one, and the pick agrees with
// the picture.
TEST_F(TetragirGl, PickNamesTheStickerDrawnUnderThePointer) {
    std::mt19937 generator(7);
    std::uniform_real_distribution<double> angle(-3.2, 3.2);
    std::vector<Scene> all;
    for (const Scene& scene : scenes)
        if (scene.count == 0) all.push_back(scene);  // the pick ignores a running turn, as the loop does
    all.push_back({"corner 0 towards the eye", 0, 0.6, 0.9, 0, 0, 0, 0});
    for (int32_t i = 0; i < 8; ++i)
        all.push_back({"random view", 10, angle(generator), angle(generator), angle(generator), 0, 0, 0});
    for (const Scene& scene : all) {
        setScene(scene);
        Pixels px = render(true);
        int32_t checked = 0, wrong = 0;
        std::string first;
        for (int32_t y = 0; y < 480; ++y)
            for (int32_t x = 0; x < 640; ++x) {
                int32_t s = pickSticker(state.camera, state.view, x, y);
                if (black(px, x, y)) continue;
                const uint8_t* p = at(px, x, y);
                bool ok = s >= 0;
                for (int c = 0; c < 3 && ok; ++c) ok = std::abs(p[c] - palette[state.colours[s]][c] * 255 / 256) <= 1;
                ++checked;
                if (ok || wrong++ > 0) continue;
                char text[120];
                std::snprintf(text, sizeof text, "first at (%d, %d): sticker %d, pixel %02x%02x%02x", x, y, s, p[0],
                              p[1], p[2]);
                first = text;
            }
        EXPECT_GT(checked, 20000) << scene.name;
        EXPECT_EQ(wrong, 0) << scene.name << ": " << first;
    }
}

// Mid-turn frames at random views, turns and moments: every black pixel that lies on a sticker is explained by an
// outline that may show there, one of that sticker's own edges or an edge nearer to the eye than the sticker
// (a near layer's rim spilling onto a far sticker). A seam of the part behind the cut that shows through a nearer
// sticker is explained by neither. Which sticker a pixel shows, and how deep, comes from a ray through the pixel
// against the 36 triangles where they stand in this frame, not from the picture.
TEST_F(TetragirGl, NoSeamShowsThroughANearerStickerMidTurn) {
    constexpr double reach = 5.0;       // pixels from an edge's centre line that an 8-pixel outline may cover
    constexpr double sameDepth = 1e-4;  // model units
    constexpr int32_t frames = 200;
    struct Edge {
        Vec3 a, b;
        double ax, ay, bx, by;  // window pixels, y up
    };
    std::mt19937 generator(1313);
    std::uniform_real_distribution<double> angle(-3.2, 3.2), progress(0.02, 0.98);
    std::uniform_int_distribution<int32_t> layer(0, layerCount - 1), steps(0, 30), count(1, 2);
    int32_t framesWithSeams = 0, worst = 0, checked = 0;
    std::string first;
    for (int32_t frame = 0; frame < frames; ++frame) {
        setScene({"mid-turn", steps(generator), angle(generator), angle(generator), angle(generator), layer(generator),
                  count(generator), progress(generator)});
        Pixels px = render(true);
        LayerRotation rotation =
            animationRotation(state.view, state.animMove.layer, state.animMove.count,
                              (state.clock.frameClock - state.clock.animStart) / state.clock.animDuration);
        Vec3 corner[stickerCount][3];
        for (int32_t s = 0; s < stickerCount; ++s)
            for (int32_t i = 0; i < 3; ++i) {
                float q[3];
                stickerCorner(state.view, rotation, s, i, q);
                corner[s][i] = {q[0], q[1], q[2]};
            }
        Edge edges[stickerCount * 3];
        double left = 640, right = 0, bottom = 480, top = 0;  // the picture's bounds, window pixels, y up
        for (int32_t e = 0; e < stickerCount * 3; ++e) {
            Edge& edge = edges[e] = {corner[e / 3][e % 3], corner[e / 3][(e + 1) % 3], 0, 0, 0, 0};
            ASSERT_TRUE(scene::projectPoint(state.camera, edge.a, edge.ax, edge.ay) &&
                        scene::projectPoint(state.camera, edge.b, edge.bx, edge.by));
            left = std::min(left, edge.ax);
            right = std::max(right, edge.ax);
            bottom = std::min(bottom, edge.ay);
            top = std::max(top, edge.ay);
        }
        auto isEdgeOf = [&](const Edge& e, int32_t s) {
            int32_t shared = 0;
            for (const Vec3& c : corner[s]) shared += scene::length(c - e.a) < 1e-4 || scene::length(c - e.b) < 1e-4;
            return shared == 2;
        };
        int32_t seams = 0;
        for (int32_t y = 0; y < 480; ++y)
            for (int32_t x = 0; x < 640; ++x) {
                double cx = x + 0.5, cy = 480 - y - 0.5;
                if (cx < left || cx > right || cy < bottom || cy > top || !black(px, x, y)) continue;
                Vec3 origin, d;
                scene::pixelRay(state.camera, x, y, origin, d);
                d = scene::normalized(d);
                int32_t shown = -1;
                double depth = 1e300;
                for (int32_t s = 0; s < stickerCount; ++s) {
                    // Both sides count: a turning layer opens the puzzle to the backs of stickers.
                    Vec3 e1 = corner[s][1] - corner[s][0], e2 = corner[s][2] - corner[s][0];
                    Vec3 h = scene::cross(d, e2);
                    double det = scene::dot(e1, h);
                    if (std::fabs(det) < 1e-12) continue;
                    Vec3 o = origin - corner[s][0];
                    double u = scene::dot(o, h) / det;
                    Vec3 k = scene::cross(o, e1);
                    double v = scene::dot(d, k) / det, t = scene::dot(e2, k) / det;
                    if (u < 0 || v < 0 || u + v > 1 || t <= 0 || t >= depth) continue;
                    shown = s;
                    depth = t;
                }
                if (shown < 0) continue;  // the background, or a rim pixel the ray just misses
                ++checked;
                bool explained = false;
                for (const Edge& e : edges) {
                    double ex = e.bx - e.ax, ey = e.by - e.ay;
                    double along = std::clamp(((cx - e.ax) * ex + (cy - e.ay) * ey) / (ex * ex + ey * ey), 0.0, 1.0);
                    if (std::hypot(e.ax + along * ex - cx, e.ay + along * ey - cy) > reach) continue;
                    Vec3 q = e.a + along * (e.b - e.a);
                    if (isEdgeOf(e, shown) || scene::dot(q - origin, d) <= depth + sameDepth) {
                        explained = true;
                        break;
                    }
                }
                if (explained || seams++ > 0 || !first.empty()) continue;
                char text[160];
                std::snprintf(text, sizeof text, "first: frame %d, pixel (%d, %d) on sticker %d, move %d count %d",
                              frame, x, y, shown, state.animMove.layer, state.animMove.count);
                first = text;
            }
        framesWithSeams += seams > 0;
        worst = std::max(worst, seams);
    }
    EXPECT_GT(checked, frames * 1000) << "outline pixels on stickers were checked";
    EXPECT_EQ(framesWithSeams, 0) << "of " << frames << " frames; up to " << worst << " pixels in one; " << first;
}

}  // namespace
}  // namespace tetragir
