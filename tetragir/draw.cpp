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

// The cosine between a face's inward normal and the way to the eye: above 0 when the face is turned away.
double awayCosine(const ViewFrame& view, int32_t f) {
    FaceFrame frame = faceFrame(view, f);
    Vec3 toEye = eyePosition() - (frame.p0 + Vec3{0.0, 0.0, depthOffset});
    Vec3 inward = scene::cross(frame.e1, frame.e2);
    return scene::dot(inward, toEye) / (scene::length(inward) * scene::length(toEye));
}

// Without the depth test every face drawn must be turned towards the eye at least this much: steeper than that its
// outlines are pulled less than its slope (see outlinePullSteepest) and can lose to a neighbour's fill, and a face
// seen edge-on is drawn whole whichever way it is turned.
constexpr double depthFreeFacing = 0.1;

// Where a face turned away outlines an edge it shares with a face turned towards the eye, its line can cover,
// by rounding, pixels at the rim of the line that the other face's own outline leaves to that face's fill. The
// depth test decides them: the line, pulled towards the eye less, wins where the fill beside the edge lies
// deeper than the line, as on a face seen head-on, and loses where the fill comes towards the eye from the edge
// by more than the line's pull. Drawn before the fills, the line keeps only the pixels outside the puzzle; drawn
// after them, all it covers.
enum class SeamOrder { underFills, overFills, unsure };

// Depths of the line against the front face's fill, in window units, must differ by this much to count.
constexpr double seamDepthMargin = 1e-6;
// How far past the edge's ends, along the line's major axis, the comparison still has to hold (pixels).
constexpr double seamEndReach = outlineWidth / 2.0 + 1.0;

Vec3 cornerAsDrawn(const ViewFrame& view, int32_t c) {
    return toView(view, cornerPosition[c]) + Vec3{0.0, 0.0, depthOffset};
}

// The order for the edge of face `away` opposite its face corner k; the face across it is turned towards the eye.
SeamOrder seamOrder(const ViewFrame& view, const scene::Camera& camera, int32_t away, int32_t k) {
    const Vec3 eye = eyePosition();
    // The edge's ends, then the front face's corner off the edge: the corner of the whole opposite face `away`.
    const Vec3 corner[3] = {cornerAsDrawn(view, tetraFaces[away][(k + 1) % 3]),
                            cornerAsDrawn(view, tetraFaces[away][(k + 2) % 3]),
                            cornerAsDrawn(view, cornerCount - 1 - away)};
    double x[5], y[5], z[5];  // the line's ends as drawn (pulled), then the three corners
    for (int32_t i = 0; i < 2; ++i) {
        Vec3 q = corner[i] + (outlinePullHeadOn / scene::length(eye - corner[i])) * (eye - corner[i]);
        if (!scene::projectPoint(camera, q, x[i], y[i], z[i])) return SeamOrder::unsure;
    }
    for (int32_t i = 0; i < 3; ++i)
        if (!scene::projectPoint(camera, corner[i], x[2 + i], y[2 + i], z[2 + i])) return SeamOrder::unsure;
    // The front face's depth is affine in window x and y: z = z[2] + a (x - x[2]) + b (y - y[2]).
    const double ux = x[3] - x[2], uy = y[3] - y[2], uz = z[3] - z[2];
    const double vx = x[4] - x[2], vy = y[4] - y[2], vz = z[4] - z[2];
    const double det = ux * vy - uy * vx;
    if (std::fabs(det) < 1.0) return SeamOrder::unsure;
    const double a = (uz * vy - uy * vz) / det, b = (ux * vz - uz * vx) / det;
    // A wide line covers its width along the screen axis it crosses least; its depth is that of its centre line.
    const double dx = x[1] - x[0], dy = y[1] - y[0];
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const double major = xMajor ? dx : dy, length = std::fabs(major);
    if (length < 1.0) return SeamOrder::unsure;
    const double t3 = ((xMajor ? x[4] : y[4]) - (xMajor ? x[0] : y[0])) / major;
    const double towardsFace = xMajor ? y[4] - (y[0] + t3 * dy) : x[4] - (x[0] + t3 * dx);
    int32_t lineNearer = 0, lineDeeper = 0;
    for (double t : {-seamEndReach / length, 1.0 + seamEndReach / length})
        for (double rim : {outlineWidth / 2.0 - 0.5, outlineWidth / 2.0 + 0.5}) {
            double px = x[0] + t * dx, py = y[0] + t * dy;
            (xMajor ? py : px) += towardsFace > 0.0 ? rim : -rim;
            double d = z[0] + t * (z[1] - z[0]) - (z[2] + a * (px - x[2]) + b * (py - y[2]));
            lineNearer += d < -seamDepthMargin;
            lineDeeper += d > seamDepthMargin;
        }
    return lineNearer == 4 ? SeamOrder::overFills : lineDeeper == 4 ? SeamOrder::underFills : SeamOrder::unsure;
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

// Outline segments [from, to) of the list at the pulled corners, in one call.
void drawOutlines(const scene::PolygonArrays& a, int32_t from, int32_t to) {
    if (to <= from) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glColor3fv(outlineRgb);
    glVertexPointer(3, GL_FLOAT, 0, state.outlinePosition);
    // Only outlines of the same colour come after an outline, so the depth it would write decides no pixel.
    glDepthMask(GL_FALSE);
    glDrawElements(GL_LINES, to - from, GL_UNSIGNED_SHORT, a.line + from);
    glDepthMask(GL_TRUE);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// One part's stickers, from where the part before ended: fills, then outlines at the pulled corners.
void drawPart(const scene::PolygonArrays& a, PartEnd from, PartEnd to, bool batched) {
    if (batched) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, a.position);
        glColorPointer(3, GL_FLOAT, 0, a.colour);
        glDrawElements(GL_TRIANGLES, to.fill - from.fill, GL_UNSIGNED_SHORT, a.fill + from.fill);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        drawOutlines(a, from.line, to.line);
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
               const scene::Camera& camera, bool wholePuzzle) {
    batch.clear();
    batch.farCount = 0;
    batch.depthFree = false;
    batch.underLines = 0;
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
    batch.depthFree = !wholePuzzle;
    for (int32_t f = 0; f < faceCount; ++f) {
        away[f] = !wholePuzzle && turnedAway(view, f);
        if (!away[f] && awayCosine(view, f) > -depthFreeFacing) batch.depthFree = false;
    }
    // An edge between a face turned away and one turned towards the eye is outlined by both, each pulled towards
    // the eye by its own amount. On screen the two lines lie in the same place only up to rounding, so a pixel at
    // the rim of the line can be covered by the line of the face turned away and not by the other, and that line
    // is nearer than the fill beside it. So the segments along such edges are drawn, without their fills.
    bool seam[faceCount][3] = {};
    SeamOrder order[faceCount][3] = {};
    for (int32_t f = 0; f < faceCount; ++f)
        for (int32_t k = 0; k < 3 && away[f]; ++k) {
            // The face across the edge opposite a face corner is the one opposite that corner.
            seam[f][k] = !away[cornerCount - 1 - tetraFaces[f][k]];
            order[f][k] = seam[f][k] && batch.depthFree ? seamOrder(view, camera, f, k) : SeamOrder::overFills;
            if (order[f][k] == SeamOrder::unsure) batch.depthFree = false;
        }
    // Without the depth test the segments to go under the fills come first, then everything in face then place
    // order; with it, every segment goes with its face. A corner sticker of a face turned away may come twice,
    // once each way, but never more than fits: with three faces towards the eye, 27 stickers and the other
    // face's 6 along its edges, 3 of them corners.
    for (SeamOrder pass : {SeamOrder::underFills, SeamOrder::overFills}) {
        if (pass == SeamOrder::underFills && !batch.depthFree) continue;
        batch.underLines = batch.arrays().lineCount;
        for (int32_t s = 0; s < stickerCount; ++s) {
            int32_t f = s / placesPerFace;
            if (!away[f]) {
                if (pass == SeamOrder::overFills) addSticker(batch, colours, view, rotation, s);
                continue;
            }
            uint32_t segments = 0;
            for (int32_t i = 0; i < 3; ++i) {
                int32_t k = edgeOpposite(s % placesPerFace, i);
                if (k >= 0 && seam[f][k] && (!batch.depthFree || order[f][k] == pass)) segments |= 1u << i;
            }
            if (segments != 0) addSticker(batch, colours, view, rotation, s, segments, false);
        }
    }
}

void drawPuzzle(const StickerBatch& batch, const scene::Camera& camera, bool batched) {
    scene::PolygonArrays a = batch.arrays();
    pullOutlines(a, camera.height);
    if (batched && batch.depthFree) {
        glDisable(GL_DEPTH_TEST);
        drawOutlines(a, 0, batch.underLines);
        drawPart(a, {0, 0, batch.underLines}, {a.polygonCount, a.fillCount, a.lineCount}, true);
        glEnable(GL_DEPTH_TEST);
        return;
    }
    // While a layer turns every sticker is whole: one fill triangle and three segments each.
    const PartEnd farEnd{batch.farCount, 3 * batch.farCount, 6 * batch.farCount};
    if (batch.farCount > 0) {
        drawPart(a, {0, 0, 0}, farEnd, batched);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    drawPart(a, farEnd, {a.polygonCount, a.fillCount, a.lineCount}, batched);
}

void drawFrame() {
    LayerRotation rotation = stillLayers();
    if (play::turnAnimating(state.clock))
        rotation = animationRotation(state.view, state.animMove, state.animCount, play::turnProgress(state.clock));
    fillBatch(state.batch, state.colours, state.view, rotation, state.camera, !state.batchedDrawing);
    // A frame drawn without the depth test neither reads nor writes the depth buffer: the next frame that uses it
    // clears it.
    glClear(state.batch.depthFree ? GL_COLOR_BUFFER_BIT : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawPuzzle(state.batch, state.camera, state.batchedDrawing);
    glFlush();
}

}  // namespace tetragir
