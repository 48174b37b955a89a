#include "scene/camera.h"

#include <GL/gl.h>

#include <cmath>
#include <utility>

namespace scene {
namespace {

void identity(double out[16]) {
    for (int32_t i = 0; i < 16; ++i) out[i] = i % 5 == 0 ? 1.0 : 0.0;
}

}  // namespace

void perspectiveMatrix(double out[16], double fovyDegrees, double aspect, double zNear, double zFar) {
    double half = fovyDegrees / 2.0 * pi / 180.0;
    double cotangent = std::cos(half) / std::sin(half);
    double depth = zFar - zNear;
    for (int32_t i = 0; i < 16; ++i) out[i] = 0.0;
    out[0] = cotangent / aspect;
    out[5] = cotangent;
    out[10] = -(zFar + zNear) / depth;
    out[11] = -1.0;
    out[14] = -2.0 * zNear * zFar / depth;
}

void lookAtMatrix(double out[16], Vec3 eye, Vec3 centre, Vec3 up) {
    Vec3 forward = normalized(centre - eye);
    Vec3 side = normalized(cross(forward, up));
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

void multiplyMatrix(const double a[16], const double b[16], double out[16]) {
    for (int32_t col = 0; col < 4; ++col)
        for (int32_t row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int32_t k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
            out[col * 4 + row] = sum;
        }
}

bool invertMatrix(const double in[16], double out[16]) {
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

bool setCamera(Camera& camera, const double projection[16], const double modelView[16], int32_t width, int32_t height) {
    camera.width = width;
    camera.height = height;
    multiplyMatrix(projection, modelView, camera.matrix);
    if (invertMatrix(camera.matrix, camera.inverse)) return true;
    identity(camera.matrix);
    identity(camera.inverse);
    return false;
}

bool setOrbitCamera(Camera& camera, const OrbitCamera& orbit, double aspect, int32_t width, int32_t height) {
    double projection[16], modelView[16];
    perspectiveMatrix(projection, orbit.fieldOfView, aspect, orbit.nearPlane, orbit.farPlane);
    lookAtMatrix(modelView, orbitEye(orbit), {0.0, 0.0, 0.0}, {0.0, std::cos(orbit.elevation * degree), 0.0});
    return setCamera(camera, projection, modelView, width, height);
}

bool projectPoint(const Camera& camera, Vec3 p, double& winX, double& winY, double& winZ) {
    const double* m = camera.matrix;
    double x = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
    double y = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
    double z = m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14];
    double w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    if (w <= 0.0) return false;
    winX = (x / w + 1.0) * 0.5 * camera.width;
    winY = (y / w + 1.0) * 0.5 * camera.height;
    winZ = (z / w + 1.0) * 0.5;
    return true;
}

bool projectPoint(const Camera& camera, Vec3 p, double& winX, double& winY) {
    double winZ;
    return projectPoint(camera, p, winX, winY, winZ);
}

Vec3 unproject(const Camera& camera, double winX, double winY, double winZ) {
    double ndcX = 2.0 * winX / camera.width - 1.0;
    double ndcY = 2.0 * winY / camera.height - 1.0;
    double ndcZ = 2.0 * winZ - 1.0;
    const double* m = camera.inverse;
    double w = m[3] * ndcX + m[7] * ndcY + m[11] * ndcZ + m[15];
    return {(m[0] * ndcX + m[4] * ndcY + m[8] * ndcZ + m[12]) / w,
            (m[1] * ndcX + m[5] * ndcY + m[9] * ndcZ + m[13]) / w,
            (m[2] * ndcX + m[6] * ndcY + m[10] * ndcZ + m[14]) / w};
}

void pixelRay(const Camera& camera, int32_t mouseX, int32_t mouseY, Vec3& origin, Vec3& direction) {
    double winX = mouseX + 0.5;
    double winY = camera.height - mouseY - 0.5;  // window rows count upwards
    origin = unproject(camera, winX, winY, 0.0);
    direction = unproject(camera, winX, winY, 1.0) - origin;
}

void applyCamera(const Camera& camera) {
    glViewport(0, 0, camera.width, camera.height);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(camera.matrix);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace scene
