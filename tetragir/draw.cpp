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

void pullOutlines(const scene::PolygonArrays& a, int32_t viewportHeight) {
    const Vec3 eye = eyePosition();
    const double pixelsPerUnitAtUnitDistance = viewportHeight / (2.0 * std::tan(fieldOfView / 2.0 * pi / 180.0));
    for (int32_t p = 0; p < a.polygonCount; ++p) {
        Vec3 corner[3];
        for (int32_t i = 0; i < 3; ++i) {
            const float* q = a.position[3 * p + i];
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
            state.outlinePosition[3 * p + i][0] = static_cast<float>(q.x);
            state.outlinePosition[3 * p + i][1] = static_cast<float>(q.y);
            state.outlinePosition[3 * p + i][2] = static_cast<float>(q.z);
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

void addSticker(StickerBatch& batch, const Colours& colours, const ViewFrame& view, const LayerRotation& rotation,
                int32_t s, uint32_t segments = ~0u, bool filled = true) {
    float corners[3][3];
    for (int32_t i = 0; i < 3; ++i) stickerCorner(view, rotation, s, i, corners[i]);
    const int32_t* rgb = palette[colours[s]];
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

// Where one part's fills and outline segments end in the batch's lists.
struct PartEnd {
    int32_t polygon, fill, line;
};

// One part's stickers, from where the part before ended: fills, then outlines at the pulled corners.
void drawPart(const scene::PolygonArrays& a, PartEnd from, PartEnd to, bool batched) {
    if (batched) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, a.position);
        glColorPointer(3, GL_FLOAT, 0, a.colour);
        glDrawElements(GL_TRIANGLES, to.fill - from.fill, GL_UNSIGNED_SHORT, a.fill + from.fill);
        glDisableClientState(GL_COLOR_ARRAY);
        glColor3fv(outlineRgb);
        glVertexPointer(3, GL_FLOAT, 0, state.outlinePosition);
        // Only outlines of the same colour come after an outline, so the depth it would write decides no pixel.
        glDepthMask(GL_FALSE);
        glDrawElements(GL_LINES, to.line - from.line, GL_UNSIGNED_SHORT, a.line + from.line);
        glDepthMask(GL_TRUE);
        glDisableClientState(GL_VERTEX_ARRAY);
        return;
    }
    const int32_t first = from.polygon, end = to.polygon;
    // One primitive at a time, all fills and then all outlines: the reference the batched drawing matches.
    for (int32_t p = first; p < end; ++p) {
        glColor3fv(a.colour[3 * p]);
        glBegin(GL_POLYGON);
        for (int32_t i = 0; i < 3; ++i) glVertex3fv(a.position[3 * p + i]);
        glEnd();
    }
    glColor3fv(outlineRgb);
    for (int32_t p = first; p < end; ++p) {
        glBegin(GL_LINE_LOOP);
        for (int32_t i = 0; i < 3; ++i) glVertex3fv(state.outlinePosition[3 * p + i]);
        glEnd();
    }
}

}  // namespace

void setupView(const scene::Camera& camera) {
    glEnable(GL_DEPTH_TEST);
    // One colour per sticker: flat shading keeps 128/256 from coming out as 127 in some pixels and 128 in others.
    glShadeModel(GL_FLAT);
    glDepthFunc(GL_LESS);
    glLineWidth(outlineWidth);
    scene::applyCamera(camera);
}

void fillBatch(StickerBatch& batch, const Colours& colours, const ViewFrame& view, const LayerRotation& rotation,
               bool wholePuzzle) {
    batch.clear();
    batch.farCount = 0;
    if (rotation.active) {
        bool layerInFront = turningLayerInFront(view, rotation);
        for (bool front : {false, true}) {
            for (int32_t s = 0; s < stickerCount; ++s)
                if (rotation.moving[s] == (layerInFront == front)) addSticker(batch, colours, view, rotation, s);
            if (!front) batch.farCount = batch.size();
        }
        return;
    }
    bool away[faceCount];
    for (int32_t f = 0; f < faceCount; ++f) away[f] = !wholePuzzle && turnedAway(view, f);
    for (int32_t s = 0; s < stickerCount; ++s) {
        int32_t f = s / placesPerFace;
        if (!away[f]) {
            addSticker(batch, colours, view, rotation, s);
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
        if (silhouette != 0) addSticker(batch, colours, view, rotation, s, silhouette, false);
    }
}

void drawPuzzle(const StickerBatch& batch, const scene::Camera& camera, bool batched) {
    scene::PolygonArrays a = batch.arrays();
    pullOutlines(a, camera.height);
    // While a layer turns every sticker is whole: one fill triangle and three segments each.
    const PartEnd farEnd{batch.farCount, 3 * batch.farCount, 6 * batch.farCount};
    if (batch.farCount > 0) {
        drawPart(a, {0, 0, 0}, farEnd, batched);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    drawPart(a, farEnd, {a.polygonCount, a.fillCount, a.lineCount}, batched);
}

void drawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    LayerRotation rotation = stillLayers();
    if (play::turnAnimating(state.clock))
        rotation = animationRotation(state.view, state.animMove, state.animCount, play::turnProgress(state.clock));
    fillBatch(state.batch, state.colours, state.view, rotation, !state.batchedDrawing);
    drawPuzzle(state.batch, state.camera, state.batchedDrawing);
    glFlush();
}

}  // namespace tetragir
