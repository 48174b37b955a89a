// The camera against values worked out by hand from the definitions of perspective and look-at, and the three
// mappings between model space and window pixels (project, unproject, pixel ray) against one another.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "scene/camera.h"

namespace scene {

// In scene itself, not the unnamed namespace, so that the test messages find it beside Vec3.
static std::ostream& operator<<(std::ostream& out, Vec3 v) {
    return out << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}

namespace {

void expectMatrix(const double got[16], const double expected[16], const char* name) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(got[i], expected[i], 1e-12) << name << ", element " << i;
}

TEST(SceneCamera, PerspectiveMatrixHoldsTheFrustumNumbers) {
    double m[16];
    // 90 degrees: the cotangent of half the angle is 1.
    perspectiveMatrix(m, 90.0, 2.0, 1.0, 3.0);
    const double wide[16] = {0.5, 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -1, 0, 0, -3, 0};
    expectMatrix(m, wide, "90 degrees, aspect 2, near 1, far 3");
    // 60 degrees: cotangent of 30 degrees is the square root of 3.
    perspectiveMatrix(m, 60.0, 1.0, 1.0, 5.0);
    const double narrow[16] = {std::sqrt(3.0), 0, 0, 0, 0, std::sqrt(3.0), 0, 0, 0, 0, -1.5, -1, 0, 0, -2.5, 0};
    expectMatrix(m, narrow, "60 degrees, aspect 1, near 1, far 5");
}

TEST(SceneCamera, LookAtTurnsTheEyeToTheCentreWithUpUpwards) {
    struct Case {
        const char* name;
        Vec3 eye, centre, up;
        double expected[16];  // column-major: the rows side, up, backwards, then the eye moved to the origin
    };
    // clang-format off
    const Case cases[] = {
        {"from +z, up not of unit length", {0, 0, 5}, {0, 0, 0}, {0, 2, 0},
         {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -5, 1}},
        {"from +x: +z shows on the left", {1, 0, 0}, {0, 0, 0}, {0, 1, 0},
         {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, -1, 1}},
        {"from above, -z up on the screen", {0, 3, 0}, {0, 0, 0}, {0, 0, -1},
         {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, -3, 1}},
        {"centre off the origin", {2, 1, 7}, {2, 1, 3}, {0, 1, 0},
         {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -2, -1, -7, 1}},
    };
    // clang-format on
    for (const Case& c : cases) {
        double m[16];
        lookAtMatrix(m, c.eye, c.centre, c.up);
        expectMatrix(m, c.expected, c.name);
    }
}

// 90-degree field of view, 400 x 200 pixels, near 1, far 9, eye at (0, 0, 5) looking at the origin: at the
// origin's distance of 5 the view reaches 5 up and down and 10 left and right.
Camera wideCamera() {
    double projection[16], view[16];
    perspectiveMatrix(projection, 90.0, 2.0, 1.0, 9.0);
    lookAtMatrix(view, {0, 0, 5}, {0, 0, 0}, {0, 1, 0});
    Camera camera;
    EXPECT_TRUE(setCamera(camera, projection, view, 400, 200));
    return camera;
}

TEST(SceneCamera, ProjectPointFindsTheWindowPositionAndDepth) {
    struct Case {
        const char* name;
        Vec3 p;
        bool visible;
        double winX, winY, winZ;
    };
    // Depth of a point at distance d: (1 + (f + n) / (f - n) - 2 f n / ((f - n) d)) / 2; 0.9 at d = 5.
    // clang-format off
    const Case cases[] = {
        {"the origin", {0, 0, 0}, true, 200, 100, 0.9},
        {"top edge", {0, 5, 0}, true, 200, 200, 0.9},
        {"bottom left corner", {-10, -5, 0}, true, 0, 0, 0.9},
        {"on the near plane", {0, 0, 4}, true, 200, 100, 0.0},
        {"on the far plane", {0, 0, -4}, true, 200, 100, 1.0},
        {"behind the eye", {0, 0, 6}, false, 0, 0, 0},
    };
    // clang-format on
    Camera camera = wideCamera();
    for (const Case& c : cases) {
        double x = -1, y = -1, z = -1;
        ASSERT_EQ(projectPoint(camera, c.p, x, y, z), c.visible) << c.name;
        if (!c.visible) continue;
        EXPECT_NEAR(x, c.winX, 1e-9) << c.name;
        EXPECT_NEAR(y, c.winY, 1e-9) << c.name;
        EXPECT_NEAR(z, c.winZ, 1e-9) << c.name;
    }
}

// A camera with nothing lined up: tilted, off the axes, an odd viewport.
Camera obliqueCamera() {
    double projection[16], view[16];
    perspectiveMatrix(projection, 30.0, 641.0 / 479.0, 2.0, 60.0);
    lookAtMatrix(view, {3, 4, 12}, {0.5, -0.2, 0.3}, {0.2, 1, 0.1});
    Camera camera;
    EXPECT_TRUE(setCamera(camera, projection, view, 641, 479));
    return camera;
}

TEST(SceneCamera, UnprojectUndoesProject) {
    const Vec3 points[] = {{0, 0, 0}, {1, -1, 0.5}, {-2, 1.5, -3}, {0.3, 0.2, 8}};
    Camera camera = obliqueCamera();
    for (Vec3 p : points) {
        double x, y, z;
        ASSERT_TRUE(projectPoint(camera, p, x, y, z)) << p;
        Vec3 back = unproject(camera, x, y, z);
        EXPECT_LT(length(back - p), 1e-9) << p << " came back as " << back;
    }
}

// The ray's two ends project onto the centre of the pixel, counted from the top, at depths 0 and 1.
TEST(SceneCamera, PixelRayRunsThroughThePixelCentreFromNearToFar) {
    const int32_t pixels[][2] = {{0, 0}, {640, 478}, {320, 239}, {17, 401}};
    Camera camera = obliqueCamera();
    for (const auto& px : pixels) {
        Vec3 origin, direction;
        pixelRay(camera, px[0], px[1], origin, direction);
        const Vec3 ends[2] = {origin, origin + direction};
        for (int32_t e = 0; e < 2; ++e) {
            double x, y, z;
            ASSERT_TRUE(projectPoint(camera, ends[e], x, y, z));
            EXPECT_NEAR(x, px[0] + 0.5, 1e-6) << "pixel " << px[0] << ", " << px[1] << " end " << e;
            EXPECT_NEAR(y, 479 - px[1] - 0.5, 1e-6) << "pixel " << px[0] << ", " << px[1] << " end " << e;
            EXPECT_NEAR(z, e, 1e-9) << "pixel " << px[0] << ", " << px[1] << " end " << e;
        }
    }
}

TEST(SceneCamera, RayThroughTheMiddlePixelIsTheLineOfSight) {
    double projection[16], view[16];
    perspectiveMatrix(projection, 90.0, 401.0 / 201.0, 1.0, 9.0);
    lookAtMatrix(view, {0, 0, 5}, {0, 0, 0}, {0, 1, 0});
    Camera camera;
    ASSERT_TRUE(setCamera(camera, projection, view, 401, 201));
    Vec3 origin, direction;
    pixelRay(camera, 200, 100, origin, direction);
    EXPECT_LT(length(origin - Vec3{0, 0, 4}), 1e-9) << origin;
    EXPECT_LT(length(direction - Vec3{0, 0, -8}), 1e-9) << direction;
}

// A singular camera (everything squashed to one point) must not fill later arithmetic with NaNs.
// The orbit's eye stands at its distance, where azimuth and elevation put it, and the camera looks from there at
// the origin: the origin shows at the middle of the viewport, and a point between it and the eye is nearer.
TEST(SceneCamera, OrbitLooksFromItsEyeAtTheOrigin) {
    struct Case {
        const char* name;
        double azimuth, elevation;
        Vec3 eye;
    } const cases[] = {
        {"in front", 0, 0, {0, 0, 10}},           {"behind", 180, 0, {0, 0, -10}},
        {"to the left", 90, 0, {-10, 0, 0}},      {"from above", 0, 90, {0, 10, 0}},
        {"raised half way", 0, 30, {0, 5, 8.66}}, {"up and round", 135, -45, {-5, -7.07, -5}},
    };
    for (const Case& c : cases) {
        const OrbitCamera orbit{.fieldOfView = 30,
                                .nearPlane = 1,
                                .farPlane = 50,
                                .distance = 10,
                                .azimuth = c.azimuth,
                                .elevation = c.elevation};
        const Vec3 eye = orbitEye(orbit);
        EXPECT_LT(length(eye - c.eye), 0.01) << c.name << ": eye at " << eye;
        Camera camera;
        ASSERT_TRUE(setOrbitCamera(camera, orbit, 1.5, 300, 200)) << c.name;
        double x, y, z, nearZ;
        ASSERT_TRUE(projectPoint(camera, {0, 0, 0}, x, y, z)) << c.name;
        EXPECT_NEAR(x, 150.0, 1e-9) << c.name;
        EXPECT_NEAR(y, 100.0, 1e-9) << c.name;
        ASSERT_TRUE(projectPoint(camera, 0.5 * eye, x, y, nearZ)) << c.name;
        EXPECT_LT(nearZ, z) << c.name << ": half way to the eye is nearer than the origin";
    }
}

TEST(SceneCamera, SingularCameraIsRefusedAndLeftHarmless) {
    double projection[16], flat[16] = {};
    perspectiveMatrix(projection, 45.0, 1.0, 1.0, 10.0);
    flat[15] = 1.0;
    Camera camera;
    EXPECT_FALSE(setCamera(camera, projection, flat, 100, 100));
    Vec3 origin, direction;
    pixelRay(camera, 10, 20, origin, direction);
    double x, y, z;
    ASSERT_TRUE(projectPoint(camera, {0.5, 0.5, 0.5}, x, y, z));
    for (double v : {origin.x, origin.y, origin.z, direction.x, direction.y, direction.z, x, y, z})
        EXPECT_TRUE(std::isfinite(v));
    double inverse[16];
    EXPECT_FALSE(invertMatrix(flat, inverse));
}

}  // namespace
}  // namespace scene
