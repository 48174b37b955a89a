// Bodies of the cubie model's operations; included at the end of cubie.h, not meant to be included alone.
#pragma once

#include <bit>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cubie {

namespace detail {

inline constexpr double degree = 0.017453292519943295;

inline int32_t signOf(int32_t v) { return (v > 0) - (v < 0); }

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

// Home coordinates along one axis, as a lookup from a rounded coordinate to (cell index * 2 + corner bit), -1
// where no home lies. Home coordinates of every grid lie within +-lookupReach.
inline constexpr int32_t lookupReach = 128;

template <CubieConfig C>
void buildAxisLookup(const CubieModel<C>& m, int32_t axis, int16_t table[2 * lookupReach + 1]) {
    for (int32_t c = 0; c <= 2 * lookupReach; ++c) table[c] = -1;
    double p[3];
    for (int32_t cell = 0; cell < m.dims[axis]; ++cell)
        for (int32_t bit = 0; bit < 2; ++bit) {
            int32_t at[3] = {0, 0, 0};
            at[axis] = cell;
            homePosition(m, at[0], at[1], at[2], bit << axis, p);
            table[static_cast<int32_t>(p[axis]) + lookupReach] = static_cast<int16_t>(cell * 2 + bit);
        }
}

// Index of the home that point p rounds to, or -1.
template <CubieConfig C>
int32_t homeIndexOf(const CubieModel<C>& m, const double p[3], const int16_t lookup[3][2 * lookupReach + 1]) {
    int32_t cell[3], corner = 0;
    for (int32_t a = 0; a < 3; ++a) {
        if (!(std::fabs(p[a]) <= lookupReach)) return -1;  // also rejects NaN
        const int16_t h = lookup[a][static_cast<int32_t>(std::lround(p[a])) + lookupReach];
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

}  // namespace detail

// ---- Random source ------------------------------------------------------------------------------------------

template <CubieConfig C>
void seedRandom(CubieModel<C>& m, uint32_t seed) {
    m.randomState = 0x9E3779B97F4A7C15ull ^ seed;
}

// splitmix64: small, fast and well mixed; the scramble needs nothing stronger.
template <CubieConfig C>
int32_t randomBelow(CubieModel<C>& m, int32_t n) {
    if (n < 1) return 0;
    uint64_t z = (m.randomState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<int32_t>(((z >> 32) * static_cast<uint64_t>(n)) >> 32);
}

// ---- Geometry and turns -------------------------------------------------------------------------------------

template <CubieConfig C>
void homePosition(const CubieModel<C>& m, int32_t i, int32_t j, int32_t k, int32_t q, double out[3]) {
    const int32_t index[3] = {i, j, k};
    for (int32_t a = 0; a < 3; ++a) {
        const int32_t bit = (q >> a) & 1;
        // -dims*cell/2 equals (N - dims)*cell/2 - 120 whenever N*cell = 240; for the grids where 240 is not a
        // multiple of N it keeps the cuboid centred, so that turns about the axes land on home positions.
        out[a] = -m.dims[a] * m.cellSize[a] / 2.0 + (index[a] + bit) * m.cellSize[a] + (1 - 2 * bit) * C.inset;
    }
}

namespace detail {

// The end of every build: points filed at home, no turn, no scramble, the step back to its start value.
template <CubieConfig C>
void finishBuild(CubieModel<C>& m) {
    std::memset(m.worldVertex, 0, sizeof m.worldVertex);
    for (int32_t a = 0; a < 3; ++a) m.cellSize[a] = 240 / m.gridSize;
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

template <CubieConfig C>
bool buildPuzzle(CubieModel<C>& m, const char* path) {
    if (m.loadRequested) {
        m.loadRequested = false;
        // loadState validates the whole file in scratch space first, so a failed load leaves the model untouched.
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

template <CubieConfig C>
void buildFromImage(CubieModel<C>& m, const SaveImage<C>& image) {
    m.gridSize = image.gridSize;
    for (int32_t a = 0; a < 3; ++a) m.dims[a] = image.dims[a];
    std::memcpy(m.facets, image.facets, sizeof m.facets);
    m.loadRequested = false;
    detail::finishBuild(m);
}

template <CubieConfig C>
void updateTurnTarget(CubieModel<C>& m) {
    // No axis (or a stray value) counts as the cross-section of dims[0] and dims[2].
    const int32_t axis = m.turnAxis >= 0 && m.turnAxis <= 2 ? m.turnAxis : -1;
    const int32_t a = (axis + 1) % 3;
    const int32_t b = axis - 1 < 0 ? 2 : axis - 1;
    m.turnTarget = m.dims[a] == m.dims[b] ? 90 : 180;
}

template <CubieConfig C>
void startRandomTurn(CubieModel<C>& m) {
    if (m.scrambleLeft <= 0 || m.turning) return;
    --m.scrambleLeft;
    m.turning = true;
    m.turnAxis = randomBelow(m, 3);
    m.turnLayer = randomBelow(m, m.dims[m.turnAxis]);
    m.turnAngle = 0;
}

template <CubieConfig C>
void startTurn(CubieModel<C>& m, int32_t axis, int32_t layer, int32_t sense) {
    if (m.turning) return;
    m.turnAxis = axis >= 0 && axis <= 2 ? axis : -1;
    m.turnLayer = layer;
    m.turnStep = m.stepSize * (sense < 0 ? -1 : 1);
    m.turnAngle = 0;
    m.turning = true;
}

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
                at[m.turnAxis == 0 ? 1 : 0] = a;
                at[m.turnAxis == 2 ? 1 : 2] = b;
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

namespace detail {

// target[v]: the index whose home the point stored at v now rounds to; v itself for points not visited or not
// at any home.
template <CubieConfig C>
void findTargets(const CubieModel<C>& m, int32_t* target) {
    static int16_t lookup[3][2 * lookupReach + 1];
    for (int32_t a = 0; a < 3; ++a) buildAxisLookup(m, a, lookup[a]);
    for (int32_t v = 0; v < CubieModel<C>::vertexCount; ++v) target[v] = v;
    const int32_t n = m.gridSize;
    for (int32_t s = 0; s < n * n * n; ++s) {
        int32_t at[3];
        slotCoordinates(n, s, at);
        if (!visitedByRefile(m, at[0], at[1], at[2])) continue;
        for (int32_t q = 0; q < 8; ++q) {
            const int32_t h = homeIndexOf(m, m.worldVertex[s * 8 + q], lookup);
            if (h >= 0) target[s * 8 + q] = h;
        }
    }
}

// Only a bijection of the visited points onto themselves may be applied. A turn of the model's own making
// always gives one (it ends on a symmetry of the cuboid); anything else is left alone rather than half re-filed.
template <CubieConfig C>
bool isPermutation(const CubieModel<C>& m, const int32_t* target) {
    static int32_t source[CubieModel<C>::vertexCount];
    for (int32_t& v : source) v = -1;
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
void applyTargets(CubieModel<C>& m, const int32_t* target) {
    constexpr int32_t count = CubieModel<C>::vertexCount;
    static double moved[count][3];
    for (int32_t v = 0; v < count; ++v)
        if (target[v] != v) std::memcpy(moved[target[v]], m.worldVertex[v], sizeof moved[0]);
    for (int32_t v = 0; v < count; ++v)
        if (target[v] != v) std::memcpy(m.worldVertex[v], moved[v], sizeof moved[0]);
    for (auto& f : m.facets) {
        if (f.colour == 0) continue;  // unused records stay zero
        for (int32_t c = 0; c < f.corners; ++c)
            if (f.vertex[c] >= 0 && f.vertex[c] < count) f.vertex[c] = target[f.vertex[c]];
    }
}

}  // namespace detail

// Every point of the turned layer now rounds to the home position of some index of that layer. Instead of
// searching all points for each home and swapping one pair at a time, find each visited point's home directly
// through per-axis lookups and apply the whole permutation at once; the result is the same. Only the points of
// cubies inside the cuboid take part, so a point of an unused slot, left at the origin, can never be taken for
// a point that belongs at a home there.
template <CubieConfig C>
void settleTurn(CubieModel<C>& m) {
    static int32_t target[CubieModel<C>::vertexCount];
    detail::findTargets(m, target);
    if (detail::isPermutation(m, target)) detail::applyTargets(m, target);
}

// ---- Facets -------------------------------------------------------------------------------------------------

template <typename Facet>
int32_t facetSlot(const Facet& f) {
    if (f.vertex[0] < 0) return -1;
    for (int32_t c = 1; c < f.corners; ++c)
        if (f.vertex[c] < 0 || f.vertex[c] / 8 != f.vertex[0] / 8) return -1;
    return f.vertex[0] / 8;
}

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

// ---- Save file ----------------------------------------------------------------------------------------------

namespace detail {

// Writes one record line: the vertex indices in polygon order, then the colour.
template <typename Facet>
bool writeRecord(std::FILE* file, const Facet& f) {
    for (int32_t c = 0; c < f.corners; ++c)
        if (std::fprintf(file, "%d ", f.vertex[c]) < 0) return false;
    return std::fprintf(file, "%d\r\n", f.colour) >= 0;
}

template <CubieConfig C>
bool writeSave(std::FILE* file, const CubieModel<C>& m) {
    const int32_t header[5] = {m.gridSize, m.dims[0], m.dims[1], m.dims[2], C.recordCount - 1};
    for (int32_t value : header)
        if (std::fprintf(file, "%d\r\n", value) < 0) return false;
    for (const auto& f : m.facets)
        if (!writeRecord(file, f)) return false;
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

// Opens a file only when it is a regular one, and without waiting: a pipe or a device under the save file's name
// would otherwise block the program for good (a pipe without a writer on opening to read, without a reader on
// opening to write). The flags are those of open(2); the mode string is fdopen's.
inline std::FILE* openRegularFile(const char* path, int flags, const char* mode) {
    const int fd = ::open(path, flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat info;
    std::FILE* file = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? fdopen(fd, mode) : nullptr;
    if (!file) ::close(fd);
    return file;
}

// A cursor over the file's bytes. Bytes up to 32 other than the line feed count as blanks, as tabs, CR and
// stray control bytes do in a hand-edited file.
struct Reader {
    const char* at;
    const char* end;

    bool blank() const { return at < end && static_cast<unsigned char>(*at) <= 32 && *at != '\n'; }

    void skipBlanks() {
        while (blank()) ++at;
    }

    // Skips blanks and empty lines before the first number of a line.
    void skipToContent() {
        while (at < end && static_cast<unsigned char>(*at) <= 32) ++at;
    }

    // A decimal number 0 to limit; no sign, and never more digits than an int32 can take.
    bool number(int32_t limit, int32_t& out) {
        if (at == end || *at < '0' || *at > '9') return false;
        int64_t value = 0;
        while (at < end && *at >= '0' && *at <= '9') {
            value = value * 10 + (*at++ - '0');
            if (value > limit) return false;
        }
        out = static_cast<int32_t>(value);
        return true;
    }

    // The rest of the line holds blanks only; consumes the line feed (the last line may lack one).
    bool endOfLine() {
        skipBlanks();
        if (at == end) return true;
        if (*at != '\n') return false;
        ++at;
        return true;
    }

    bool onlyBlanksLeft() {
        skipToContent();
        return at == end;
    }
};

// One line holding one number 0 to limit.
inline bool readLine(Reader& r, int32_t limit, int32_t& out) {
    r.skipToContent();
    return r.number(limit, out) && r.endOfLine();
}

// One record line: the vertex indices, then the colour. A record of colour 0 is unused and stored as zeros.
template <typename Facet>
bool readRecord(Reader& r, int32_t vertexLimit, Facet& f) {
    r.skipToContent();
    for (int32_t c = 0; c < f.corners; ++c) {
        if (c > 0) r.skipBlanks();
        if (!r.number(vertexLimit, f.vertex[c])) return false;
    }
    r.skipBlanks();
    if (!r.number(255, f.colour) || !r.endOfLine()) return false;
    if (f.colour == 0) f = Facet{};
    return true;
}

// A used record must name distinct corners of one face of one cubie inside the cuboid: anything else would let
// picking choose a layer outside the grid.
template <CubieConfig C>
bool recordFits(const SaveImage<C>& image, const typename CubieModel<C>::Facet& f) {
    if (f.colour == 0) return true;
    const int32_t slot = facetSlot(f);
    const int32_t n = image.gridSize;
    if (slot < 0 || slot >= n * n * n || facetFace(f) < 0) return false;
    int32_t at[3];
    slotCoordinates(n, slot, at);
    return at[0] < image.dims[0] && at[1] < image.dims[1] && at[2] < image.dims[2];
}

}  // namespace detail

template <CubieConfig C>
bool saveState(const CubieModel<C>& m, const char* path) {
    char temporary[4096];
    if (std::snprintf(temporary, sizeof temporary, "%s.tmp", path) >= static_cast<int>(sizeof temporary))
        return false;
    std::FILE* file = detail::openRegularFile(temporary, O_WRONLY | O_CREAT | O_TRUNC, "wb");
    if (!file) return false;
    const bool written = detail::writeSave(file, m);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temporary, path) != 0) {
        std::remove(temporary);
        return false;
    }
    return true;
}

template <CubieConfig C>
bool parseSaveFile(const char* bytes, size_t size, SaveImage<C>& out) {
    detail::Reader r{bytes, bytes + size};
    int32_t last = 0;
    if (!detail::readLine(r, C.maxGrid, out.gridSize) || out.gridSize < 2) return false;
    for (int32_t a = 0; a < 3; ++a)
        if (!detail::readLine(r, out.gridSize, out.dims[a]) || out.dims[a] < 1) return false;
    if (!detail::readLine(r, C.recordCount - 1, last)) return false;
    for (int32_t i = 0; i < C.recordCount; ++i) out.facets[i] = {};
    for (int32_t i = 0; i <= last; ++i)
        if (!detail::readRecord(r, CubieModel<C>::vertexCount - 1, out.facets[i]) ||
            !detail::recordFits(out, out.facets[i]))
            return false;
    return r.onlyBlanksLeft();
}

template <CubieConfig C>
bool loadState(CubieModel<C>& m, const char* path) {
    static char bytes[maxSaveBytes<C> + 1];
    static SaveImage<C> image;
    std::FILE* file = detail::openRegularFile(path, O_RDONLY, "rb");
    if (!file) return false;
    const size_t size = std::fread(bytes, 1, sizeof bytes, file);
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (readFailed || size > maxSaveBytes<C> || !parseSaveFile(bytes, size, image)) return false;
    m.gridSize = image.gridSize;
    for (int32_t a = 0; a < 3; ++a) m.dims[a] = image.dims[a];
    std::memcpy(m.facets, image.facets, sizeof m.facets);
    return true;
}

// ---- Drag rule ----------------------------------------------------------------------------------------------

// Later coordinates override earlier ones, so a diagonal drag is decided by the last coordinate that differs in
// the order z, y, x. For a start on an x side (face 2 or 3) a difference in x picks no axis, and it does not
// change the sense either: the sense stays with the coordinate that chose the axis. When only x differs, the turn
// period runs with nothing moving and sense +1, so it ends like any other.
inline DragTurn turnFromDrag(int32_t startSlot, int32_t startFace, int32_t endSlot, int32_t n) {
    constexpr DragTurn none{false, -1, -1, 0};
    if (n < 1 || startSlot == endSlot || startFace < 0 || startFace > 5) return none;
    if (startSlot < 0 || endSlot < 0 || startSlot >= n * n * n || endSlot >= n * n * n) return none;
    int32_t s[3], e[3];
    slotCoordinates(n, startSlot, s);
    slotCoordinates(n, endSlot, e);
    const int32_t group = startFace / 2;  // 0: z sides, 1: x sides, 2: y sides
    const int32_t sgn = startFace % 2 == 0 ? 1 : -1;
    DragTurn turn{true, -1, -1, 0};
    if (s[2] != e[2]) {
        if (group == 2) turn.axis = 0, turn.layer = s[0];
        if (group == 1) turn.axis = 1, turn.layer = s[1];
        turn.sense = sgn * detail::signOf(s[2] - e[2]);
    }
    if (s[1] != e[1]) {
        if (group == 1) turn.axis = 2, turn.layer = s[2];
        if (group == 0) turn.axis = 0, turn.layer = s[0];
        turn.sense = sgn * detail::signOf(s[1] - e[1]);
    }
    if (s[0] != e[0] && group != 1) {
        const int32_t factor = group == 0 ? 1 : -1;
        if (group == 0) turn.axis = 1, turn.layer = s[1];
        if (group == 2) turn.axis = 2, turn.layer = s[2];
        turn.sense = sgn * factor * detail::signOf(s[0] - e[0]);
    }
    if (turn.sense == 0) turn.sense = 1;
    return turn;
}

}  // namespace cubie
