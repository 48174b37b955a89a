// Shape of the tetrahedron in space, the view, the turning layer and the camera.
//
// Model space: the regular tetrahedron inscribed in the cube of edge 2 around the origin. View space: model space
// turned by the view (scene::ViewFrame). OpenGL receives view-space points with depthOffset added to z; the camera
// at (0, 0, -44) looks along +z, so screen right is -x and screen up is +y.
#pragma once

#include <cstdint>

#include "scene/camera.h"
#include "scene/vec.h"
#include "tetragir/puzzle.h"

namespace tetragir {

using scene::identityView;
using scene::pi;
using scene::toView;
using scene::Vec3;
using scene::ViewFrame;

// clang-format off
constexpr Vec3 cornerPosition[cornerCount] = {
    {-1, -1, -1},
    { 1,  1, -1},
    { 1, -1,  1},
    {-1,  1,  1},
};
// clang-format on

// Unit vector from corner v through the centre: the axis a move of corner v turns about, right-handed.
constexpr double axisComponent = 0.5773502691896257;  // 1 / sqrt(3)
// clang-format off
constexpr Vec3 cornerAxis[cornerCount] = {
    { axisComponent,  axisComponent,  axisComponent},
    {-axisComponent, -axisComponent,  axisComponent},
    {-axisComponent,  axisComponent, -axisComponent},
    { axisComponent, -axisComponent, -axisComponent},
};
// clang-format on

// The model's centre sits this far along the view direction from the origin of the space OpenGL receives.
constexpr double depthOffset = 4.0;

// Red, green, blue 0-255 of each colour index; OpenGL gets component / 256.
// clang-format off
constexpr int32_t palette[faceCount][3] = {
    {255, 255, 255},
    {255,   0,   0},
    {255, 255,   0},
    {  0, 128,   0},
};
// clang-format on

// This frame's rotation of the turning layer, in view space.
struct LayerRotation {
    bool active;
    Vec3 axis;
    double angle;
    bool moving[stickerCount];
};

// No layer turns.
LayerRotation stillLayers();

// The layer (0-11) turned count thirds' way (1 or 2) at progress 0..1 of its animation (clamped): eased so that it
// starts and ends slowly and stands exactly a third of a turn on at 1.
LayerRotation animationRotation(const ViewFrame& view, int32_t layer, int32_t count, double progress);

// Corner i (0-2) of sticker s as OpenGL receives it: in view space, turned with its layer, depthOffset added.
void stickerCorner(const ViewFrame& view, const LayerRotation& rotation, int32_t s, int32_t i, float out[3]);

// Face corner 0 of face f and the two edges from it, in view space without depthOffset.
struct FaceFrame {
    Vec3 p0, e1, e2;
};
FaceFrame faceFrame(const ViewFrame& view, int32_t f);

// The camera: 4.5 degrees of vertical field of view, near 4.5, far 1320 (30 times the distance), the eye 44 units
// before the origin looking along +z with +y up.
constexpr scene::OrbitCamera orbit{.fieldOfView = 4.5,
                                   .nearPlane = 4.5,
                                   .farPlane = 30.0 * 44.0,
                                   .distance = 44.0,
                                   .azimuth = 180.0,
                                   .elevation = 0.0};

// The orbit's camera with aspect lastX / lastY on a drawing area whose largest coordinates are lastX, lastY. No
// OpenGL is needed to build it.
void setupCamera(scene::Camera& camera, int32_t lastX, int32_t lastY);

// Where the eye is, in the space OpenGL receives points in.
inline Vec3 eyePosition() { return scene::orbitEye(orbit); }

}  // namespace tetragir
