// The cubie model shared by the cube programs: a cube or cuboid puzzle kept as geometry.
//
// Every cubie has eight corner points in world coordinates; every visible face of a cubie is a Facet record that
// names its corner points by index and carries a colour. A layer turn rotates the corner points of one layer a few
// degrees per frame; when the turn is complete settleTurn re-files the points so that the point stored at each
// index again lies at that index's home position, and rewrites the facets' indices to follow their points. The
// facet array alone therefore describes the puzzle, and it is what the save file holds.
//
// One body of code serves every program: the differences (largest grid, facet shape and field order, colours,
// inset, degrees per frame, which slots re-filing visits) are a constexpr CubieConfig given as a template
// argument. The model draws nothing and knows nothing of the window layer.
//
// Numbering. A grid slot (i, j, k), i along x, j along y, k along z, each 0 to N-1, has the slot number
// s = (i*N + j)*N + k. The corners of a cubie are q = 0 to 7 by bits (bit 0 the +x side, bit 1 +y, bit 2 +z); the
// vertex index of corner q of slot s is s*8 + q. Arrays are sized for the largest N whatever the current N.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cubie {

enum class FacetShape : int32_t { quad, triangle };

struct CubieConfig {
    int32_t maxGrid;           // largest N; every array is sized for it
    int32_t startGrid;         // N (and each dimension) a program starts with
    int32_t recordCount;       // facet records: six quads or twelve triangles per cubie of the largest grid
    FacetShape shape;          // quads (colour first in memory) or triangles (colour last in memory)
    int32_t faceColours[6];    // colour of an outer face, by face number of faceCorners
    int32_t inset;             // world units each cubie face is pulled in from its cell border
    int32_t stepSize;          // degrees per frame of a turn
    bool restrictedRefile;     // re-file only slots that have turnLayer among their coordinates
};

// Colour of a face that is not on the outer surface.
inline constexpr int32_t innerColour = 8;

// The four programs' models. cube3d's colours are numbers of its own colour table, not palette entries.
inline constexpr CubieConfig cuboidAConfig{6, 6, 1296, FacetShape::quad, {15, 14, 2, 9, 12, 13}, 2, 5, false};
inline constexpr CubieConfig cuboidBConfig{6, 6, 1296, FacetShape::quad, {15, 14, 2, 9, 12, 13}, 2, 5, true};
inline constexpr CubieConfig cuboidCConfig{6, 6, 2592, FacetShape::triangle, {9, 2, 14, 15, 13, 12}, 2, 5, false};
inline constexpr CubieConfig cube3dConfig{10, 10, 6000, FacetShape::quad, {12, 13, 9, 2, 15, 14}, 1, 1, true};

// Corners of each cubie face in polygon order, clockwise seen from outside (the right-hand normal of the corner
// order points into the cubie; the cuboid programs' back-face test and a 3D program's face culling must take that
// sense); index = face number: 0 +z, 1 -z, 2 -x, 3 +x, 4 -y, 5 +y. Picking and the drag rule use these numbers.
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

// A record whose colour is 0 is unused: all its fields are zero, nothing draws it and re-filing skips it.
template <FacetShape S>
struct FacetOf {
    using type = QuadFacet;
};
template <>
struct FacetOf<FacetShape::triangle> {
    using type = TriangleFacet;
};

// The whole state of one puzzle. Programs hold one global instance (it is large: do not put it on the stack).
template <CubieConfig C>
struct CubieModel {
    static constexpr CubieConfig config = C;
    static constexpr int32_t maxGrid = C.maxGrid;
    static constexpr int32_t slotCount = C.maxGrid * C.maxGrid * C.maxGrid;
    static constexpr int32_t vertexCount = slotCount * 8;
    static constexpr int32_t recordCount = C.recordCount;
    using Facet = typename FacetOf<C.shape>::type;

    int32_t gridSize = C.startGrid;                               // N
    int32_t dims[3] = {C.startGrid, C.startGrid, C.startGrid};    // extent along x, y, z, each 1 to N
    int32_t cellSize[3] = {240 / C.startGrid, 240 / C.startGrid, 240 / C.startGrid};
    double worldVertex[vertexCount][3] = {};                      // corner points; unused ones stay at the origin
    Facet facets[recordCount] = {};                               // used records first after a build
    bool turning = false;                                         // a layer turn is animating
    int32_t turnAxis = -1;                                        // axis whose index is fixed in the layer; -1 none
    int32_t turnLayer = -1;                                       // grid index of the layer along turnAxis
    int32_t stepSize = C.stepSize;                                // degrees per frame
    int32_t turnStep = C.stepSize;                                // signed degrees applied per frame
    int32_t turnAngle = 0;                                        // degrees turned so far
    int32_t turnTarget = 90;                                      // 90 or 180: where the running turn ends
    int32_t scrambleLeft = 0;                                     // random turns still to start
    bool loadRequested = false;                                   // the next buildPuzzle loads the save file
    uint64_t randomState = 1;                                     // state of randomBelow; seedRandom sets it
};

// The save file in the working directory.
inline constexpr const char* saveFileName = "SALVARE.TXT";

// What a save file holds, validated: the result of parseSaveFile, applied by loadState.
template <CubieConfig C>
struct SaveImage {
    int32_t gridSize;
    int32_t dims[3];
    typename CubieModel<C>::Facet facets[C.recordCount];
};

// A layer turn chosen by a drag: axis 0-2 or -1 (a turn period in which nothing moves), layer index, and sense
// +1 or -1 (the sign of turnStep). valid is false when the drag starts no turn at all.
struct DragTurn {
    bool valid;
    int32_t axis;
    int32_t layer;
    int32_t sense;
};

// ---- Numbering helpers -------------------------------------------------------------------------------------

inline constexpr int32_t slotNumber(int32_t n, int32_t i, int32_t j, int32_t k) { return (i * n + j) * n + k; }

// Grid coordinates (i, j, k) of slot s in a grid of edge n.
inline constexpr void slotCoordinates(int32_t n, int32_t s, int32_t out[3]) {
    out[0] = s / (n * n);
    out[1] = (s % (n * n)) / n;
    out[2] = s % n;
}

// ---- Random source ------------------------------------------------------------------------------------------

// Seeds the model's generator (the programs seed once from the tick count; tests seed it fixed).
template <CubieConfig C>
void seedRandom(CubieModel<C>& m, uint32_t seed);

// A uniformly distributed integer 0 <= r < n (n >= 1); 0 when n < 1.
template <CubieConfig C>
int32_t randomBelow(CubieModel<C>& m, int32_t n);

// ---- Geometry and turns -------------------------------------------------------------------------------------

// Home position of corner q of slot (i, j, k) for the model's current gridSize, dims and cellSize. The cuboid
// is centred on the origin, so a half or quarter turn about an axis through the origin maps homes onto homes.
template <CubieConfig C>
void homePosition(const CubieModel<C>& m, int32_t i, int32_t j, int32_t k, int32_t q, double out[3]);

// Rebuilds the puzzle from gridSize and dims, or from the save file at path when loadRequested is set. Ends any
// running turn and scramble, turnStep = +stepSize, turnTarget = 90. Clears loadRequested in every case.
// Returns false only when a requested load failed; then nothing else changed (the puzzle and any running turn
// stay exactly as they were) and the caller ignores the key. gridSize must be 2 to maxGrid and each dimension 1
// to gridSize (asserted).
// The view angles and the program's own arrays (projected points) are the caller's: reset them after a build
// that returned true. The busy mark of loading is the caller's too: draw it before calling.
template <CubieConfig C>
bool buildPuzzle(CubieModel<C>& m, const char* path = saveFileName);

// The per-frame target rule: turnTarget = 90 when the turning layer's cross-section is square, else 180
// (turnAxis -1 counts as the cross-section dims[0] by dims[2]). Call every frame before stepTurn.
template <CubieConfig C>
void updateTurnTarget(CubieModel<C>& m);

// When scrambleLeft > 0 and no turn runs: starts a random turn (random axis, random layer within dims) with the
// current turnStep, and counts it. Call once per frame before the step.
template <CubieConfig C>
void startRandomTurn(CubieModel<C>& m);

// Starts a turn from outside (a drag): axis -1 to 2, layer, sense +1 or -1. Does nothing while a turn runs.
template <CubieConfig C>
void startTurn(CubieModel<C>& m, int32_t axis, int32_t layer, int32_t sense);

// One animation step while turning: rotates the layer's points by turnStep degrees and, when |turnAngle| reaches
// turnTarget, ends the turn and calls settleTurn. The target is recomputed here too, so a turn always ends on a
// symmetry of the cuboid. A layer index outside the grid rotates nothing.
template <CubieConfig C>
void stepTurn(CubieModel<C>& m);

// Re-files the points after a completed turn and rewrites the facets' vertex indices to follow them.
template <CubieConfig C>
void settleTurn(CubieModel<C>& m);

// ---- Facets -------------------------------------------------------------------------------------------------

// Slot of a used facet (all its vertex indices name corners of one slot), or -1.
template <typename Facet>
int32_t facetSlot(const Facet& f);

// Face number (of faceCorners) whose corner set holds every corner of the facet, or -1 when the facet's corners
// are not of one slot or lie on no single face.
template <typename Facet>
int32_t facetFace(const Facet& f);

// ---- Save file ----------------------------------------------------------------------------------------------
// The file: N, dims[0], dims[1], dims[2], M (the last record index) one per line, then M + 1 records, one per
// line: the vertex indices in polygon order and the colour last, separated by single spaces; every line ends in
// CR LF. Unused records are lines of zeros.

// Writes the file: first to path + ".tmp" beside it, flushed and synced, then renamed over path, so a failure
// never destroys the previous save. Returns false when anything failed (the previous file is then untouched).
// Changes nothing in the model; a save during a turn stores the state before that turn. The busy mark is the
// caller's.
template <CubieConfig C>
bool saveState(const CubieModel<C>& m, const char* path = saveFileName);

// Reads and validates the whole file; only when all of it is sound does it replace gridSize, dims and facets
// (the caller, buildPuzzle, then files the points at home). Returns false and changes nothing otherwise.
template <CubieConfig C>
bool loadState(CubieModel<C>& m, const char* path = saveFileName);

// Parses and validates file bytes into out. Returns false for anything a build could not use safely: missing or
// unreadable numbers, signs, overflow, a truncated file, N, dims or M out of bounds, a vertex index out of range
// or not of a cubie inside the loaded cuboid, a used record whose corners are not distinct corners of one face
// of one cubie, a colour outside 0 to 255, text after the last record. A record of colour 0 is unused whatever
// indices it holds and is stored as zeros. Blanks, tabs, CR and empty lines between items are accepted. out is
// scratch: on false its contents are meaningless.
template <CubieConfig C>
bool parseSaveFile(const char* bytes, size_t size, SaveImage<C>& out);

// Builds the puzzle from a validated image, as buildPuzzle does after a successful load (for callers that hold
// the file's bytes themselves, such as the fuzzer).
template <CubieConfig C>
void buildFromImage(CubieModel<C>& m, const SaveImage<C>& image);

// Largest file loadState reads; anything longer is rejected unread.
template <CubieConfig C>
inline constexpr size_t maxSaveBytes = (static_cast<size_t>(C.recordCount) + 5) * 64;

// ---- Drag rule ----------------------------------------------------------------------------------------------

// The drag-to-turn rule of the cube programs (pure). The left button went down on face startFace of slot
// startSlot and came up over slot endSlot, in a grid of edge n. A drag on one side turns the layer through the
// start cubie across the drag, so that the pressed sticker moves toward the released one. Releasing on the same
// slot gives valid = false. The turn's turnStep is stepSize * sense.
inline DragTurn turnFromDrag(int32_t startSlot, int32_t startFace, int32_t endSlot, int32_t n);

}  // namespace cubie

#include "cubie_impl.h"
