// What every part of the cubie model shares: the compile-time configuration a program chooses, the facet records,
// the corner tables of a cubie, and the numbering of slots and vertices.
//
// Numbering. A grid slot (i, j, k), i along x, j along y, k along z, each 0 to N-1, has the slot number
// s = (i*N + j)*N + k. The corners of a cubie are q = 0 to 7 by bits (bit 0 the +x side, bit 1 +y, bit 2 +z); the
// vertex index of corner q of slot s is s*8 + q. Arrays are sized for the largest N whatever the current N.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace cubie {

enum class FacetShape : int32_t { quad, triangle };

// Everything in which the cube programs' models differ. Each program defines its own as a constexpr value and
// instantiates the model with it.
struct CubieConfig {
    int32_t maxGrid;         // largest N; every array is sized for it
    int32_t startGrid;       // N (and each dimension) a program starts with
    int32_t recordCount;     // facet records: six quads or twelve triangles per cubie of the largest grid
    FacetShape shape;        // quads (colour first in memory) or triangles (colour last in memory)
    int32_t faceColours[6];  // colour of an outer face, by face number of faceCorners
    int32_t inset;           // world units each cubie face is pulled in from its cell border
    int32_t stepSize;        // degrees per frame of a turn
    bool restrictedRefile;   // re-file only slots that have turnLayer among their coordinates
    int32_t span;            // edge of the full cube in world units; cellSize = span div N
};

// Colour of a face that is not on the outer surface.
inline constexpr int32_t innerColour = 8;

// Corners of each cubie face in polygon order, clockwise seen from outside (the right-hand normal of the corner
// order points into the cubie; a back-face test or a 3D program's face culling must take that sense); index =
// face number: 0 +z, 1 -z, 2 -x, 3 +x, 4 -y, 5 +y. Picking and the drag rule use these numbers.
inline constexpr int32_t faceCorners[6][4] = {
    {4, 6, 7, 5},  // 0 +z
    {0, 1, 3, 2},  // 1 -z
    {0, 2, 6, 4},  // 2 -x
    {1, 5, 7, 3},  // 3 +x
    {0, 4, 5, 1},  // 4 -y
    {2, 3, 7, 6},  // 5 +y
};

// The twelve triangles of a cubie in build order, wound like faceCorners; index = triangle t, which belongs to face
// group t / 2.
inline constexpr int32_t triangleCorners[12][3] = {
    {0, 1, 2}, {3, 2, 1},  // group 0 (-z)
    {0, 6, 4}, {0, 2, 6},  // group 1 (-x)
    {6, 5, 4}, {6, 7, 5},  // group 2 (+z)
    {1, 5, 3}, {3, 5, 7},  // group 3 (+x)
    {4, 1, 0}, {1, 4, 5},  // group 4 (-y)
    {7, 2, 3}, {6, 2, 7},  // group 5 (+y)
};

// Face number (of faceCorners) of each triangle group; index = group.
inline constexpr int32_t groupFace[6] = {1, 2, 0, 3, 4, 5};

// A quadrilateral facet: colour first in memory, then the four vertex indices in polygon order.
struct QuadFacet {
    static constexpr int32_t corners = 4;
    int32_t colour;
    int32_t vertex[4];
};

// A triangle facet: the three vertex indices in polygon order, then the colour.
struct TriangleFacet {
    static constexpr int32_t corners = 3;
    int32_t vertex[3];
    int32_t colour;
};

// A record that no cubie uses is all zero: its corners coincide, so nothing draws or picks it and re-filing skips
// it. Colour 0 sets no colour: a record of colour 0 that names a cubie's corners (only a hand-made file holds one)
// is drawn in the colour in effect before it, and turns with its cubie like any other.
template <FacetShape S>
struct FacetOf {
    using type = QuadFacet;
};
template <>
struct FacetOf<FacetShape::triangle> {
    using type = TriangleFacet;
};

// The facet record of a configuration.
template <CubieConfig C>
using FacetFor = typename FacetOf<C.shape>::type;

// ---- Numbering ----------------------------------------------------------------------------------------------

inline constexpr int32_t slotNumber(int32_t n, int32_t i, int32_t j, int32_t k) { return (i * n + j) * n + k; }

// Grid coordinates (i, j, k) of slot s in a grid of edge n.
inline constexpr void slotCoordinates(int32_t n, int32_t s, int32_t out[3]) {
    out[0] = s / (n * n);
    out[1] = (s % (n * n)) / n;
    out[2] = s % n;
}

// Whether a record names corner points (a used record's corners are distinct; an unused one is all zero).
template <typename Facet>
bool namesCorners(const Facet& f) {
    return f.vertex[0] != f.vertex[1];
}

// Slot of a used facet (all its vertex indices name corners of one slot), or -1.
template <typename Facet>
int32_t facetSlot(const Facet& f) {
    if (f.vertex[0] < 0) return -1;
    for (int32_t c = 1; c < f.corners; ++c)
        if (f.vertex[c] < 0 || f.vertex[c] / 8 != f.vertex[0] / 8) return -1;
    return f.vertex[0] / 8;
}

// Face number (of faceCorners) whose corner set holds every corner of the facet, or -1 when the facet's corners
// are not of one slot or lie on no single face.
template <typename Facet>
int32_t facetFace(const Facet& f) {
    if (facetSlot(f) < 0) return -1;
    int32_t mask = 0;
    for (int32_t c = 0; c < f.corners; ++c) mask |= 1 << (f.vertex[c] % 8);
    if (std::popcount(static_cast<unsigned>(mask)) != f.corners) return -1;  // a repeated corner
    for (int32_t face = 0; face < 6; ++face) {
        int32_t faceMask = 0;
        for (int32_t c = 0; c < 4; ++c) faceMask |= 1 << faceCorners[face][c];
        if ((mask & ~faceMask) == 0) return face;
    }
    return -1;
}

}  // namespace cubie
