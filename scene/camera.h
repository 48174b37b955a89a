// The camera: perspective and look-at composed in double precision, its inverse, the mapping between model space
// and window pixels, and the ray through a pixel. 4x4 matrices are column-major double[16], as OpenGL keeps them.
#pragma once

#include <cmath>
#include <cstdint>

#include "scene/vec.h"

namespace scene {

// The matrices gluPerspective and gluLookAt build, composed in double precision.
void perspectiveMatrix(double out[16], double fovyDegrees, double aspect, double zNear, double zFar);
void lookAtMatrix(double out[16], Vec3 eye, Vec3 centre, Vec3 up);

// out = a * b; out may not alias a or b.
void multiplyMatrix(const double a[16], const double b[16], double out[16]);

// Gauss-Jordan with partial pivoting; false (out unspecified) when in is singular.
bool invertMatrix(const double in[16], double out[16]);

// projection * modelView, its inverse, and the viewport (origin 0, 0) they map to.
struct Camera {
    double matrix[16];
    double inverse[16];
    int32_t width, height;
};

// Composes the camera. False when the product is singular; the camera is then the identity both ways, so that
// projecting and picking give harmless values rather than NaNs.
bool setCamera(Camera& camera, const double projection[16], const double modelView[16], int32_t width, int32_t height);

// Window coordinates (x right, y UP, pixels; z 0 near .. 1 far) of a model-space point; false behind the eye.
bool projectPoint(const Camera& camera, Vec3 p, double& winX, double& winY, double& winZ);
bool projectPoint(const Camera& camera, Vec3 p, double& winX, double& winY);

// What gluUnProject gives: the model-space point at window coordinates (x right, y UP) and depth winZ (0..1).
Vec3 unproject(const Camera& camera, double winX, double winY, double winZ);

// The ray through the centre of the pixel (mouseX, mouseY) (origin top-left, y DOWN): its point on the near plane
// and the direction to its point on the far plane (model space).
void pixelRay(const Camera& camera, int32_t mouseX, int32_t mouseY, Vec3& origin, Vec3& direction);

// A camera looking at the origin from distance, turned azimuth degrees about +y and raised elevation degrees: the
// eye at (-d sin a cos e, d sin e, d cos a cos e) with up (0, cos e, 0), and a perspective of fieldOfView degrees
// vertically from nearPlane to farPlane. Every OpenGL program's camera is one of these.
struct OrbitCamera {
    double fieldOfView, nearPlane, farPlane;
    double distance, azimuth, elevation;
};

// Where the orbit puts the eye. Inline, so that a program whose orbit is a constant has it worked out once.
inline Vec3 orbitEye(const OrbitCamera& orbit) {
    const double a = orbit.azimuth * degree, e = orbit.elevation * degree;
    return {-orbit.distance * std::sin(a) * std::cos(e), orbit.distance * std::sin(e),
            orbit.distance * std::cos(a) * std::cos(e)};
}

// Composes the orbit's camera (setCamera) for a picture of the given aspect ratio on a width x height viewport.
bool setOrbitCamera(Camera& camera, const OrbitCamera& orbit, double aspect, int32_t width, int32_t height);

// OpenGL state for drawing through this camera: viewport, GL_PROJECTION = camera.matrix, GL_MODELVIEW = identity.
void applyCamera(const Camera& camera);

}  // namespace scene
