// The cubie model shared by the cube programs: a cube or cuboid puzzle kept as geometry, its build and its turns.
//
// Every cubie has eight corner points in world coordinates; every visible face of a cubie is a Facet record that
// names its corner points by index and carries a colour. A layer turn rotates the corner points of one layer a few
// degrees per frame; when the turn is complete settleTurn re-files the points so that the point stored at each
// index again lies at that index's home position, and rewrites the facets' indices to follow their points. The
// facet array alone therefore describes the puzzle, and it is what the save file holds.
//
// One body of code serves every program: the differences are a constexpr CubieConfig (facets.h) given as a
// template argument. The model draws nothing and knows nothing of the window layer.
#pragma once

#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "cubie/drag.h"
#include "cubie/facets.h"
#include "cubie/save_file.h"
#include "play/random.h"
#include "play/session.h"
#include "scene/vec.h"

namespace cubie {

// Every home coordinate must be a whole number, or rounding a turned point could not find its home: the cell pitch
// span div N times any extent, halved, must be whole for every grid the configuration allows.
constexpr bool homesAreWhole(const CubieConfig& c) {
    for (int32_t n = 2; n <= c.maxGrid; ++n)
        for (int32_t d = 1; d <= n; ++d)
            if (d * (c.span / n) % 2 != 0) return false;
    return true;
}

// Home coordinates along one axis as a lookup from a rounded coordinate to (cell index * 2 + corner bit), -1 where
// no home lies. Every home lies within half the span of the origin.
template <CubieConfig C>
inline constexpr int32_t lookupReach = C.span / 2;

// Working space of settleTurn. It holds nothing from one turn to the next.
template <CubieConfig C>
struct RefileSpace {
    static constexpr int32_t vertexCount = C.maxGrid * C.maxGrid * C.maxGrid * 8;
    int16_t lookup[3][2 * lookupReach<C> + 1];  // per axis: rounded coordinate -> home, see lookupReach
    int32_t target[vertexCount];                // the index whose home the point stored at v now rounds to
    int32_t source[vertexCount];                // the inverse of target while it is checked
    double moved[vertexCount][3];               // the points in their new places
};

// The whole state of one puzzle. Programs hold one global instance (it is large: do not put it on the stack).
// Everything before refileSpace is the puzzle's state; the two working spaces at the end carry nothing between
// calls, so a comparison of two models' states may stop where they begin.
template <CubieConfig C>
struct CubieModel {
    static_assert(homesAreWhole(C), "a grid of this span would put homes between whole coordinates");
    static_assert(C.inset >= 0 && 2 * C.inset < C.span / C.maxGrid, "the inset must leave every cubie a size");
    static constexpr CubieConfig config = C;
    static constexpr int32_t maxGrid = C.maxGrid;
    static constexpr int32_t slotCount = C.maxGrid * C.maxGrid * C.maxGrid;
    static constexpr int32_t vertexCount = slotCount * 8;
    static constexpr int32_t recordCount = C.recordCount;
    using Facet = FacetFor<C>;

    int32_t gridSize = C.startGrid;                             // N
    int32_t dims[3] = {C.startGrid, C.startGrid, C.startGrid};  // extent along x, y, z, each 1 to N
    int32_t cellSize[3] = {C.span / C.startGrid, C.span / C.startGrid, C.span / C.startGrid};
    double worldVertex[vertexCount][3] = {};  // corner points; unused ones stay at the origin
    Facet facets[recordCount] = {};           // used records first after a build
    bool turning = false;                     // a layer turn is animating
    int32_t turnAxis = -1;                    // axis whose index is fixed in the layer; -1 none
    int32_t turnLayer = -1;                   // grid index of the layer along turnAxis
    int32_t stepSize = C.stepSize;            // degrees per frame
    int32_t turnStep = C.stepSize;            // signed degrees applied per frame
    int32_t turnAngle = 0;                    // degrees turned so far
    int32_t turnTarget = 90;                  // 90 or 180: where the running turn ends
    int32_t scrambleLeft = 0;                 // random turns still to start
    bool loadRequested = false;               // the next buildPuzzle loads the save file
    uint64_t randomState = 1;                 // state of randomBelow; seedRandom sets it

    RefileSpace<C> refileSpace;  // settleTurn's working space
    LoadSpace<C> loadSpace;      // loadState's working space
};

// Bytes of a model that make up the puzzle's state, working spaces excluded.
template <CubieConfig C>
inline constexpr size_t stateBytes = offsetof(CubieModel<C>, refileSpace);

// ---- Random source ------------------------------------------------------------------------------------------

// Seeds the model's generator, the family's one (the programs seed once from the tick count; tests seed it fixed).
template <CubieConfig C>
void seedRandom(CubieModel<C>& m, uint32_t seed) {
    play::seedRandom(m.randomState, seed);
}

// A uniformly distributed integer 0 <= r < n (n >= 1); 0 when n < 1.
template <CubieConfig C>
int32_t randomBelow(CubieModel<C>& m, int32_t n) {
    return play::randomBelow(m.randomState, n);
}

// ---- Build --------------------------------------------------------------------------------------------------

// Home position of corner q of slot (i, j, k) for the model's current gridSize, dims and cellSize. The cuboid
// is centred on the origin, so a half or quarter turn about an axis through the origin maps homes onto homes.
template <CubieConfig C>
void homePosition(const CubieModel<C>& m, int32_t i, int32_t j, int32_t k, int32_t q, double out[3]) {
    const int32_t index[3] = {i, j, k};
    for (int32_t a = 0; a < 3; ++a) {
        const int32_t bit = (q >> a) & 1;
        // -dims*cell/2 equals (N - dims)*cell/2 - span/2 whenever N*cell = span; for the grids where the span is
        // not a multiple of N it keeps the cuboid centred, so that turns about the axes land on home positions.
        out[a] = -m.dims[a] * m.cellSize[a] / 2.0 + (index[a] + bit) * m.cellSize[a] + (1 - 2 * bit) * C.inset;
    }
}

namespace detail {

using scene::degree;

// Cells of the model's current grid that hold a cubie.
template <CubieConfig C>
bool slotUsed(const CubieModel<C>& m, int32_t i, int32_t j, int32_t k) {
    return i < m.dims[0] && j < m.dims[1] && k < m.dims[2];
}

template <CubieConfig C>
void appendFacets(CubieModel<C>& m, int32_t i, int32_t j, int32_t k, int32_t& next) {
    const int32_t outer[6] = {k == m.dims[2] - 1, k == 0, i == 0, i == m.dims[0] - 1, j == 0, j == m.dims[1] - 1};
    const int32_t base = slotNumber(m.gridSize, i, j, k) * 8;
    if constexpr (C.shape == FacetShape::quad) {
        for (int32_t f = 0; f < 6; ++f) {
            QuadFacet& r = m.facets[next++];
            r.colour = outer[f] ? C.faceColours[f] : innerColour;
            for (int32_t c = 0; c < 4; ++c) r.vertex[c] = base + faceCorners[f][c];
        }
    } else {
        for (int32_t t = 0; t < 12; ++t) {
            TriangleFacet& r = m.facets[next++];
            const int32_t face = groupFace[t / 2];
            r.colour = outer[face] ? C.faceColours[face] : innerColour;
            for (int32_t c = 0; c < 3; ++c) r.vertex[c] = base + triangleCorners[t][c];
        }
    }
}

// Files every used corner point at its home position.
template <CubieConfig C>
void fileAtHome(CubieModel<C>& m) {
    for (int32_t i = 0; i < m.dims[0]; ++i)
        for (int32_t j = 0; j < m.dims[1]; ++j)
            for (int32_t k = 0; k < m.dims[2]; ++k)
                for (int32_t q = 0; q < 8; ++q)
                    homePosition(m, i, j, k, q, m.worldVertex[slotNumber(m.gridSize, i, j, k) * 8 + q]);
}

// The end of every build: points filed at home, no turn, no scramble, the step back to its start value.
template <CubieConfig C>
void finishBuild(CubieModel<C>& m) {
    std::memset(m.worldVertex, 0, sizeof m.worldVertex);
    for (int32_t a = 0; a < 3; ++a) m.cellSize[a] = C.span / m.gridSize;
    fileAtHome(m);
    m.turning = false;
    m.turnAxis = -1;
    m.turnLayer = -1;
    m.turnAngle = 0;
    m.scrambleLeft = 0;
    m.turnTarget = 90;
    m.stepSize = C.stepSize;
    m.turnStep = C.stepSize;
}

}  // namespace detail

// Rebuilds the puzzle from gridSize and dims, or from the save file at path when loadRequested is set. Ends any
// running turn and scramble, turnStep = +stepSize, turnTarget = 90. Clears loadRequested in every case.
// Returns false only when a requested load failed; then nothing else changed (the puzzle and any running turn
// stay exactly as they were) and the caller ignores the key. gridSize must be 2 to maxGrid and each dimension 1
// to gridSize (asserted).
// The view angles and the program's own arrays (projected points) are the caller's: reset them after a build
// that returned true. The busy mark of loading is the caller's too: draw it before calling.
template <CubieConfig C>
bool buildPuzzle(CubieModel<C>& m, const char* path = saveFileName) {
    if (m.loadRequested) {
        m.loadRequested = false;
        // loadState validates the whole file in its working space first, so a failed load leaves the puzzle as
        // it was.
        if (!loadState(m, path)) return false;
        detail::finishBuild(m);
        return true;
    }
    assert(m.gridSize >= 2 && m.gridSize <= C.maxGrid && "gridSize out of range");
    if (m.gridSize < 2 || m.gridSize > C.maxGrid) m.gridSize = C.startGrid;
    for (int32_t a = 0; a < 3; ++a) {
        assert(m.dims[a] >= 1 && m.dims[a] <= m.gridSize && "dimension out of range");
        if (m.dims[a] < 1 || m.dims[a] > m.gridSize) m.dims[a] = m.gridSize;
    }
    detail::finishBuild(m);
    std::memset(m.facets, 0, sizeof m.facets);
    int32_t next = 0;
    for (int32_t i = 0; i < m.dims[0]; ++i)
        for (int32_t j = 0; j < m.dims[1]; ++j)
            for (int32_t k = 0; k < m.dims[2]; ++k) detail::appendFacets(m, i, j, k, next);
    return true;
}

// Builds the puzzle from a validated image, as buildPuzzle does after a successful load (for callers that hold
// the file's bytes themselves, such as the fuzzer).
template <CubieConfig C>
void buildFromImage(CubieModel<C>& m, const SaveImage<C>& image) {
    m.gridSize = image.gridSize;
    for (int32_t a = 0; a < 3; ++a) m.dims[a] = image.dims[a];
    std::memcpy(m.facets, image.facets, sizeof m.facets);
    m.loadRequested = false;
    detail::finishBuild(m);
}

// ---- Size and shape keys -----------------------------------------------------------------------------------
// They set gridSize and dims only; the caller rebuilds.

// One cubie more per edge, from the largest grid back to 2, and a cube again.
template <CubieConfig C>
void growGrid(CubieModel<C>& m) {
    m.gridSize = m.gridSize >= C.maxGrid ? 2 : m.gridSize + 1;
    for (int32_t& d : m.dims) d = m.gridSize;
}

// One layer fewer along an axis, from 1 back to the full grid.
template <CubieConfig C>
void shrinkAxis(CubieModel<C>& m, int32_t axis) {
    m.dims[axis] = m.dims[axis] - 1 < 1 ? m.gridSize : m.dims[axis] - 1;
}

// A program's start: the random generator seeded as given, and a cube of the configuration's start size, built
// afresh rather than loaded. The caller builds.
template <CubieConfig C>
void startPuzzle(CubieModel<C>& m, uint32_t seed) {
    seedRandom(m, seed);
    m.loadRequested = false;
    m.gridSize = C.startGrid;
    for (int32_t& d : m.dims) d = m.gridSize;
}

// ---- Turns --------------------------------------------------------------------------------------------------

// The per-frame target rule: turnTarget = 90 when the turning layer's cross-section is square, else 180
// (turnAxis -1 counts as the cross-section dims[0] by dims[2]). Call every frame before stepTurn.
template <CubieConfig C>
void updateTurnTarget(CubieModel<C>& m) {
    // No axis (or a stray value) counts as the cross-section of dims[0] and dims[2].
    const int32_t axis = m.turnAxis >= 0 && m.turnAxis <= 2 ? m.turnAxis : -1;
    const int32_t a = (axis + 1) % 3;
    const int32_t b = axis - 1 < 0 ? 2 : axis - 1;
    m.turnTarget = m.dims[a] == m.dims[b] ? 90 : 180;
}

// When scrambleLeft > 0 and no turn runs: starts a random turn (random axis, random layer within dims) with the
// current turnStep, and counts it. Call once per frame before the step.
template <CubieConfig C>
void startRandomTurn(CubieModel<C>& m) {
    if (m.scrambleLeft <= 0 || m.turning) return;
    --m.scrambleLeft;
    m.turning = true;
    m.turnAxis = randomBelow(m, 3);
    m.turnLayer = randomBelow(m, m.dims[m.turnAxis]);
    m.turnAngle = 0;
}

// Starts a turn from outside (a drag): axis -1 to 2, layer, sense +1 or -1, or 0 to keep the current turnStep.
// Does nothing while a turn runs.
template <CubieConfig C>
void startTurn(CubieModel<C>& m, int32_t axis, int32_t layer, int32_t sense) {
    if (m.turning) return;
    m.turnAxis = axis >= 0 && axis <= 2 ? axis : -1;
    m.turnLayer = layer;
    if (sense != 0) m.turnStep = m.stepSize * (sense < 0 ? -1 : 1);
    m.turnAngle = 0;
    m.turning = true;
}

// The drag gesture of one frame on the model (followDrag, with the model's grid): a release that chooses a turn
// starts it. A drag that chooses no axis still runs a turn period in which nothing moves; stepTurn never lets a step
// of 0 stand, so every period ends.
template <CubieConfig C>
void turnByDrag(CubieModel<C>& m, int32_t& startCubie, int32_t& startFace, int32_t pickedCubie, int32_t pickedFace,
                int32_t buttons, int32_t previousButtons) {
    const DragTurn turn =
        followDrag(startCubie, startFace, pickedCubie, pickedFace, buttons, previousButtons, m.gridSize);
    if (turn.valid) startTurn(m, turn.axis, turn.layer, turn.sense);
}

template <CubieConfig C>
void settleTurn(CubieModel<C>& m);

// One animation step while turning: rotates the layer's points by turnStep degrees and, when |turnAngle| reaches
// turnTarget, ends the turn and calls settleTurn. The target is recomputed here too, so a turn always ends on a
// symmetry of the cuboid. A layer index outside the grid rotates nothing.
template <CubieConfig C>
void stepTurn(CubieModel<C>& m) {
    if (!m.turning) return;
    updateTurnTarget(m);
    // A zero step would never reach the target: a turn period must always end.
    if (m.turnStep == 0) m.turnStep = m.stepSize > 0 ? m.stepSize : 1;
    const double s = std::sin(m.turnStep * detail::degree), c = std::cos(m.turnStep * detail::degree);
    const int32_t n = m.gridSize;
    if (m.turnAxis >= 0 && m.turnAxis <= 2 && m.turnLayer >= 0 && m.turnLayer < n) {
        // The two coordinates that move: axis 0 turns (y, z), axis 1 (x, z), axis 2 (x, y).
        const int32_t u = m.turnAxis == 0 ? 1 : 0, v = m.turnAxis == 2 ? 1 : 2;
        for (int32_t a = 0; a < n; ++a)
            for (int32_t b = 0; b < n; ++b) {
                int32_t at[3];
                at[m.turnAxis] = m.turnLayer;
                at[u] = a;
                at[v] = b;
                double(*p)[3] = &m.worldVertex[slotNumber(n, at[0], at[1], at[2]) * 8];
                for (int32_t q = 0; q < 8; ++q) {
                    const double x = p[q][u], y = p[q][v];
                    p[q][u] = x * c - y * s;
                    p[q][v] = x * s + y * c;
                }
            }
    }
    m.turnAngle += m.turnStep;
    if (std::abs(m.turnAngle) >= m.turnTarget) {
        m.turning = false;
        m.turnAngle = 0;
        settleTurn(m);
    }
}

// The per-frame turn of a cubie program: the next scramble turn when one is due, the target, and one step.
template <CubieConfig C>
void advanceTurn(CubieModel<C>& m) {
    startRandomTurn(m);
    updateTurnTarget(m);
    if (m.turning) stepTurn(m);
}

namespace detail {

template <CubieConfig C>
void buildAxisLookup(const CubieModel<C>& m, int32_t axis, int16_t* table) {
    constexpr int32_t reach = lookupReach<C>;
    for (int32_t c = 0; c <= 2 * reach; ++c) table[c] = -1;
    double p[3];
    for (int32_t cell = 0; cell < m.dims[axis]; ++cell)
        for (int32_t bit = 0; bit < 2; ++bit) {
            int32_t at[3] = {0, 0, 0};
            at[axis] = cell;
            homePosition(m, at[0], at[1], at[2], bit << axis, p);
            table[static_cast<int32_t>(p[axis]) + reach] = static_cast<int16_t>(cell * 2 + bit);
        }
}

// Index of the home that point p rounds to, or -1.
template <CubieConfig C>
int32_t homeIndexOf(const CubieModel<C>& m, const double p[3]) {
    constexpr int32_t reach = lookupReach<C>;
    int32_t cell[3], corner = 0;
    for (int32_t a = 0; a < 3; ++a) {
        if (!(std::fabs(p[a]) <= reach)) return -1;  // also rejects NaN
        const int16_t h = m.refileSpace.lookup[a][static_cast<int32_t>(std::lround(p[a])) + reach];
        if (h < 0) return -1;
        cell[a] = h >> 1;
        corner |= (h & 1) << a;
    }
    return slotNumber(m.gridSize, cell[0], cell[1], cell[2]) * 8 + corner;
}

template <CubieConfig C>
bool visitedByRefile(const CubieModel<C>& m, int32_t i, int32_t j, int32_t k) {
    if (!slotUsed(m, i, j, k)) return false;
    if (!C.restrictedRefile) return true;
    return m.turnLayer == i || m.turnLayer == j || m.turnLayer == k;
}

// target[v]: the index whose home the point stored at v now rounds to; v itself for points not visited or not
// at any home.
template <CubieConfig C>
void findTargets(CubieModel<C>& m) {
    RefileSpace<C>& space = m.refileSpace;
    for (int32_t a = 0; a < 3; ++a) buildAxisLookup(m, a, space.lookup[a]);
    for (int32_t v = 0; v < CubieModel<C>::vertexCount; ++v) space.target[v] = v;
    const int32_t n = m.gridSize;
    for (int32_t s = 0; s < n * n * n; ++s) {
        int32_t at[3];
        slotCoordinates(n, s, at);
        if (!visitedByRefile(m, at[0], at[1], at[2])) continue;
        for (int32_t q = 0; q < 8; ++q) {
            const int32_t h = homeIndexOf(m, m.worldVertex[s * 8 + q]);
            if (h >= 0) space.target[s * 8 + q] = h;
        }
    }
}

// Only a bijection of the visited points onto themselves may be applied. A turn of the model's own making
// always gives one (it ends on a symmetry of the cuboid); anything else is left alone rather than half re-filed.
template <CubieConfig C>
bool isPermutation(CubieModel<C>& m) {
    const int32_t* target = m.refileSpace.target;
    int32_t* source = m.refileSpace.source;
    for (int32_t v = 0; v < CubieModel<C>::vertexCount; ++v) source[v] = -1;
    for (int32_t v = 0; v < CubieModel<C>::vertexCount; ++v) {
        if (target[v] == v) continue;
        int32_t at[3];
        slotCoordinates(m.gridSize, target[v] / 8, at);
        if (source[target[v]] >= 0 || !visitedByRefile(m, at[0], at[1], at[2])) return false;
        source[target[v]] = v;
    }
    for (int32_t v = 0; v < CubieModel<C>::vertexCount; ++v)
        if (target[v] != v && source[v] < 0) return false;
    return true;
}

template <CubieConfig C>
void applyTargets(CubieModel<C>& m) {
    constexpr int32_t count = CubieModel<C>::vertexCount;
    const int32_t* target = m.refileSpace.target;
    double(*moved)[3] = m.refileSpace.moved;
    for (int32_t v = 0; v < count; ++v)
        if (target[v] != v) std::memcpy(moved[target[v]], m.worldVertex[v], sizeof moved[0]);
    for (int32_t v = 0; v < count; ++v)
        if (target[v] != v) std::memcpy(m.worldVertex[v], moved[v], sizeof moved[0]);
    for (auto& f : m.facets) {
        if (!namesCorners(f)) continue;  // unused records stay zero
        for (int32_t c = 0; c < f.corners; ++c)
            if (f.vertex[c] >= 0 && f.vertex[c] < count) f.vertex[c] = target[f.vertex[c]];
    }
}

}  // namespace detail

// Re-files the points after a completed turn and rewrites the facets' vertex indices to follow them.
// Every point of the turned layer now rounds to the home position of some index of that layer. Instead of
// searching all points for each home and swapping one pair at a time, find each visited point's home directly
// through per-axis lookups and apply the whole permutation at once; the result is the same. Only the points of
// cubies inside the cuboid take part, so a point of an unused slot, left at the origin, can never be taken for
// a point that belongs at a home there.
template <CubieConfig C>
void settleTurn(CubieModel<C>& m) {
    detail::findTargets(m);
    if (detail::isPermutation(m)) detail::applyTargets(m);
}

// ---- Digest -------------------------------------------------------------------------------------------------

// Adds the puzzle's state to a digest: size and shape, every corner point and facet record, the running turn and
// scramble, and the random generator. The working spaces carry nothing and are left out.
template <CubieConfig C>
void addToDigest(play::Digest& digest, const CubieModel<C>& m) {
    digest.add(m.gridSize);
    digest.add(m.dims);
    for (const auto& point : m.worldVertex) digest.add(point);
    for (const auto& f : m.facets) {
        digest.add(f.colour);
        digest.add(f.vertex);
    }
    for (const int32_t value :
         {int32_t{m.turning}, m.turnAxis, m.turnLayer, m.turnStep, m.turnAngle, m.turnTarget, m.scrambleLeft})
        digest.add(value);
    digest.add(m.randomState);
}

}  // namespace cubie
