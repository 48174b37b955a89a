// Shape and colours of the dodecahedron, and where every sticker is in this frame's view.
//
// Model space: a dodecahedron of circumradius about 1.018 centred at the origin. View space: model space turned
// by the view (scene::ViewFrame). OpenGL receives view-space points with depthOffset added to z; the camera at (0, 0,
// -30) looks along +z, so screen right is -x and screen up is +y.
#pragma once

#include <cstdint>

#include "pentagir/puzzle.h"
#include "scene/camera.h"
#include "scene/vec.h"

namespace pentagir {

using scene::identityView;
using scene::pi;
using scene::toView;
using scene::Vec2;
using scene::Vec3;
using scene::ViewFrame;

constexpr double cutRatio = 0.45;  // share of a face edge that a corner sticker takes from each end
constexpr double phi = 1.618033988749895;
constexpr double depthOffset = 4.0;
constexpr int32_t templatePointCount = 20;
constexpr int32_t vertexCount = 20;
// Distinct sticker corners on the solid: the 20 vertices, the two cut points of each of the 30 edges and the five
// inner points of each face.
constexpr int32_t cornerPointCount = vertexCount + 2 * 30 + 5 * faceCount;

// Template points of each position's outline, in drawing order; -1 pads the quadrilaterals.
// clang-format off
constexpr int32_t stickerPolygon[stickersPerFace][5] = {
    {14,  0,  5, 15, -1},
    { 5, 10, 16, 15, -1},
    {10,  1,  6, 16, -1},
    { 6, 11, 17, 16, -1},
    {11,  2,  7, 17, -1},
    { 7, 12, 18, 17, -1},
    {12,  3,  8, 18, -1},
    { 8, 13, 19, 18, -1},
    {13,  4,  9, 19, -1},
    { 9, 14, 15, 19, -1},
    {15, 16, 17, 18, 19},
};
// clang-format on

// Corner count of each position's outline.
constexpr int32_t stickerCorners(int32_t position) { return position == centrePosition ? 5 : 4; }

// Dodecahedron vertices of each face.
// clang-format off
constexpr int32_t faceVertices[faceCount][5] = {
    {14, 13, 12, 11, 10},
    {10, 11,  1,  8,  0},
    {11, 12,  2,  9,  1},
    {12, 13,  3,  5,  2},
    {13, 14,  4,  6,  3},
    {14, 10,  0,  7,  4},
    {15, 16, 17, 18, 19},
    {15, 19,  9,  2,  5},
    {16, 15,  5,  3,  6},
    {17, 16,  6,  4,  7},
    {18, 17,  7,  0,  8},
    {19, 18,  8,  1,  9},
};
// clang-format on

// Red, green, blue 0-255 of each colour index; OpenGL gets component / 256.
// clang-format off
constexpr int32_t palette[faceCount][3] = {
    {128, 128, 128},
    { 80,  40,  80},
    {128,   0,   0},
    {128, 128,   0},
    {  0,  96,   0},
    {  0,  64, 128},
    {255, 255, 255},
    {  0, 128, 240},
    {160,  80, 160},
    {255,   0,   0},
    {255, 255,   0},
    {  0, 192,   0},
};
// clang-format on

// The fixed shape, built once at start-up: the face template, the solid's vertices, each face's frame in model
// space, and the point of the solid that every sticker corner lies on.
struct Shape {
    Vec2 faceTemplate[templatePointCount];
    Vec3 vertexPos[vertexCount];
    Vec3 faceCentre[faceCount];
    Vec3 faceAxisX[faceCount];
    Vec3 faceAxisY[faceCount];
    int16_t cornerPoint[stickerCount][5];  // point of the solid (0 to cornerPointCount - 1) at each corner
};
extern const Shape shape;

// Every face's frame in view space for one view (without depthOffset): where its stickers are this frame.
struct FaceFrames {
    Vec3 viewAxisX[faceCount];
    Vec3 viewAxisY[faceCount];
    Vec3 viewCentre[faceCount];
};
void updateFaceFrames(FaceFrames& faces, const ViewFrame& view);

// This frame's rotation of the turning layer, in view space.
struct LayerRotation {
    bool active;
    Vec3 axis;
    double angle;
    bool moving[stickerCount];
};

// No layer turns.
LayerRotation stillLayers();

// The layer (0-11) turned count fifths' way (1 or 4) at progress 0..1 of its animation (clamped): eased so that it
// starts and ends slowly and stands exactly a fifth of a turn on at 1.
LayerRotation animationRotation(const ViewFrame& view, int32_t layer, int32_t count, double progress);

// Corner i of sticker s as OpenGL receives it: in view space, turned with its layer, depthOffset added.
void stickerCorner(const FaceFrames& faces, const LayerRotation& rotation, int32_t s, int32_t i, float out[3]);

// The camera: 4 degrees of vertical field of view, near 4, far 900 (the distance squared), the eye 30 units before
// the origin looking along +z with +y up.
constexpr scene::OrbitCamera orbit{
    .fieldOfView = 4.0, .nearPlane = 4.0, .farPlane = 900.0, .distance = 30.0, .azimuth = 180.0, .elevation = 0.0};

// The orbit's camera with aspect lastX / lastY on a drawing area whose largest coordinates are lastX, lastY. No
// OpenGL is needed to build it.
void setupCamera(scene::Camera& camera, int32_t lastX, int32_t lastY);

// Where the eye is, in the space OpenGL receives points in.
inline Vec3 eyePosition() { return scene::orbitEye(orbit); }

}  // namespace pentagir
