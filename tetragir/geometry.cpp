#include "geometry.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace tetragir {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double fieldOfView = 4.5;  // degrees, vertical
constexpr double nearPlane = 4.5;
constexpr double cameraDistance = 44.0;
constexpr double farPlane = 30.0 * cameraDistance;
constexpr double cameraAzimuth = 180.0;  // degrees; the eye lies on -z
constexpr double cameraElevation = 0.0;
constexpr float outlineRgb[3] = {0.0f, 0.0f, 0.0f};

// Face corner 0 and the two edges from it, in view space without depthOffset.
struct FaceFrame {
    Vec3 p0, e1, e2;
};

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

// Where the eye is, in the space OpenGL receives points in.
Vec3 eyePosition() {
    double a = cameraAzimuth * pi / 180.0, e = cameraElevation * pi / 180.0;
    return {-cameraDistance * std::sin(a) * std::cos(e), cameraDistance * std::sin(e),
            cameraDistance * std::cos(a) * std::cos(e)};
}

// The outline corners of every sticker, pulled towards the eye; rewritten by each drawPuzzle.
float outlinePosition[StickerBatch::maxVertices][3];

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
            outlinePosition[3 * p + i][0] = static_cast<float>(q.x);
            outlinePosition[3 * p + i][1] = static_cast<float>(q.y);
            outlinePosition[3 * p + i][2] = static_cast<float>(q.z);
        }
    }
}

FaceFrame faceFrame(const ViewFrame& view, int32_t f) {
    Vec3 p0 = toView(view, cornerPosition[tetraFaces[f][0]]);
    return {p0, toView(view, cornerPosition[tetraFaces[f][1]]) - p0, toView(view, cornerPosition[tetraFaces[f][2]]) - p0};
}

}  // namespace

LayerRotation stillLayers() {
    LayerRotation r{};
    r.active = false;
    return r;
}

LayerRotation animationRotation(const ViewFrame& view, int32_t move, int32_t count, double progress) {
    LayerRotation r = stillLayers();
    r.active = true;
    int32_t v = move % 4;
    if (move < 8) {
        for (int32_t s : tipCycle[v]) r.moving[s] = true;
        if (move >= 4)
            for (const auto& row : middleBand[v])
                for (int32_t s : row) r.moving[s] = true;
    } else {
        for (const auto& row : sideBand[v])
            for (int32_t s : row) r.moving[s] = true;
        for (const auto& row : baseCycle[v])
            for (int32_t s : row) r.moving[s] = true;
    }
    Vec3 axis = count == 2 ? -1.0 * cornerAxis[v] : cornerAxis[v];
    r.axis = toView(view, axis);
    // Never over-rotate, however late the turn is applied.
    double p = std::min(std::max(progress, 0.0), 1.0);
    double eased = 0.5 - 0.5 * std::cos(pi * p);
    r.angle = 2.0 * pi / 3.0 * eased;
    return r;
}

void stickerCorner(const ViewFrame& view, const LayerRotation& rotation, int32_t s, int32_t i, float out[3]) {
    FaceFrame frame = faceFrame(view, s / placesPerFace);
    const int32_t* ab = stickerCorners[s % placesPerFace][i];
    Vec3 q = frame.p0 + (ab[0] / 3.0) * frame.e1 + (ab[1] / 3.0) * frame.e2;
    if (rotation.active && rotation.moving[s]) scene::rotateAboutAxis(q, rotation.axis, rotation.angle);
    out[0] = static_cast<float>(q.x);
    out[1] = static_cast<float>(q.y);
    out[2] = static_cast<float>(q.z + depthOffset);
}

void setupCamera(scene::Camera& camera, int32_t lastX, int32_t lastY) {
    double e = cameraElevation * pi / 180.0;
    double projection[16], modelView[16];
    scene::perspectiveMatrix(projection, fieldOfView, static_cast<double>(lastX) / lastY, nearPlane, farPlane);
    scene::lookAtMatrix(modelView, eyePosition(), {0, 0, 0}, {0, std::cos(e), 0});
    scene::setCamera(camera, projection, modelView, lastX + 1, lastY + 1);
}

void setupView(const scene::Camera& camera) {
    glEnable(GL_DEPTH_TEST);
    // One colour per sticker: flat shading keeps 128/256 from coming out as 127 in some pixels and 128 in others.
    glShadeModel(GL_FLAT);
    glDepthFunc(GL_LESS);
    glLineWidth(outlineWidth);
    scene::applyCamera(camera);
}

void fillBatch(StickerBatch& batch, const Colours& colours, const ViewFrame& view, const LayerRotation& rotation) {
    batch.clear();
    for (int32_t s = 0; s < stickerCount; ++s) {
        float corners[3][3];
        for (int32_t i = 0; i < 3; ++i) stickerCorner(view, rotation, s, i, corners[i]);
        const int32_t* rgb = palette[colours[s]];
        const float fill[3] = {static_cast<float>(rgb[0] / 256.0), static_cast<float>(rgb[1] / 256.0),
                               static_cast<float>(rgb[2] / 256.0)};
        batch.add(corners, 3, fill);
    }
}

void drawPuzzle(const StickerBatch& batch, const scene::Camera& camera, bool batched) {
    scene::PolygonArrays a = batch.arrays();
    pullOutlines(a, camera.height);
    if (batched) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, a.position);
        glColorPointer(3, GL_FLOAT, 0, a.colour);
        glDrawElements(GL_TRIANGLES, a.fillCount, GL_UNSIGNED_SHORT, a.fill);
        glDisableClientState(GL_COLOR_ARRAY);
        glColor3fv(outlineRgb);
        glVertexPointer(3, GL_FLOAT, 0, outlinePosition);
        glDrawElements(GL_LINES, a.lineCount, GL_UNSIGNED_SHORT, a.line);
        glDisableClientState(GL_VERTEX_ARRAY);
        return;
    }
    // One primitive at a time, all fills and then all outlines: the reference the batched drawing matches.
    for (int32_t p = 0; p < a.polygonCount; ++p) {
        glColor3fv(a.colour[3 * p]);
        glBegin(GL_POLYGON);
        for (int32_t i = 0; i < 3; ++i) glVertex3fv(a.position[3 * p + i]);
        glEnd();
    }
    glColor3fv(outlineRgb);
    for (int32_t p = 0; p < a.polygonCount; ++p) {
        glBegin(GL_LINE_LOOP);
        for (int32_t i = 0; i < 3; ++i) glVertex3fv(outlinePosition[3 * p + i]);
        glEnd();
    }
}

int32_t placeAt(double a, double b) {
    int32_t i = static_cast<int32_t>(3.0 * a), j = static_cast<int32_t>(3.0 * b);
    int32_t k = static_cast<int32_t>(3.0 * (a + b));
    if (j >= 2) return 4;
    if (j == 1) return k == 1 ? 1 : i == 0 ? 5 : 6;
    if (k == 0) return 0;
    if (i == 0) return 2;
    if (k == 1) return 3;
    return i == 1 ? 7 : 8;
}

int32_t pickSticker(const scene::Camera& camera, const ViewFrame& view, int32_t mouseX, int32_t mouseY) {
    Vec3 origin, d;
    scene::pixelRay(camera, mouseX, mouseY, origin, d);
    int32_t sticker = -1;
    // Two faces meet a ray only along their common edge; there the later face wins.
    for (int32_t f = 0; f < faceCount; ++f) {
        FaceFrame frame = faceFrame(view, f);
        double det = scene::dot(d, scene::cross(frame.e1, frame.e2));
        if (!(det > 0.0)) continue;  // turned away from the eye, or met edge-on
        Vec3 w = scene::cross(frame.p0 + Vec3{0.0, 0.0, depthOffset} - origin, d);
        double a = scene::dot(frame.e2, w) / det, b = -scene::dot(frame.e1, w) / det;
        if (a >= 0.0 && b >= 0.0 && a + b <= 1.0) sticker = placesPerFace * f + placeAt(a, b);
    }
    return sticker;
}

}  // namespace tetragir
