#include "cube3d/draw.h"

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstring>

#include "cube3d/picking.h"
#include "cube3d/state.h"
#include "scene/camera.h"
#include "window/window.h"

namespace cube3d {
namespace {

using scene::Vec3;

// Axis of each face's normal and the side it faces; index = face of faceCorners.
constexpr int32_t normalAxis[6] = {2, 2, 0, 0, 1, 1};
constexpr int32_t outwardSign[6] = {1, -1, -1, 1, -1, 1};

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

void findClosedBoxes() {
    QuadBatch& batch = state.batch;
    std::memset(batch.faceRecord, 0xff, sizeof batch.faceRecord);
    for (bool& closed : batch.closedBox) closed = true;
    for (int32_t r = 0; r < Model::recordCount; ++r) {
        const Facet& f = state.puzzle.facets[r];
        batch.woundOn[r] = static_cast<int8_t>(f.colour == 0 ? -1 : woundFace(f));
        if (batch.woundOn[r] < 0) continue;
        const int32_t slot = f.vertex[0] / 8;
        int16_t& record = batch.faceRecord[slot][batch.woundOn[r]];
        if (record >= 0) batch.closedBox[slot] = false;
        record = static_cast<int16_t>(r);
        // The corner order's right-hand normal points into the cubie: the eye on its inner side sees the face's
        // back.
        const Vec3 q0 = cornerPoint(f.vertex[0]);
        const Vec3 inward = scene::cross(cornerPoint(f.vertex[1]) - q0, cornerPoint(f.vertex[2]) - q0);
        batch.facingAway[r] = scene::dot(inward, state.eye - q0) > 0;
    }
    for (int32_t s = 0; s < Model::slotCount; ++s)
        for (int32_t face = 0; face < 6; ++face)
            batch.closedBox[s] = batch.closedBox[s] && batch.faceRecord[s][face] >= 0;
    const Model& m = state.puzzle;
    batch.everyCubieClosed = true;
    for (int32_t i = 0; i < m.dims[0]; ++i)
        for (int32_t j = 0; j < m.dims[1]; ++j)
            for (int32_t k = 0; k < m.dims[2]; ++k)
                batch.everyCubieClosed =
                    batch.everyCubieClosed && batch.closedBox[cubie::slotNumber(m.gridSize, i, j, k)];
}

void findLayerExtents() {
    const Model& m = state.puzzle;
    QuadBatch& batch = state.batch;
    for (int32_t a = 0; a < 3; ++a)
        for (int32_t layer = 0; layer < m.dims[a]; ++layer) {
            int32_t at[3] = {0, 0, 0};
            at[a] = layer;
            double low[3], high[3];
            cubie::homePosition(m, at[0], at[1], at[2], 0, low);
            cubie::homePosition(m, at[0], at[1], at[2], 7, high);
            batch.layerLow[a][layer] = low[a];
            batch.layerHigh[a][layer] = high[a];
        }
}

// A face of a closed box turned away from the eye lies behind the box's own front faces, so leaving it out changes
// no pixel the box's geometry decides. (Along the box's outline a back face and the front face it borders have the
// same depth up to the rasteriser's rounding; there the full drawing may give a stray pixel to either, and this
// drawing gives it to the front face.)
bool hiddenBackFace(int32_t r) {
    const QuadBatch& batch = state.batch;
    return batch.woundOn[r] >= 0 && batch.facingAway[r] && batch.closedBox[state.puzzle.facets[r].vertex[0] / 8];
}

// A front face F across one of the axes (any face of a cubie at home; a moving cubie's faces across the turn axis),
// seen across the next layer of cubies towards the eye along F's normal, is hidden when no ray from F to the eye
// can cross that layer between its cubies. Inside the layer the cubies' cross-sections are squares separated by
// straight gaps of width g = 2 * inset, and a ray's trace across the layer's thickness is a straight segment. A
// segment kept within the gaps runs along one gap, turns at most once into a crossing one unless it can follow a
// gap for a whole square's length (slope beyond (cell - g) / g), and so its extents are at most g * r + g by
// g + g / r, r the ratio of its extents. Traces longer than that, not too steep, inside the cuboid's cross-section
// and clear of any moving layer, therefore meet a cubie, whose front faces are at least g nearer the eye than F at
// every pixel of F: leaving F out changes no pixel. Every bound is taken over F grown by a margin, so rounding
// never decides.
bool hiddenBehindNextLayer(int32_t r) {
    constexpr double margin = 0.5;
    const Model& m = state.puzzle;
    const QuadBatch& batch = state.batch;
    const int32_t face = batch.woundOn[r];
    if (!batch.everyCubieClosed || face < 0 || batch.facingAway[r]) return false;
    int32_t at[3];
    cubie::slotCoordinates(m.gridSize, m.facets[r].vertex[0] / 8, at);
    const int32_t a = normalAxis[face], sign = outwardSign[face], next = at[a] + sign;
    if (next < 0 || next >= m.dims[a] || at[0] >= m.dims[0] || at[1] >= m.dims[1] || at[2] >= m.dims[2]) return false;
    // A moving cubie's faces across the turn axis stay in their planes; its other faces have left the axes.
    const int32_t moving = m.turnLayer;
    const int32_t t = m.turning && m.turnAxis >= 0 && moving >= 0 && moving < m.dims[m.turnAxis] ? m.turnAxis : -1;
    if (t >= 0 && ((at[t] == moving && t != a) || (t == a && next == moving))) return false;
    const double eye[3] = {state.eye.x, state.eye.y, state.eye.z};
    const double plane = sign > 0 ? batch.layerHigh[a][at[a]] : batch.layerLow[a][at[a]];
    const double entry = sign > 0 ? batch.layerLow[a][next] : batch.layerHigh[a][next];
    const double exit = sign > 0 ? batch.layerHigh[a][next] : batch.layerLow[a][next];
    if (sign * (eye[a] - exit) <= margin) return false;  // the eye must lie beyond the layer
    // A ray from p meets a plane at distance h from the eye along the axis at eye + (p - eye) * h / (F's distance).
    const double toEye = std::fabs(eye[a] - plane);
    const double entryScale = std::fabs(eye[a] - entry) / toEye, exitScale = std::fabs(eye[a] - exit) / toEye;
    double low[2], high[2], nearest[2], furthest[2];  // F grown by the margin, from the eye, along the other axes
    for (int32_t n = 0; n < 2; ++n) {
        const int32_t u = (a + 1 + n) % 3;
        low[n] = high[n] = m.worldVertex[m.facets[r].vertex[0]][u];
        for (int32_t c = 1; c < 4; ++c) {
            low[n] = std::fmin(low[n], m.worldVertex[m.facets[r].vertex[c]][u]);
            high[n] = std::fmax(high[n], m.worldVertex[m.facets[r].vertex[c]][u]);
        }
        low[n] -= margin + eye[u];
        high[n] += margin - eye[u];
        nearest[n] = low[n] <= 0 && high[n] >= 0 ? 0 : std::fmin(std::fabs(low[n]), std::fabs(high[n]));
        furthest[n] = std::fmax(std::fabs(low[n]), std::fabs(high[n]));
    }
    if (nearest[0] <= 0 || nearest[1] <= 0) return false;
    const double gap = 2.0 * cube3dConfig.inset;
    const double steepest = std::fmin(8.0, (m.cellSize[0] - gap) / gap - 1.0);
    const double ratioHigh = furthest[0] / nearest[1], ratioLow = nearest[0] / furthest[1];
    if (ratioHigh > steepest || ratioLow < 1.0 / steepest) return false;
    // The whole crossing of the layer, or when its traces leave the cuboid's cross-section or meet the moving
    // layer, a first part of it that does not: the argument holds for any part.
    for (double part : {1.0, 0.7, 0.5, 0.35}) {
        const double partScale = entryScale - part * (entryScale - exitScale);
        bool clear = true;
        for (int32_t n = 0; n < 2 && clear; ++n) {
            const int32_t u = (a + 1 + n) % 3;
            const double traceLow = eye[u] + std::fmin(low[n] * entryScale, low[n] * partScale);
            const double traceHigh = eye[u] + std::fmax(high[n] * entryScale, high[n] * partScale);
            const double* layerLow = batch.layerLow[u];
            const double* layerHigh = batch.layerHigh[u];
            clear = traceLow >= layerLow[0] + margin && traceHigh <= layerHigh[m.dims[u] - 1] - margin &&
                    !(t == u && traceHigh >= layerLow[moving] - margin && traceLow <= layerHigh[moving] + margin);
        }
        if (!clear) continue;
        const double sweep = entryScale - partScale;
        return sweep * nearest[0] > 2 * gap + gap * ratioHigh && sweep * nearest[1] > 2 * gap + gap / ratioLow;
    }
    return false;
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

// Without whole, leaves out what no pixel needs: records whose corners coincide, the faces of each closed cubie box
// that turn away from the eye (its own front faces cover them), and front faces that the next layer of cubies
// towards the eye hides from every ray.
void drawBatched(bool whole) {
    if (!whole) {
        findClosedBoxes();
        findLayerExtents();
    }
    QuadBatch& batch = state.batch;
    batch.quads = 0;
    for (int32_t r = 0; r < Model::recordCount; ++r) {
        const Facet& f = state.puzzle.facets[r];
        if (!whole && (degenerate(f) || hiddenBackFace(r) || hiddenBehindNextLayer(r))) continue;
        for (int32_t c = 0; c < 4; ++c) {
            const double* p = state.puzzle.worldVertex[f.vertex[c]];
            float* corner = batch.corner[batch.quads * 4 + c];
            for (int32_t a = 0; a < 3; ++a) corner[a] = static_cast<float>(p[a]);
            std::memcpy(batch.colour[batch.quads * 4 + c], state.recordColour[r], sizeof batch.colour[0]);
        }
        ++batch.quads;
    }
    setViewState();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, batch.corner);
    glColorPointer(3, GL_FLOAT, 0, batch.colour);
    glDrawArrays(GL_QUADS, 0, batch.quads * 4);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// All records in one quad list in record order.
void drawImmediate() {
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

}  // namespace

void composeCamera() {
    scene::OrbitCamera orbit = cameraOrbit;
    orbit.azimuth = state.cameraYaw;
    orbit.elevation = state.cameraPitch;
    state.eye = scene::orbitEye(orbit);
    scene::setOrbitCamera(state.camera, orbit, aspect, state.areaWidth, state.areaHeight);
}

void resolveColours() {
    std::memcpy(state.colourBefore, state.colourAfter, sizeof state.colourBefore);
    const float* current = state.colourBefore;
    for (int32_t r = 0; r < Model::recordCount; ++r) {
        if (const float* rgb = codeColour(state.puzzle.facets[r].colour)) current = rgb;
        if (state.darkened[r]) current = highlightColour;
        std::memcpy(state.recordColour[r], current, sizeof state.recordColour[r]);
    }
    std::memcpy(state.colourAfter, current, sizeof state.colourAfter);
}

void drawPuzzle(scene::DrawingMode mode) {
    if (mode == scene::DrawingMode::oneAtATime) drawImmediate();
    else drawBatched(mode == scene::DrawingMode::batchedWhole);
}

int32_t batchedQuadCount() { return state.batch.quads; }

void drawCube(bool pickActive, int32_t mouseX, int32_t mouseY) {
    composeCamera();
    pickFacets(pickActive, mouseX, mouseY);
    resolveColours();
    if (state.glDrawing) {
        drawPuzzle(state.drawingMode);
        glFlush();
    }
    present_frame(presentSwap);
}

}  // namespace cube3d
