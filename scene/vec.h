// Vectors in double precision, the view a program turns, and the two rotations that turn views and layers.
#pragma once

namespace scene {

inline constexpr double pi = 3.14159265358979323846;
// Radians in one degree: the cube programs count angles in whole degrees.
inline constexpr double degree = 0.017453292519943295;

struct Vec3 {
    double x, y, z;
};

constexpr Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
constexpr double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

double length(Vec3 a);

// a scaled to length 1; a must not be the zero vector.
Vec3 normalized(Vec3 a);

struct Vec2 {
    double x, y;
};

// Turns two basis rows within their plane: a <- c a + s b, b <- c b - s a (c, s: cosine and sine of the angle in
// radians).
void rotatePair(Vec3& a, Vec3& b, double angle);

// A view: the rows x, y, z of a rotation; a model vector m shows in view space as (x . m, y . m, z . m). Only
// rotatePair turns them, so they stay orthonormal up to rounding.
struct ViewFrame {
    Vec3 x, y, z;
};
inline constexpr ViewFrame identityView{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

constexpr Vec3 toView(const ViewFrame& view, Vec3 m) { return {dot(view.x, m), dot(view.y, m), dot(view.z, m)}; }

// Right-hand rotation of q about the unit axis n through the origin (radians).
void rotateAboutAxis(Vec3& q, Vec3 n, double angle);

}  // namespace scene
