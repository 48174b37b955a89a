// The geometry tied to the turn tables and the camera: the colour cycles against the rotations they stand for, the
// animation against the turn it ends in, the drag rule against which stickers touch, and the pick against where
// the camera draws each sticker.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "scene/vec.h"
#include "tests/support/degree.h"
#include "tests/tetragir/support.h"
#include "tetragir/geometry.h"
#include "tetragir/puzzle.h"

namespace tetragir {
namespace {

Colours labels() {
    Colours c;
    for (int32_t i = 0; i < stickerCount; ++i) c[i] = i;
    return c;
}

bool near(Vec3 a, Vec3 b, double tolerance) { return scene::length(a - b) < tolerance; }

// Right-hand rotation by `thirds` thirds of a turn about the axis from corner v through the centre.
Vec3 turnedAboutCorner(Vec3 p, int32_t v, int32_t thirds) {
    Vec3 axis = scene::normalized(-1.0 * cornerPosition[v]);
    scene::rotateAboutAxis(p, axis, thirds * 2.0 * oracle::pi / 3.0);
    return p;
}

// Height of a point along the axis from the face opposite corner v (at 0) to corner v (at 1).
double heightTowards(int32_t v, Vec3 p) {
    Vec3 c = cornerPosition[v];
    double faceLevel = -scene::dot(c, c) / 3.0;  // the opposite face's plane, measured along c
    return (scene::dot(p, c) - faceLevel) / (scene::dot(c, c) - faceLevel);
}

// Count 1 carries every sticker of a move's layer to where +120 degrees about the corner's axis puts its centre,
// and the layer is exactly the stickers in the move's thirds of the height towards that corner.
TEST(TetragirGeometry, ColourCyclesAreThirdTurnsOfTheLayer) {
    // The base face itself lies at height 0.
    const double lowest[3] = {2.0 / 3.0, 1.0 / 3.0, -0.01}, highest[3] = {1.0, 1.0, 1.0 / 3.0};
    for (int32_t m = 0; m < layerCount; ++m) {
        int32_t v = m % 4;
        Colours after = labels();
        turn(after, m, 1);
        for (int32_t s = 0; s < stickerCount; ++s) {
            double h = heightTowards(v, modelCentre(s));
            bool inLayer = h > lowest[m / 4] && h < highest[m / 4];
            EXPECT_EQ(after[s] != s, inLayer) << "move " << m << ", sticker " << s << " at height " << h;
            if (!inLayer) continue;
            EXPECT_TRUE(near(turnedAboutCorner(modelCentre(after[s]), v, 1), modelCentre(s), 1e-12))
                << "move " << m << ": sticker " << after[s] << "'s colour came to " << s;
        }
    }
}

// At the end of its animation a turning sticker is drawn exactly where the turn puts its colour, so applying the
// turn changes nothing on screen; at its start nothing has moved.
TEST(TetragirGeometry, AnimationEndsWhereTheTurnPutsTheColours) {
    ViewFrame view = identityView;
    scene::rotatePair(view.z, view.x, 0.7);
    scene::rotatePair(view.z, view.y, -0.4);
    scene::rotatePair(view.x, view.y, 1.9);
    auto corners = [&](const LayerRotation& r, int32_t s) {
        std::array<Vec3, 3> p;
        for (int32_t i = 0; i < 3; ++i) {
            float q[3];
            stickerCorner(view, r, s, i, q);
            p[i] = {q[0], q[1], q[2]};
        }
        return p;
    };
    auto samePoints = [](const std::array<Vec3, 3>& a, const std::array<Vec3, 3>& b) {
        for (const Vec3& p : a) {
            bool found = false;
            for (const Vec3& q : b) found = found || near(p, q, 1e-5);
            if (!found) return false;
        }
        return true;
    };
    for (int32_t m = 0; m < layerCount; ++m)
        for (int32_t count : {1, 2}) {
            Colours after = labels();
            turn(after, m, count);
            LayerRotation start = animationRotation(view, m, count, 0.0);
            LayerRotation middle = animationRotation(view, m, count, 0.5);
            LayerRotation end = animationRotation(view, m, count, 1.0);
            LayerRotation late = animationRotation(view, m, count, 1.7);
            for (int32_t s = 0; s < stickerCount; ++s) {
                int32_t from = after[s];  // this sticker's colour came from there
                EXPECT_TRUE(samePoints(corners(end, from), corners(stillLayers(), s)))
                    << "move " << m << " count " << count << ": sticker " << from << " should end on " << s;
                EXPECT_TRUE(samePoints(corners(late, from), corners(stillLayers(), s))) << "progress is clamped";
                EXPECT_TRUE(samePoints(corners(start, s), corners(stillLayers(), s))) << "sticker " << s;
                EXPECT_EQ(samePoints(corners(middle, s), corners(stillLayers(), s)), from == s)
                    << "move " << m << " count " << count << ": sticker " << s << " half way";
            }
        }
}

// Every pair of stickers that share an edge: the drag rule gives the turn the geometry calls for. Tips of one
// corner turn that tip onto the other; two stickers of one corner's middle band turn the band so the first moves
// towards the second; a pair that both of two bands hold, or that no tip or band holds, turns nothing.
TEST(TetragirGeometry, NeighbouringStickersGiveTheTurnTheirLayerMakes) {
    auto cornerPoints = [](int32_t s) {
        std::array<Vec3, 3> p;
        const int32_t* face = tetraFaces[s / placesPerFace];
        Vec3 p0 = cornerPosition[face[0]];
        for (int32_t i = 0; i < 3; ++i) {
            const int32_t* ab = stickerCorners[s % placesPerFace][i];
            p[i] = p0 + (ab[0] / 3.0) * (cornerPosition[face[1]] - p0) + (ab[1] / 3.0) * (cornerPosition[face[2]] - p0);
        }
        return p;
    };
    auto inTip = [](int32_t v, int32_t s) { return std::count(tipCycle[v], tipCycle[v] + 3, s) > 0; };
    auto inBand = [](int32_t v, int32_t s) {
        for (const auto& row : middleBand[v])
            if (std::count(row, row + 3, s)) return true;
        return false;
    };
    int32_t pairs = 0, turns = 0;
    for (int32_t a = 0; a < stickerCount; ++a)
        for (int32_t b = 0; b < stickerCount; ++b) {
            if (a == b) continue;
            int32_t shared = 0;
            for (const Vec3& p : cornerPoints(a))
                for (const Vec3& q : cornerPoints(b)) shared += near(p, q, 1e-12);
            Move got = moveFromDrag(a, b);
            if (shared < 2) {
                EXPECT_EQ(got.count, 0) << a << " and " << b << " do not touch along an edge";
                continue;
            }
            ++pairs;
            int32_t candidates = 0;
            Move expected{0, 0};
            for (int32_t v = 0; v < cornerCount; ++v) {
                if (inTip(v, a) && inTip(v, b)) {
                    ++candidates;
                    bool forward = near(turnedAboutCorner(modelCentre(a), v, 1), modelCentre(b), 1e-12);
                    expected = {v, forward ? 1 : 2};
                }
                if (inBand(v, a) && inBand(v, b)) {
                    ++candidates;
                    Vec3 velocity = scene::cross(cornerAxis[v], modelCentre(a));
                    expected = {4 + v, scene::dot(velocity, modelCentre(b) - modelCentre(a)) > 0.0 ? 1 : 2};
                }
            }
            if (candidates != 1) expected = {0, 0};
            turns += expected.count != 0;
            EXPECT_EQ(got.count, expected.count) << "drag " << a << " onto " << b;
            if (expected.count != 0) {
                EXPECT_EQ(got.layer, expected.layer) << "drag " << a << " onto " << b;
            }
        }
    EXPECT_EQ(pairs, 36 * 3) << "every sticker has three edge neighbours";
    EXPECT_EQ(turns, 4 * 6 + 4 * 6 * 2) << "tip pairs, and band pairs that are not edge middles facing each other";
}

// The pick at the drawn centre of every sticker turned towards the camera names that sticker, from several views.
TEST(TetragirGeometry, PickAtADrawnCentreNamesThatSticker) {
    scene::Camera camera;
    setupCamera(camera, 639, 479);
    struct View {
        const char* name;
        double h, v, r;
    };
    // clang-format off
    const View views[] = {
        {"start", 0, 0, 0}, {"turned right", 0.9, 0, 0}, {"tilted and spun", -0.5, 0.8, 2.0},
        {"from behind", 3.0, 0.3, -1.0}, {"from below", 0.2, -1.6, 0.4},
    };
    // clang-format on
    for (const View& w : views) {
        ViewFrame view = identityView;
        scene::rotatePair(view.z, view.x, w.h);
        scene::rotatePair(view.z, view.y, w.v);
        scene::rotatePair(view.x, view.y, w.r);
        int32_t checked = 0;
        for (int32_t s = 0; s < stickerCount; ++s) {
            if (facingCosine(view, s / placesPerFace) < 0.2) continue;
            int32_t x, y;
            ASSERT_TRUE(centrePixel(camera, view, s, x, y));
            EXPECT_EQ(pickSticker(camera, view, x, y), s) << w.name << ": pixel (" << x << ", " << y << ")";
            ++checked;
        }
        EXPECT_GE(checked, 9) << w.name << ": at least one face shows";
        EXPECT_EQ(pickSticker(camera, view, 5, 5), -1) << w.name << ": a corner of the window shows no sticker";
    }
}

// The camera as the rules set it: 4.5 degrees of vertical field of view, aspect 639 / 479, near 4.5, far 1320,
// the eye 44 before the origin on -z looking at it with +y up, on the 640 x 480 window. At the origin's distance
// of 44 the window spans 44 tan 2.25 degrees up and down and that times 639 / 479 to either side, +x on the left.
TEST(TetragirCamera, StandsWhereTheRulesPutIt) {
    scene::Camera camera;
    setupCamera(camera, 639, 479);
    EXPECT_EQ(camera.width, 640);
    EXPECT_EQ(camera.height, 480);
    EXPECT_LT(scene::length(eyePosition() - Vec3{0, 0, -44}), 1e-12);
    const double up = 44 * std::tan(2.25 * oracle::degree), side = up * 639 / 479;
    const double any = -1;  // a depth the case does not pin
    struct Case {
        const char* name;
        Vec3 p;
        double winX, winY, winZ;  // y up
    };
    const Case cases[] = {
        {"the origin in the middle", {0, 0, 0}, 320, 240, any},
        {"top edge at the origin's distance", {0, up, 0}, 320, 480, any},
        {"left edge at the origin's distance", {side, 0, 0}, 0, 240, any},
        {"bottom right corner 10 further", {-side * 54 / 44, -up * 54 / 44, 10}, 640, 0, any},
        {"near plane, 4.5 from the eye", {0, 0, -39.5}, 320, 240, 0},
        {"far plane, 1320 from the eye", {0, 0, 1276}, 320, 240, 1},
    };
    for (const Case& c : cases) {
        double x, y, z;
        ASSERT_TRUE(scene::projectPoint(camera, c.p, x, y, z)) << c.name;
        EXPECT_NEAR(x, c.winX, 1e-6) << c.name;
        EXPECT_NEAR(y, c.winY, 1e-6) << c.name;
        if (c.winZ != any) {
            EXPECT_NEAR(z, c.winZ, 1e-9) << c.name;
        }
    }
}

// The start view looks along +z at the edge from corner 0 (-1, -1, -1) to corner 1 (1, 1, -1) that faces 0 and 1
// share, its middle on the line of sight. The centre of pixel (320, 240) lies half a pixel right of and below the
// window's middle, and screen right is -x: the ray meets the model near (-0.5 px, -0.5 px, -1), by the middle of
// that edge. A pixel spans 639 / 479 / 640 of the view's height across but only 1 / 480 of it up, so |x| > |y|:
// the point lies a hair off the edge on the side x < y, towards corner 3 (-1, 1, 1), in face 1 (corners 0, 1, 3).
// The middle third of face 1's edge from its face corner 0 to its face corner 1 is place 3: sticker 9 + 3.
TEST(TetragirCamera, CentrePixelOfTheStartViewPicksTheEdgeMiddleOfFace1) {
    scene::Camera camera;
    setupCamera(camera, 639, 479);
    EXPECT_EQ(pickSticker(camera, identityView, 320, 240), 12);
}

}  // namespace
}  // namespace tetragir
