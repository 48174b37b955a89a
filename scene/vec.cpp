#include "scene/vec.h"

#include <cmath>

namespace scene {

double length(Vec3 a) { return std::sqrt(dot(a, a)); }

// Scaling by the reciprocal rather than dividing each component keeps the camera's matrices bit for bit what they
// were when each program normalised on its own.
Vec3 normalized(Vec3 a) { return (1.0 / length(a)) * a; }

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

}  // namespace scene
