// The drawing in a real OpenGL context under a private X server: the camera matrix against GLU's, the batched
// drawing against the one-primitive-at-a-time drawing pixel for pixel, and the pick against the drawn picture.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "pentagir/draw.h"
#include "pentagir/geometry.h"
#include "pentagir/picking.h"
#include "pentagir/program.h"
#include "pentagir/state.h"
#include "play/random.h"
#include "scene/polygon_batch.h"
#include "tests/support/gl_support.h"

namespace pentagir {
namespace {

using Pixels = std::vector<uint8_t>;

class PentagirGl : public xtest::InProcessGl<startUp, shutDown> {
protected:
    void SetUp() override {
        InProcessGl::SetUp();
        if (HasFatalFailure()) return;
        resetProgram(3);
        scene::applyCamera(state.camera);
    }

    static Pixels render(scene::DrawingMode mode) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawPuzzle(mode);
        return xtest::readGlPicture();
    }
    static Pixels render(void (*draw)()) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        return xtest::readGlPicture();
    }
};

using xtest::differingPixels;

TEST_F(PentagirGl, CameraMatrixIsWhatGluBuilds) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(4.0, 639.0 / 479.0, 4.0, 900.0);
    gluLookAt(-30.0 * std::sin(M_PI) * std::cos(0.0), 30.0 * std::sin(0.0), 30.0 * std::cos(M_PI) * std::cos(0.0), 0.0,
              0.0, 0.0, 0.0, std::cos(0.0), 0.0);
    double glu[16];
    glGetDoublev(GL_PROJECTION_MATRIX, glu);
    glPopMatrix();
    double loaded[16];
    glGetDoublev(GL_PROJECTION_MATRIX, loaded);
    for (int i = 0; i < 16; ++i) {
        double scale = std::fmax(1.0, std::fabs(glu[i]));
        EXPECT_NEAR(state.camera.matrix[i], glu[i], 1e-5 * scale) << "element " << i;
        EXPECT_NEAR(loaded[i], glu[i], 1e-5 * scale) << "element " << i << " of the matrix in use";
    }
}

struct Scene {
    const char* name;
    int32_t scrambleTurns;
    double zx, zy, xy;     // view turns
    int32_t layer, count;  // animated turn, count 0 for none
    double progress;
};
constexpr Scene scenes[] = {
    {"start", 0, 0, 0, 0, 0, 0, 0},
    {"mid-turn of the front layer", 0, 0, 0, 0, 0, 4, 0.5},
    {"early turn of a side layer", 20, 0, 0, 0, 3, 1, 0.1},
    {"scrambled, turned view", 60, 0.8, -0.5, 0.3, 0, 0, 0},
    {"scrambled, from behind, turning", 60, 2.9, 0.4, 1.7, 8, 4, 0.7},
};

void setScene(const Scene& s) {
    resetColours(state.colours);
    play::seedRandom(state.randomState, 42);
    for (int32_t i = 0; i < s.scrambleTurns; ++i) scrambleStep(state.colours, state.randomState);
    state.view = identityView;
    rotatePair(state.view.z, state.view.x, s.zx);
    rotatePair(state.view.z, state.view.y, s.zy);
    rotatePair(state.view.x, state.view.y, s.xy);
    state.clock.animStart = -1.0;
    if (s.count != 0) {
        state.animMove = {s.layer, s.count};
        state.clock.animStart = 1.0;
        state.clock.frameClock = state.clock.animStart + s.progress * state.clock.animDuration;
    }
}

TEST_F(PentagirGl, BatchedDrawingMatchesPrimitiveByPrimitiveDrawing) {
    for (const Scene& scene : scenes) {
        setScene(scene);
        Pixels immediate = render(scene::DrawingMode::oneAtATime);
        Pixels batched = render(scene::DrawingMode::batched);
        int32_t lit = 0;
        for (size_t i = 0; i < batched.size(); i += 3) lit += batched[i] | batched[i + 1] | batched[i + 2] ? 1 : 0;
        EXPECT_GT(lit, 50000) << scene.name << ": the puzzle should cover a good part of the window";
        std::string first;
        EXPECT_EQ(differingPixels(immediate, batched, first), 0) << scene.name << ", " << first;
    }
}

// The same on many random states: scramble, view and a turn caught anywhere in its animation. The batched drawing
// leaves out the stickers the picture does not need (all but those turned towards the eye and those beside them on
// the outline while nothing turns), so this also shows that leaving them out changes no pixel.
TEST_F(PentagirGl, BatchedDrawingMatchesOnRandomStates) {
    std::mt19937 generator(2024);
    std::uniform_real_distribution<double> angle(-3.2, 3.2), progress(0.0, 1.0);
    std::uniform_int_distribution<int32_t> layer(0, layerCount - 1), turns(0, 80), animated(0, 2);
    int32_t drawn[2] = {}, frames[2] = {};  // still, turning
    for (int32_t state = 0; state < 150; ++state) {
        int32_t k = animated(generator);  // 0: no animation, else 1 or 4
        Scene scene{"random",         turns(generator), angle(generator), angle(generator),
                    angle(generator), layer(generator), k == 2 ? 4 : k,   progress(generator)};
        setScene(scene);
        Pixels immediate = render(scene::DrawingMode::oneAtATime);
        Pixels batched = render(scene::DrawingMode::batched);
        drawn[k != 0] += pentagir::state.batch.size();
        ++frames[k != 0];
        std::string first;
        EXPECT_EQ(differingPixels(immediate, batched, first), 0) << "random state " << state << ", " << first;
    }
    EXPECT_LT(drawn[0], frames[0] * 100) << "still frames draw some 66 stickers turned towards the eye and few more";
    EXPECT_LT(drawn[1], frames[1] * 115) << "turning frames leave out what the part in front hides";
}

// Every sticker border on a face turned towards the camera, down to faces seen at a grazing 81 degrees, is a solid
// black line: no pixel of it is lost behind its own fill or a neighbour's fill at the same depth. Each column (or
// row) a border crosses is checked at the pixel the line passes through, give or take one for rounding.
TEST_F(PentagirGl, OutlinesShowOverTheFills) {
    for (const Scene& scene : scenes) {
        if (scene.count != 0) continue;
        setScene(scene);
        updateFaceFrames(state.faces, state.view);
        Pixels px = render(scene::DrawingMode::batched);
        auto black = [&](int32_t x, int32_t y) {  // y upwards, as OpenGL counts rows
            if (x < 0 || x >= 640 || y < 0 || y >= 480) return false;
            const uint8_t* p = &px[3 * (y * 640 + x)];
            return p[0] == 0 && p[1] == 0 && p[2] == 0;
        };
        const LayerRotation still = stillLayers();
        int32_t checked = 0, missing = 0;
        std::string first;
        for (int32_t s = 0; s < stickerCount; ++s) {
            int32_t f = s / stickersPerFace;
            Vec3 outward = cross(state.faces.viewAxisY[f], state.faces.viewAxisX[f]);
            Vec3 toEye = Vec3{0, 0, -30.0 - depthOffset} - state.faces.viewCentre[f];
            if (dot(outward, toEye) < 0.15 * std::sqrt(dot(outward, outward) * dot(toEye, toEye))) continue;
            int32_t n = stickerCorners(s % stickersPerFace);
            for (int32_t i = 0; i < n; ++i) {
                float a[3], b[3];
                stickerCorner(state.faces, still, s, i, a);
                stickerCorner(state.faces, still, s, (i + 1) % n, b);
                double ax, ay, bx, by;
                ASSERT_TRUE(projectPoint(state.camera, {a[0], a[1], a[2]}, ax, ay) &&
                            projectPoint(state.camera, {b[0], b[1], b[2]}, bx, by));
                bool alongX = std::fabs(bx - ax) >= std::fabs(by - ay);
                double from = alongX ? std::fmin(ax, bx) : std::fmin(ay, by);
                double to = alongX ? std::fmax(ax, bx) : std::fmax(ay, by);
                // Three pixels off each end, where other borders meet this one.
                for (int32_t major = static_cast<int32_t>(from) + 3; major + 3 < to; ++major) {
                    double t = ((major + 0.5) - (alongX ? ax : ay)) / (alongX ? bx - ax : by - ay);
                    int32_t minor = static_cast<int32_t>(std::floor(alongX ? ay + t * (by - ay) : ax + t * (bx - ax)));
                    bool found = false;
                    for (int32_t d = -1; d <= 1 && !found; ++d)
                        found = alongX ? black(major, minor + d) : black(minor + d, major);
                    ++checked;
                    if (found) continue;
                    if (missing++ == 0) {
                        char text[120];
                        std::snprintf(text, sizeof text, "first: sticker %d, border %d, window pixel (%d, %d)", s, i,
                                      alongX ? major : minor, 479 - (alongX ? minor : major));
                        first = text;
                    }
                }
            }
        }
        EXPECT_GT(checked, 1500) << scene.name;
        EXPECT_EQ(missing, 0) << scene.name << ": border pixels hidden by a fill, " << first;
    }
}

// The shared batch with shapes and options the puzzle does not use: overlapping triangles and hexagons at
// different depths and tilts, fills only, and outlines three pixels wide.
scene::PolygonBatch<40, 6> shapes;
constexpr float magenta[3] = {1.0f, 0.0f, 1.0f};  // no fill below has this colour

int32_t magentaPixels(const Pixels& px) {
    int32_t count = 0;
    for (size_t i = 0; i < px.size(); i += 3) count += px[i] == 255 && px[i + 1] == 0 && px[i + 2] == 255;
    return count;
}

TEST_F(PentagirGl, BatchOfOtherShapesMatchesItsImmediateReference) {
    shapes.clear();
    for (int32_t i = 0; i < 40; ++i) {
        int32_t corners = i % 2 ? 3 : 6;
        double cx = -0.9 + 0.25 * (i % 8), cy = -0.8 + 0.4 * (i / 8), tilt = 0.4 * (i % 5);
        float corner[6][3];
        for (int32_t k = 0; k < corners; ++k) {
            double a = 2.0 * M_PI * k / corners + 0.1 * i;
            double x = 0.2 * std::cos(a), y = 0.2 * std::sin(a);
            corner[k][0] = static_cast<float>(cx + x);
            corner[k][1] = static_cast<float>(cy + y);
            corner[k][2] = static_cast<float>(4.0 + 0.03 * std::sin(i) + tilt * x);
        }
        const float rgb[3] = {(i * 37 % 256) / 256.0f, 0.25f + (i * 53 % 192) / 256.0f, (i * 91 % 256) / 256.0f};
        shapes.add(corner, corners, rgb);
    }
    ASSERT_EQ(shapes.size(), 40);
    Pixels fillsImmediate = render([] { shapes.drawFillsImmediate(); });
    Pixels fillsBatched = render([] { shapes.drawFillsBatched(); });
    Pixels wideImmediate = render([] { shapes.drawImmediate(magenta, 3.0f); });
    Pixels wideBatched = render([] { shapes.drawBatched(magenta, 3.0f); });
    std::string first;
    EXPECT_EQ(differingPixels(fillsImmediate, fillsBatched, first), 0) << "fills only, " << first;
    EXPECT_EQ(differingPixels(wideImmediate, wideBatched, first), 0) << "wide outlines, " << first;
    EXPECT_EQ(magentaPixels(fillsBatched), 0) << "fills only draws no outline";
    // 40 outlines of some 200 pixels each, three pixels wide, partly hidden by nearer fills.
    EXPECT_GT(magentaPixels(wideBatched), 40 * 300) << "wide outlines drawn";
}

// A colour index shows as one and the same pixel value everywhere: 128/256 must not come out as 127 in some
// pixels and 128 in others.
TEST_F(PentagirGl, EachColourIsOnePixelValue) {
    for (const Scene& scene : scenes) {
        setScene(scene);
        Pixels px = render(scene::DrawingMode::batched);
        std::set<int32_t> values[faceCount];
        for (size_t i = 0; i < px.size(); i += 3)
            for (int32_t c = 0; c < faceCount; ++c) {
                bool near = true;
                for (int32_t k = 0; k < 3; ++k) near = near && std::abs(px[i + k] - palette[c][k] * 255 / 256) <= 1;
                if (near) values[c].insert(px[i] << 16 | px[i + 1] << 8 | px[i + 2]);
            }
        for (int32_t c = 0; c < faceCount; ++c)
            EXPECT_LE(values[c].size(), 1u)
                << scene.name << ": colour " << c << " drawn in " << values[c].size() << " shades";
    }
}

// Away from the outlines, the colour drawn at a pixel is the colour of the sticker the pick names there.
TEST_F(PentagirGl, PickNamesTheStickerDrawnUnderThePointer) {
    for (const Scene& scene : scenes) {
        if (scene.count != 0) continue;  // the pick ignores the animation, as the frame loop does while one runs
        setScene(scene);
        Pixels px = render(scene::DrawingMode::batched);
        auto at = [&](int32_t x, int32_t y) { return &px[3 * ((479 - y) * 640 + x)]; };  // y from the top
        auto black = [&](int32_t x, int32_t y) {
            const uint8_t* p = at(x, y);
            return p[0] == 0 && p[1] == 0 && p[2] == 0;
        };
        int32_t checked = 0, wrong = 0;
        for (int32_t y = 3; y < 477; y += 2)
            for (int32_t x = 3; x < 637; x += 2) {
                bool nearLine = false;
                for (int32_t dy = -2; dy <= 2 && !nearLine; ++dy)
                    for (int32_t dx = -2; dx <= 2 && !nearLine; ++dx) nearLine = black(x + dx, y + dy);
                if (nearLine) continue;
                int32_t s = pickSticker(state.camera, state.faces, x, y);
                ++checked;
                if (s < 0) {
                    ++wrong;
                    continue;
                }
                const int32_t* rgb = palette[state.colours[s]];
                const uint8_t* p = at(x, y);
                for (int c = 0; c < 3; ++c)
                    if (std::abs(p[c] - rgb[c] * 255 / 256) > 1) {
                        ++wrong;
                        break;
                    }
            }
        EXPECT_GT(checked, 10000) << scene.name;
        EXPECT_EQ(wrong, 0) << scene.name << ": pixels whose colour is not that of the picked sticker";
    }
}

}  // namespace
}  // namespace pentagir
