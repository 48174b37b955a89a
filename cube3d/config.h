// The sizes, colours and camera of cube3d: the cube or cuboid of up to 10 x 10 x 10 cubies seen from an orbiting
// camera. Everything a player can notice about speed and look is a constant here.
#pragma once

#include <cstdint>

#include "cubie/cubie.h"
#include "scene/camera.h"

namespace cube3d {

// Up to 10 cubies an edge, 6000 quad records (six per cubie of the largest grid), cubies inset 1 unit from their
// cells, one degree per frame, and re-filing only the slots that share an index with the turned layer (the rest
// cannot have moved). Outer colours are codes of colourTable below, by face of faceCorners.
// clang-format off
inline constexpr cubie::CubieConfig cube3dConfig{
    .maxGrid = 10, .startGrid = 10, .recordCount = 6000, .shape = cubie::FacetShape::quad,
    .faceColours = {12, 13, 9, 2, 15, 14}, .inset = 1, .stepSize = 1, .restrictedRefile = true, .span = 240};
// clang-format on
using Model = cubie::CubieModel<cube3dConfig>;
using Facet = Model::Facet;

// The camera orbits the origin 720 units out with a vertical field of view of 35 degrees, near 35 and far 1200; its
// azimuth and elevation are the yaw and pitch of the state, whole degrees, both startAngle after a build.
inline constexpr scene::OrbitCamera cameraOrbit{
    .fieldOfView = 35.0, .nearPlane = 35.0, .farPlane = 1200.0, .distance = 720.0, .azimuth = 0.0, .elevation = 0.0};
inline constexpr double aspect = 1.2;  // a constant, not the window's 640 / 480
inline constexpr int32_t startAngle = 45;

// A colour code's red, green, blue for glColor3f; index = code, hasColour false for codes without an entry (such a
// facet keeps the colour of the facet drawn before it).
struct CodeColour {
    bool hasColour;
    float rgb[3];
};
// clang-format off
inline constexpr CodeColour colourTable[16] = {
    {false, {0.0f, 0.0f, 0.0f}},  //  0 unused record
    {false, {0.0f, 0.0f, 0.0f}},  //  1
    {true,  {0.1f, 0.7f, 0.3f}},  //  2 +x, green
    {false, {0.0f, 0.0f, 0.0f}},  //  3
    {false, {0.0f, 0.0f, 0.0f}},  //  4
    {false, {0.0f, 0.0f, 0.0f}},  //  5
    {false, {0.0f, 0.0f, 0.0f}},  //  6
    {false, {0.0f, 0.0f, 0.0f}},  //  7
    {true,  {0.4f, 0.4f, 0.4f}},  //  8 inner faces, grey
    {true,  {0.0f, 0.0f, 1.0f}},  //  9 -x, blue
    {false, {0.0f, 0.0f, 0.0f}},  // 10
    {false, {0.0f, 0.0f, 0.0f}},  // 11
    {true,  {1.0f, 0.0f, 0.0f}},  // 12 +z, red
    {true,  {1.0f, 0.5f, 0.0f}},  // 13 -z, orange
    {true,  {1.0f, 1.0f, 0.0f}},  // 14 +y, yellow
    {true,  {1.0f, 1.0f, 1.0f}},  // 15 -y, white
};
// clang-format on

// Entry of a colour code, or nullptr when the code sets no colour (codes up to 255 can come from a save file).
inline const float* codeColour(int32_t code) {
    return code >= 0 && code < 16 && colourTable[code].hasColour ? colourTable[code].rgb : nullptr;
}

// The colour of the facet under the pointer while the left button is involved.
inline constexpr float highlightColour[3] = {0.1f, 0.1f, 0.1f};

}  // namespace cube3d
