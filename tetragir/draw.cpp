#include "tetragir/draw.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "play/turn_clock.h"
#include "tetragir/state.h"

namespace tetragir {
namespace {

constexpr float outlineRgb[3] = {0.0f, 0.0f, 0.0f};

// An 8-pixel outline has one depth across its width, that of its centre line, while the fill beneath changes depth
// across that width by its depth slope: on a face seen at a slant the fill would hide the outline's half on the
// side turned towards the eye. Pushing the fills back by their slope (polygon offset) keeps the outlines whole but
// lets a face behind show past the silhouette of a steep face in front. So the fills keep their true depths and
// each outline of a face turned towards the eye is drawn pulled towards the eye along the rays through its corners
// (on screen nothing moves) by half its width plus one pixel of that face's depth change, plus a hair for faces
// seen head-on. The slope counts up to a face seen at 84 degrees; past that a sticker is a sliver of outline
// anyway, and a larger pull would let its outline show through a turning layer in front.
constexpr double outlinePullPixels = outlineWidth / 2.0 + 1.0;
constexpr double outlinePullSteepest = 10.0;  // tangent of the steepest slant counted
constexpr double outlinePullHeadOn = 0.01;    // model units; far above the depth buffer's resolution at the model

void pullOutlines(StickerBatch& batch, int32_t viewportHeight) {
    const Vec3 eye = eyePosition();
    const double pixelsPerUnitAtUnitDistance = viewportHeight / (2.0 * std::tan(orbit.fieldOfView / 2.0 * pi / 180.0));
    for (int32_t p = 0; p < batch.size(); ++p) {
        Vec3 corner[3];
        for (int32_t i = 0; i < 3; ++i) {
            const float* q = batch.position[3 * p + i];
            corner[i] = {q[0], q[1], q[2]};
        }
        Vec3 centre = (1.0 / 3.0) * (corner[0] + corner[1] + corner[2]);
        // Corners run so that their right-hand normal points into the puzzle.
        Vec3 inward = scene::normalized(scene::cross(corner[1] - corner[0], corner[2] - corner[0]));
        Vec3 toEye = eye - centre;
        double distance = scene::length(toEye);
        double cosine = -scene::dot(inward, toEye) / distance;
        double pull = outlinePullHeadOn;
        // A face turned away is seen only through the gap of a turning layer; pulling its outlines would let its
        // seams show past the silhouette of the faces in front.
        if (cosine > 0.0) {
            double tangent = std::min(std::sqrt(1.0 - std::min(cosine * cosine, 1.0)) / cosine, outlinePullSteepest);
            pull += outlinePullPixels * tangent * distance / pixelsPerUnitAtUnitDistance;
        }
        for (int32_t i = 0; i < 3; ++i) {
            Vec3 q = corner[i] + (pull / scene::length(eye - corner[i])) * (eye - corner[i]);
            batch.outlinePosition[3 * p + i][0] = static_cast<float>(q.x);
            batch.outlinePosition[3 * p + i][1] = static_cast<float>(q.y);
            batch.outlinePosition[3 * p + i][2] = static_cast<float>(q.z);
        }
    }
}

// The face corner opposite the face's edge that segment i of a place (from its corner i to the next) lies on, or
// -1 for a seam between two stickers of the face.
constexpr int32_t edgeOpposite(int32_t place, int32_t i) {
    const int32_t* p = stickerCorners[place][i];
    const int32_t* q = stickerCorners[place][(i + 1) % 3];
    if (p[1] == 0 && q[1] == 0) return 2;
    if (p[0] == 0 && q[0] == 0) return 1;
    if (p[0] + p[1] == 3 && q[0] + q[1] == 3) return 0;
    return -1;
}

// A face seen this close to edge-on is drawn whole whichever way it is turned, so that rounding never decides what
// is left out.
constexpr double edgeOnCosine = 0.02;

bool turnedAway(const ViewFrame& view, int32_t f) {
    FaceFrame frame = faceFrame(view, f);
    Vec3 toEye = eyePosition() - (frame.p0 + Vec3{0.0, 0.0, depthOffset});
    // Edges run so that their right-hand normal points into the puzzle.
    Vec3 inward = scene::cross(frame.e1, frame.e2);
    return scene::dot(inward, toEye) > edgeOnCosine * scene::length(inward) * scene::length(toEye);
}

void addSticker(StickerBatch& batch, const LayerRotation& rotation, int32_t s, uint32_t segments = ~0u,
                bool filled = true) {
    const ViewFrame& view = state.view;
    float corners[3][3];
    for (int32_t i = 0; i < 3; ++i) stickerCorner(view, rotation, s, i, corners[i]);
    const int32_t* rgb = palette[state.colours[s]];
    const float fill[3] = {static_cast<float>(rgb[0] / 256.0), static_cast<float>(rgb[1] / 256.0),
                           static_cast<float>(rgb[2] / 256.0)};
    batch.add(corners, 3, fill, segments, filled);
}

// Whether the turning layer lies on the eye's side of the cut. The cut is square to the turn's axis, so every
// corner keeps its height along the axis while the layer turns; the layer's heights and the rest's lie on either
// side of the cut's.
bool turningLayerInFront(const ViewFrame& view, const LayerRotation& rotation) {
    const Vec3 centre{0.0, 0.0, depthOffset};
    double low = 1e300, high = -1e300, rest = 0.0;
    int32_t restCorners = 0;
    for (int32_t s = 0; s < stickerCount; ++s)
        for (int32_t i = 0; i < 3; ++i) {
            float q[3];
            stickerCorner(view, rotation, s, i, q);
            double h = scene::dot(Vec3{q[0], q[1], q[2]} - centre, rotation.axis);
            if (rotation.moving[s]) {
                low = std::min(low, h);
                high = std::max(high, h);
            } else {
                rest += h;
                ++restCorners;
            }
        }
    double eye = scene::dot(eyePosition() - centre, rotation.axis);
    return rest / restCorners < low ? eye > low : eye < high;
}

// The frame's stickers into the two parts' batches, in face then place order: while a layer turns, the part beyond
// the cut into batch[0] and the part on the eye's side into batch[1]; while none turns, all into batch[1]. While no
// layer turns the puzzle is convex, and without whole the faces turned away from the eye are left out but for
// their outline segments along the edges they share with faces turned towards it: the faces in front hide the
// rest, so the picture is the same with less to draw.
void fillBatch(const LayerRotation& rotation, bool whole) {
    StickerBatch* batch = state.batch;
    batch[0].clear();
    batch[1].clear();
    const ViewFrame& view = state.view;
    if (rotation.active) {
        bool layerInFront = turningLayerInFront(view, rotation);
        for (int32_t s = 0; s < stickerCount; ++s) addSticker(batch[rotation.moving[s] == layerInFront], rotation, s);
        return;
    }
    bool away[faceCount];
    for (int32_t f = 0; f < faceCount; ++f) away[f] = !whole && turnedAway(view, f);
    for (int32_t s = 0; s < stickerCount; ++s) {
        int32_t f = s / placesPerFace;
        if (!away[f]) {
            addSticker(batch[1], rotation, s);
            continue;
        }
        // An edge between a face turned away and one turned towards the eye is outlined by both, each pulled
        // towards the eye by its own amount. On screen the two lines lie in the same place only up to rounding, so
        // a pixel at the rim of the line can be covered by the line of the face turned away and not by the other,
        // and that line is nearer than the fill beside it. So the segments along such edges are drawn, without
        // their fills.
        uint32_t silhouette = 0;
        for (int32_t i = 0; i < 3; ++i) {
            int32_t k = edgeOpposite(s % placesPerFace, i);
            // The face across the edge opposite a face corner is the one opposite that corner.
            if (k >= 0 && !away[cornerCount - 1 - tetraFaces[f][k]]) silhouette |= 1u << i;
        }
        if (silhouette != 0) addSticker(batch[1], rotation, s, silhouette, false);
    }
}

void drawPart(StickerBatch& batch, scene::DrawingMode mode) {
    pullOutlines(batch, state.camera.height);
    if (mode == scene::DrawingMode::oneAtATime) batch.drawImmediate(outlineRgb, outlineWidth);
    else batch.drawBatched(outlineRgb, outlineWidth);
}

}  // namespace

void drawPuzzle(scene::DrawingMode mode) {
    LayerRotation rotation = stillLayers();
    if (play::turnAnimating(state.clock))
        rotation =
            animationRotation(state.view, state.animMove.layer, state.animMove.count, play::turnProgress(state.clock));
    fillBatch(rotation, mode != scene::DrawingMode::batched);
    if (state.batch[0].size() > 0) {
        drawPart(state.batch[0], mode);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    drawPart(state.batch[1], mode);
}

void drawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawPuzzle(state.drawingMode);
    glFlush();
}

}  // namespace tetragir
