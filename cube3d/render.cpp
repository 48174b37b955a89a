#include "render.h"

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstring>

#include "scene/camera.h"
#include "window.h"

namespace cube3d {

bool quickDrawing = true;

namespace {

using scene::Vec3;

// What the quick way sends: four corners and their colour per kept record, in record order.
struct QuickList {
    float corner[Model::recordCount * 4][3];
    float colour[Model::recordCount * 4][3];
    int32_t quads;
};
QuickList quick;

// Per slot and face, this frame: the record that lies on that face with its corners in the face's own order, -1 for
// none, and whether the slot is a closed box (all six faces so, none twice).
int16_t faceRecord[Model::slotCount][6];
bool closedBox[Model::slotCount];
// Per record, this frame: the face it lies on as above (-1 for none) and whether it turns away from the eye.
int8_t woundOn[Model::recordCount];
bool facingAway[Model::recordCount];

// Face of a corner triple (corners 0, 1, 2 of a record, each 0 to 7) that runs round a face of faceCorners in that
// face's own order from any starting corner; index = (c0 * 8 + c1) * 8 + c2, -1 for none. The fourth corner is
// checked with nextCorner.
constexpr std::array<int8_t, 512> woundFaces = [] {
    std::array<int8_t, 512> table{};
    for (int8_t& entry : table) entry = -1;
    for (int32_t f = 0; f < 6; ++f)
        for (int32_t start = 0; start < 4; ++start) {
            const int32_t* c = cubie::faceCorners[f];
            table[(c[start] * 8 + c[(start + 1) % 4]) * 8 + c[(start + 2) % 4]] = static_cast<int8_t>(f);
        }
    return table;
}();

// The corner that follows corner c round face f in the face's own order.
int32_t nextCorner(int32_t f, int32_t c) {
    for (int32_t m = 0; m < 4; ++m)
        if (cubie::faceCorners[f][m] == c) return cubie::faceCorners[f][(m + 1) % 4];
    return -1;
}

// Face of a record whose four corners run round one face of one cubie in the face's own order, else -1. Builds,
// turns and re-filing keep every record so; only a hand-made save file can hold others.
int32_t woundFace(const Facet& f) {
    const int32_t slot = f.vertex[0] / 8;
    for (int32_t c = 1; c < 4; ++c)
        if (f.vertex[c] / 8 != slot) return -1;
    const int32_t face = woundFaces[((f.vertex[0] % 8) * 8 + f.vertex[1] % 8) * 8 + f.vertex[2] % 8];
    return face >= 0 && nextCorner(face, f.vertex[2] % 8) == f.vertex[3] % 8 ? face : -1;
}

bool degenerate(const Facet& f) {
    return f.vertex[0] == f.vertex[1] && f.vertex[0] == f.vertex[2] && f.vertex[0] == f.vertex[3];
}

Vec3 point(int32_t index) {
    const double* p = state.puzzle.worldVertex[index];
    return {p[0], p[1], p[2]};
}

int32_t signOf(double v) { return (v > 0) - (v < 0); }

void findClosedBoxes() {
    std::memset(faceRecord, 0xff, sizeof faceRecord);
    for (bool& closed : closedBox) closed = true;
    for (int32_t r = 0; r < Model::recordCount; ++r) {
        const Facet& f = state.puzzle.facets[r];
        woundOn[r] = static_cast<int8_t>(f.colour == 0 ? -1 : woundFace(f));
        if (woundOn[r] < 0) continue;
        const int32_t slot = f.vertex[0] / 8;
        int16_t& record = faceRecord[slot][woundOn[r]];
        if (record >= 0) closedBox[slot] = false;
        record = static_cast<int16_t>(r);
        // The corner order's right-hand normal points into the cubie: the eye on its inner side sees the face's
        // back.
        const Vec3 q0 = point(f.vertex[0]);
        const Vec3 inward = scene::cross(point(f.vertex[1]) - q0, point(f.vertex[2]) - q0);
        facingAway[r] = scene::dot(inward, state.eye - q0) > 0;
    }
    for (int32_t s = 0; s < Model::slotCount; ++s)
        for (int32_t face = 0; face < 6; ++face) closedBox[s] = closedBox[s] && faceRecord[s][face] >= 0;
}

// A face of a closed box turned away from the eye lies behind the box's own front faces, so leaving it out changes
// no pixel the box's geometry decides. (Along the box's outline a back face and the front face it borders have the
// same depth up to the rasteriser's rounding; there the full drawing may give a stray pixel to either, and this
// drawing gives it to the front face.)
bool hiddenBackFace(int32_t r) {
    return woundOn[r] >= 0 && facingAway[r] && closedBox[state.puzzle.facets[r].vertex[0] / 8];
}

void setViewState() {
    scene::applyCamera(state.camera);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDisable(GL_CULL_FACE);
    // One colour per quad: smooth shading of four equal colours may still round differently across a quad.
    glShadeModel(GL_FLAT);
}

}  // namespace

void composeCamera() {
    const double yaw = state.cameraYaw * degree, pitch = state.cameraPitch * degree;
    state.eye = {-eyeDistance * std::sin(yaw) * std::cos(pitch), eyeDistance * std::sin(pitch),
                 eyeDistance * std::cos(yaw) * std::cos(pitch)};
    double projection[16], modelView[16];
    scene::perspectiveMatrix(projection, fieldOfView, aspect, nearPlane, farPlane);
    scene::lookAtMatrix(modelView, state.eye, {0.0, 0.0, 0.0}, {0.0, std::cos(pitch), 0.0});
    scene::setCamera(state.camera, projection, modelView, state.areaWidth, state.areaHeight);
}

bool rayMeetsFacet(const Vec3 q[4], Vec3 r0, Vec3 r1, double& distance) {
    const Vec3 n = scene::cross(q[1] - q[0], q[2] - q[0]);
    const Vec3 d = r1 - r0;
    const double along = scene::dot(d, n);
    if (along == 0) return false;
    const double t = (scene::dot(n, q[0]) - scene::dot(n, r0)) / along;
    if (!(t >= 0 && t <= 1)) return false;
    const Vec3 h = r0 + t * d;
    int32_t signs[4];
    for (int32_t e = 0; e < 4; ++e) signs[e] = signOf(scene::dot(n, scene::cross(q[e] - h, q[(e + 1) % 4] - h)));
    if (signs[0] == 0 || signs[0] != signs[1] || signs[0] != signs[2] || signs[0] != signs[3]) return false;
    distance = scene::length(h - r0);
    return true;
}

void pickAndResolve(bool pickActive, int32_t mouseX, int32_t mouseY) {
    state.pickedCubie = -1;
    state.pickedFace = -1;
    state.bestDistance = 1e10;
    if (pickActive) {
        // The layer counts rows from the top, OpenGL from the bottom.
        const double row = state.areaHeight - mouseY - 1;
        state.rayNear = scene::unproject(state.camera, mouseX, row, 0.0);
        state.rayFar = scene::unproject(state.camera, mouseX, row, 1.0);
    }
    std::memcpy(state.colourBefore, state.colourAfter, sizeof state.colourBefore);
    const float* current = state.colourBefore;
    for (int32_t r = 0; r < Model::recordCount; ++r) {
        const Facet& f = state.puzzle.facets[r];
        if (const float* rgb = codeColour(f.colour)) current = rgb;
        state.darkened[r] = false;
        double distance;
        if (pickActive && !degenerate(f)) {
            const Vec3 q[4] = {point(f.vertex[0]), point(f.vertex[1]), point(f.vertex[2]), point(f.vertex[3])};
            if (rayMeetsFacet(q, state.rayNear, state.rayFar, distance) && distance < state.bestDistance) {
                state.bestDistance = distance;
                state.darkened[r] = true;
                current = highlightColour;
                state.pickedCubie = f.vertex[0] / 8;
                state.pickedFace = cubie::facetFace(f);
            }
        }
        std::memcpy(state.recordColour[r], current, sizeof state.recordColour[r]);
    }
    std::memcpy(state.colourAfter, current, sizeof state.colourAfter);
}

void drawQuick() {
    findClosedBoxes();
    quick.quads = 0;
    for (int32_t r = 0; r < Model::recordCount; ++r) {
        const Facet& f = state.puzzle.facets[r];
        if (degenerate(f) || hiddenBackFace(r)) continue;
        for (int32_t c = 0; c < 4; ++c) {
            const double* p = state.puzzle.worldVertex[f.vertex[c]];
            float* corner = quick.corner[quick.quads * 4 + c];
            for (int32_t a = 0; a < 3; ++a) corner[a] = static_cast<float>(p[a]);
            std::memcpy(quick.colour[quick.quads * 4 + c], state.recordColour[r], sizeof quick.colour[0]);
        }
        ++quick.quads;
    }
    setViewState();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, quick.corner);
    glColorPointer(3, GL_FLOAT, 0, quick.colour);
    glDrawArrays(GL_QUADS, 0, quick.quads * 4);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void drawReference() {
    setViewState();
    glColor3fv(state.colourBefore);
    glBegin(GL_QUADS);
    for (int32_t r = 0; r < Model::recordCount; ++r) {
        const Facet& f = state.puzzle.facets[r];
        if (const float* rgb = codeColour(f.colour)) glColor3fv(rgb);
        if (state.darkened[r]) glColor3fv(highlightColour);
        for (int32_t c = 0; c < 4; ++c) {
            const double* p = state.puzzle.worldVertex[f.vertex[c]];
            glVertex3f(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
        }
    }
    glEnd();
}

int32_t quickQuadCount() { return quick.quads; }

void drawCube(bool pickActive, int32_t mouseX, int32_t mouseY) {
    composeCamera();
    pickAndResolve(pickActive, mouseX, mouseY);
    if (state.glDrawing) {
        if (quickDrawing)
            drawQuick();
        else
            drawReference();
        glFlush();
    }
    present_frame(2);
}

}  // namespace cube3d
