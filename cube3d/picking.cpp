#include "cube3d/picking.h"

#include <cstring>

#include "cube3d/state.h"
#include "scene/camera.h"

namespace cube3d {
namespace {

using scene::Vec3;

int32_t signOf(double v) { return (v > 0) - (v < 0); }

}  // namespace

Vec3 cornerPoint(int32_t vertex) {
    const double* p = state.puzzle.worldVertex[vertex];
    return {p[0], p[1], p[2]};
}

bool degenerate(const Facet& f) {
    return f.vertex[0] == f.vertex[1] && f.vertex[0] == f.vertex[2] && f.vertex[0] == f.vertex[3];
}

bool rayMeetsFacet(const Vec3 q[4], Vec3 r0, Vec3 r1, double& distance) {
    const Vec3 n = scene::cross(q[1] - q[0], q[2] - q[0]);
    const Vec3 d = r1 - r0;
    const double along = scene::dot(d, n);
    if (along == 0) return false;
    const double t = (scene::dot(n, q[0]) - scene::dot(n, r0)) / along;
    if (!(t >= 0 && t <= 1)) return false;
    const Vec3 h = r0 + t * d;
    int32_t signs[4];
    for (int32_t e = 0; e < 4; ++e) signs[e] = signOf(scene::dot(n, scene::cross(q[e] - h, q[(e + 1) % 4] - h)));
    if (signs[0] == 0 || signs[0] != signs[1] || signs[0] != signs[2] || signs[0] != signs[3]) return false;
    distance = scene::length(h - r0);
    return true;
}

void pickFacets(bool pickActive, int32_t mouseX, int32_t mouseY) {
    state.pickedCubie = -1;
    state.pickedFace = -1;
    state.bestDistance = 1e10;
    std::memset(state.darkened, 0, sizeof state.darkened);
    if (!pickActive) return;
    // The layer counts rows from the top, OpenGL from the bottom.
    const double row = state.areaHeight - mouseY - 1;
    state.rayNear = scene::unproject(state.camera, mouseX, row, 0.0);
    state.rayFar = scene::unproject(state.camera, mouseX, row, 1.0);
    for (int32_t r = 0; r < Model::recordCount; ++r) {
        const Facet& f = state.puzzle.facets[r];
        if (degenerate(f)) continue;
        const Vec3 q[4] = {cornerPoint(f.vertex[0]), cornerPoint(f.vertex[1]), cornerPoint(f.vertex[2]),
                           cornerPoint(f.vertex[3])};
        double distance;
        if (rayMeetsFacet(q, state.rayNear, state.rayFar, distance) && distance < state.bestDistance) {
            state.bestDistance = distance;
            state.darkened[r] = true;
            state.pickedCubie = f.vertex[0] / 8;
            state.pickedFace = cubie::facetFace(f);
        }
    }
}

}  // namespace cube3d
