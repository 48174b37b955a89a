#include "geometry.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <utility>


namespace pentagir {

Vec2 faceTemplate[templatePointCount];
Vec3 vertexPos[vertexCount];
Vec3 faceCentre[faceCount];
Vec3 faceAxisX[faceCount];
Vec3 faceAxisY[faceCount];
Vec3 viewX, viewY, viewZ;
Vec3 viewAxisX[faceCount];
Vec3 viewAxisY[faceCount];
Vec3 viewCentre[faceCount];
double clock = 0.0;
double animStart = -1.0;
double animDuration = 2.5;
int32_t animRow = -1;
int32_t animK = 0;
Camera camera;
bool batchedDrawing = true;
bool movingSticker[stickerCount];

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double fieldOfView = 4.0;  // degrees, vertical
constexpr double nearPlane = 4.0;
constexpr double farPlane = 900.0;   // the camera distance squared
constexpr double cameraDistance = 30.0;
constexpr double cameraAzimuth = 180.0;
constexpr double cameraElevation = 0.0;
// Outlines get depths a hair nearer than their fills (about 0.005 units at the puzzle's distance, far below a
// pixel), or the less-than depth test would hide half their pixels behind the fill at the same depth. A constant
// polygon offset would not do for faces seen head-on: its unit depends on the depth buffer, and with 32 depth
// bits it is far below the rounding of the interpolated depths.
constexpr double outlineDepthFar = 1.0 - 2e-5;

// Vertices, fill triangles and outline segments of all 132 stickers: 120 quadrilaterals and 12 pentagons.
constexpr int32_t batchVertexCount = 120 * 4 + 12 * 5;
constexpr int32_t fillIndexCount = 3 * (120 * 2 + 12 * 3);
constexpr int32_t lineIndexCount = 2 * batchVertexCount;

struct Batch {
    float position[batchVertexCount][3];
    float colour[batchVertexCount][3];
    uint16_t fill[fillIndexCount];
    uint16_t line[lineIndexCount];
};
Batch batch;

Vec3 toView(Vec3 m) { return {dot(viewX, m), dot(viewY, m), dot(viewZ, m)}; }

void buildTemplate() {
    for (int32_t i = 0; i < 5; ++i) {
        double theta = 2.0 * pi / 5.0 * (i + 0.25);
        faceTemplate[i] = {std::cos(theta), std::sin(theta)};
    }
    for (int32_t i = 0; i < 5; ++i) {
        Vec2 a = faceTemplate[i], b = faceTemplate[(i + 1) % 5];
        faceTemplate[5 + i] = {a.x + cutRatio * (b.x - a.x), a.y + cutRatio * (b.y - a.y)};
        faceTemplate[10 + i] = {a.x + (1.0 - cutRatio) * (b.x - a.x), a.y + (1.0 - cutRatio) * (b.y - a.y)};
    }
    // Inner points make each corner sticker a parallelogram.
    for (int32_t i = 0; i < 5; ++i) {
        Vec2 cut = faceTemplate[10 + (i + 4) % 5];
        faceTemplate[15 + i] = {cut.x + faceTemplate[5 + i].x - faceTemplate[i].x,
                                cut.y + faceTemplate[5 + i].y - faceTemplate[i].y};
    }
}

void buildVertices() {
    for (int32_t ring = 0; ring < 4; ++ring) {
        for (int32_t i = 0; i < 5; ++i) {
            double a = 2.0 * pi / 5.0 * i;
            Vec3 v{std::cos(a), std::sin(a), 1.0 - phi / 2.0};
            if (ring >= 2) v = {(phi - 1.0) * v.x, (phi - 1.0) * v.y, phi / 2.0};
            if (ring % 2 == 1) v = -1.0 * v;
            vertexPos[5 * ring + i] = v;
        }
    }
}

void buildFaceFrames() {
    for (int32_t f = 0; f < faceCount; ++f) {
        Vec3 sum{0, 0, 0};
        for (int32_t i = 0; i < 5; ++i) sum = sum + vertexPos[faceVertices[f][i]];
        faceCentre[f] = 0.2 * sum;
        faceAxisY[f] = vertexPos[faceVertices[f][3]] - faceCentre[f];
        faceAxisX[f] = (2.0 / phi) * cross(faceCentre[f], faceAxisY[f]);
    }
}

// Index lists never change: fill triangles fan out from each outline's first corner, and each outline is a closed
// chain of segments.
void buildBatchIndices() {
    int32_t vertex = 0, fill = 0, line = 0;
    for (int32_t f = faceCount - 1; f >= 0; --f) {
        for (int32_t p = stickersPerFace - 1; p >= 0; --p) {
            int32_t corners = stickerCorners(p);
            for (int32_t i = 1; i + 1 < corners; ++i) {
                batch.fill[fill++] = static_cast<uint16_t>(vertex + i);
                batch.fill[fill++] = static_cast<uint16_t>(vertex + i + 1);
                batch.fill[fill++] = static_cast<uint16_t>(vertex);
            }
            for (int32_t i = 0; i < corners; ++i) {
                batch.line[line++] = static_cast<uint16_t>(vertex + i);
                batch.line[line++] = static_cast<uint16_t>(vertex + (i + 1) % corners);
            }
            vertex += corners;
        }
    }
}

void multiply(const double a[16], const double b[16], double out[16]) {
    for (int32_t col = 0; col < 4; ++col)
        for (int32_t row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int32_t k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
            out[col * 4 + row] = sum;
        }
}

// Gauss-Jordan with partial pivoting; the camera matrix is well conditioned.
bool invert(const double in[16], double out[16]) {
    double m[4][8];
    for (int32_t r = 0; r < 4; ++r)
        for (int32_t c = 0; c < 4; ++c) {
            m[r][c] = in[c * 4 + r];
            m[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    for (int32_t c = 0; c < 4; ++c) {
        int32_t pivot = c;
        for (int32_t r = c + 1; r < 4; ++r)
            if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) pivot = r;
        if (m[pivot][c] == 0.0) return false;
        for (int32_t k = 0; k < 8; ++k) std::swap(m[c][k], m[pivot][k]);
        double scale = 1.0 / m[c][c];
        for (int32_t k = 0; k < 8; ++k) m[c][k] *= scale;
        for (int32_t r = 0; r < 4; ++r) {
            if (r == c) continue;
            double factor = m[r][c];
            for (int32_t k = 0; k < 8; ++k) m[r][k] -= factor * m[c][k];
        }
    }
    for (int32_t r = 0; r < 4; ++r)
        for (int32_t c = 0; c < 4; ++c) out[c * 4 + r] = m[r][c + 4];
    return true;
}

// Outlines win ties against fills whichever is drawn first, so the picture does not depend on whether outlines
// come after each fill or after all of them.
void outlineDepth(bool on) {
    glDepthRange(0.0, on ? outlineDepthFar : 1.0);
    glDepthFunc(on ? GL_LEQUAL : GL_LESS);
}

void fillBatch(const LayerRotation& rotation) {
    int32_t vertex = 0;
    for (int32_t f = faceCount - 1; f >= 0; --f) {
        for (int32_t p = stickersPerFace - 1; p >= 0; --p) {
            int32_t s = stickersPerFace * f + p;
            const int32_t* rgb = palette[stickerColour[s]];
            for (int32_t i = 0; i < stickerCorners(p); ++i, ++vertex) {
                stickerCorner(s, i, rotation, batch.position[vertex]);
                for (int32_t c = 0; c < 3; ++c) batch.colour[vertex][c] = static_cast<float>(rgb[c] / 256.0);
            }
        }
    }
}

}  // namespace

void buildGeometry() {
    buildTemplate();
    buildVertices();
    buildFaceFrames();
    buildBatchIndices();
}

void resetView() {
    viewX = {1, 0, 0};
    viewY = {0, 1, 0};
    viewZ = {0, 0, 1};
}

void rotatePair(Vec3& a, Vec3& b, double angle) {
    double c = std::cos(angle), s = std::sin(angle);
    Vec3 oldA = a;
    a = c * a + s * b;
    b = c * b - s * oldA;
}

void rotateAboutAxis(Vec3& q, Vec3 n, double angle) {
    double c = std::cos(angle), s = std::sin(angle);
    q = c * q + s * cross(n, q) + ((1.0 - c) * dot(n, q)) * n;
}

void perspectiveMatrix(double out[16], double aspect) {
    double half = fieldOfView / 2.0 * pi / 180.0;
    double cotangent = std::cos(half) / std::sin(half);
    double depth = farPlane - nearPlane;
    for (int32_t i = 0; i < 16; ++i) out[i] = 0.0;
    out[0] = cotangent / aspect;
    out[5] = cotangent;
    out[10] = -(farPlane + nearPlane) / depth;
    out[11] = -1.0;
    out[14] = -2.0 * nearPlane * farPlane / depth;
}

void lookAtMatrix(double out[16]) {
    double a = cameraAzimuth * pi / 180.0, e = cameraElevation * pi / 180.0;
    Vec3 eye{-cameraDistance * std::sin(a) * std::cos(e), cameraDistance * std::sin(e),
             cameraDistance * std::cos(a) * std::cos(e)};
    Vec3 up{0.0, std::cos(e), 0.0};
    Vec3 forward = Vec3{0, 0, 0} - eye;
    forward = (1.0 / std::sqrt(dot(forward, forward))) * forward;
    Vec3 side = cross(forward, up);
    side = (1.0 / std::sqrt(dot(side, side))) * side;
    Vec3 trueUp = cross(side, forward);
    const Vec3 rows[3] = {side, trueUp, -1.0 * forward};
    for (int32_t i = 0; i < 16; ++i) out[i] = 0.0;
    for (int32_t r = 0; r < 3; ++r) {
        out[0 * 4 + r] = rows[r].x;
        out[1 * 4 + r] = rows[r].y;
        out[2 * 4 + r] = rows[r].z;
        out[3 * 4 + r] = -dot(rows[r], eye);
    }
    out[15] = 1.0;
}

void setupCamera(int32_t lastX, int32_t lastY) {
    double perspective[16], lookAt[16];
    perspectiveMatrix(perspective, static_cast<double>(lastX) / lastY);
    lookAtMatrix(lookAt);
    multiply(perspective, lookAt, camera.matrix);
    invert(camera.matrix, camera.inverse);
    camera.width = lastX + 1;
    camera.height = lastY + 1;
}

bool projectPoint(Vec3 p, double& winX, double& winY) {
    const double* m = camera.matrix;
    double x = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
    double y = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
    double w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    if (w <= 0.0) return false;
    winX = (x / w + 1.0) * 0.5 * camera.width;
    winY = (y / w + 1.0) * 0.5 * camera.height;
    return true;
}

void updateFaceFrames() {
    for (int32_t f = 0; f < faceCount; ++f) {
        viewAxisX[f] = toView(faceAxisX[f]);
        viewAxisY[f] = toView(faceAxisY[f]);
        viewCentre[f] = toView(faceCentre[f]);
    }
}

LayerRotation animationRotation() {
    if (animStart < 0.0) return {false, {0, 0, 0}, 0.0};
    for (bool& moving : movingSticker) moving = false;
    for (int32_t s : turnTable[animRow]) movingSticker[s] = true;
    Vec3 centre = faceCentre[animRow];
    Vec3 axis = toView((1.0 / std::sqrt(dot(centre, centre))) * centre);
    double progress = (clock - animStart) / animDuration;
    progress = std::min(std::max(progress, 0.0), 1.0);  // never over-rotate, however late the turn is applied
    double eased = 0.5 - 0.5 * std::cos(pi * progress);
    double angle = eased * 2.0 * pi / 5.0;
    return {true, axis, animK == 4 ? -angle : angle};
}

void stickerCorner(int32_t s, int32_t i, const LayerRotation& rotation, float out[3]) {
    int32_t f = s / stickersPerFace, p = s % stickersPerFace;
    Vec2 t = faceTemplate[stickerPolygon[p][i]];
    Vec3 q = t.x * viewAxisX[f] + t.y * viewAxisY[f] + viewCentre[f];
    if (rotation.active && movingSticker[s]) rotateAboutAxis(q, rotation.axis, rotation.angle);
    out[0] = static_cast<float>(q.x);
    out[1] = static_cast<float>(q.y);
    out[2] = static_cast<float>(q.z + depthOffset);
}

void setupProjection() {
    glEnable(GL_DEPTH_TEST);
    // Each sticker has one colour; flat shading stops interpolation from rounding 128/256 to 127 in some pixels
    // and 128 in others.
    glShadeModel(GL_FLAT);
    // On faces seen at a grazing angle the depth changes fast across a pixel, and a line's depth is sampled along
    // the line rather than at the pixel centre: push fills back by their depth slope as well.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 0.0f);
    glViewport(0, 0, camera.width, camera.height);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(camera.matrix);
}

void drawPuzzle() {
    if (!batchedDrawing) {
        drawPuzzleImmediate();
        return;
    }
    LayerRotation rotation = animationRotation();
    updateFaceFrames();
    fillBatch(rotation);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, batch.position);
    glColorPointer(3, GL_FLOAT, 0, batch.colour);
    glDrawElements(GL_TRIANGLES, fillIndexCount, GL_UNSIGNED_SHORT, batch.fill);
    glDisableClientState(GL_COLOR_ARRAY);
    glColor3f(0.0f, 0.0f, 0.0f);
    outlineDepth(true);
    glDrawElements(GL_LINES, lineIndexCount, GL_UNSIGNED_SHORT, batch.line);
    outlineDepth(false);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void drawPuzzleImmediate() {
    LayerRotation rotation = animationRotation();
    updateFaceFrames();
    for (int32_t f = faceCount - 1; f >= 0; --f) {
        for (int32_t p = stickersPerFace - 1; p >= 0; --p) {
            int32_t s = stickersPerFace * f + p;
            float corner[5][3];
            for (int32_t i = 0; i < stickerCorners(p); ++i) stickerCorner(s, i, rotation, corner[i]);
            const int32_t* rgb = palette[stickerColour[s]];
            glColor3f(static_cast<float>(rgb[0] / 256.0), static_cast<float>(rgb[1] / 256.0),
                      static_cast<float>(rgb[2] / 256.0));
            glBegin(GL_POLYGON);
            for (int32_t i = 0; i < stickerCorners(p); ++i) glVertex3f(corner[i][0], corner[i][1], corner[i][2]);
            glEnd();
            glColor3f(0.0f, 0.0f, 0.0f);
            outlineDepth(true);
            glBegin(GL_LINE_LOOP);
            for (int32_t i = 0; i < stickerCorners(p); ++i) glVertex3f(corner[i][0], corner[i][1], corner[i][2]);
            glEnd();
            outlineDepth(false);
        }
    }
}

}  // namespace pentagir
