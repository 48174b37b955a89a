// The tests' own model of the cube puzzles, knowing only what a player knows: where every cubie and its stickers
// sit, which colour each side shows when solved, and that a turn carries the stickers of one layer a quarter round
// an axis. Stickers are positions and outward normals in whole numbers, so turns are exact and nothing drifts.
//
// Axes are the programs' world axes x, y, z (0, 1, 2), right-handed; a slot (i, j, k) has one grid index per
// axis. Faces are numbered as the programs' pick names them: 0 +z, 1 -z, 2 -x, 3 +x, 4 -y, 5 +y.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace oracle {

using Vec = std::array<int32_t, 3>;

// Axis and side (-1 low, +1 high) of each face; index = face number.
inline constexpr int32_t faceAxis[6] = {2, 2, 0, 0, 1, 1};
inline constexpr int32_t faceSide[6] = {1, -1, -1, 1, -1, 1};
// Face number of the low and high side of each axis; index = axis.
inline constexpr int32_t sideFace[3][2] = {{2, 3}, {4, 5}, {1, 0}};
inline constexpr int32_t faceOf(int32_t axis, int32_t side) { return sideFace[axis][side < 0 ? 0 : 1]; }

// Corners of each face in order round it, as the cuboid programs' quads run; a corner's bit 0 is the +x side, bit
// 1 +y, bit 2 +z. Index = face number.
inline constexpr int32_t faceCorners[6][4] = {{4, 6, 7, 5}, {0, 1, 3, 2}, {0, 2, 6, 4},
                                              {1, 5, 7, 3}, {0, 4, 5, 1}, {2, 3, 7, 6}};

// Palette entries of the solved sides, by face number.
// clang-format off
inline constexpr int32_t cuboidSides[3][6] = {  // index = program: cuboid-a, cuboid-b, cuboid-c
    {15, 14,  2,  9, 12, 13},
    {15, 14,  2,  9, 12, 13},
    { 9,  2, 14, 15, 13, 12},
};
// cubesolve, whose x axis points up: up white, down yellow, front (+y) light red, back light magenta, right (+z)
// green, left light blue.
inline constexpr int32_t cubesolveSides[6] = {2, 9, 14, 15, 13, 12};
// clang-format on

// Where the cubies sit: the full cube spans -halfExtent to +halfExtent on every axis, cells 2 halfExtent div N
// apart; a cuboid of dims cells is centred on the origin.
struct Layout {
    int32_t halfExtent, gridSize, dims[3];
};
inline Layout cuboidLayout(int32_t gridSize, const int32_t dims[3]) {
    return {120, gridSize, {dims[0], dims[1], dims[2]}};
}
inline Layout cubesolveLayout(int32_t gridSize) { return {60, gridSize, {gridSize, gridSize, gridSize}}; }

inline int32_t slotNumber(const Layout& layout, const Vec& slot) {
    return (slot[0] * layout.gridSize + slot[1]) * layout.gridSize + slot[2];
}

// Corner q of the cubie in slot, each cubie inset by 2 units on every side. Whole numbers for every size.
inline void cornerPoint(const Layout& layout, const Vec& slot, int32_t q, double out[3]) {
    const int32_t cell = 2 * layout.halfExtent / layout.gridSize;
    for (int32_t a = 0; a < 3; ++a) {
        const int32_t b = (q >> a) & 1;
        out[a] = (layout.gridSize - layout.dims[a]) * cell / 2.0 - layout.halfExtent + (slot[a] + b) * cell +
                 (1 - 2 * b) * 2;
    }
}

// True when that face of the slot is on the outside of the puzzle.
inline bool outer(const Layout& layout, const Vec& slot, int32_t face) {
    const int32_t axis = faceAxis[face];
    return slot[axis] == (faceSide[face] < 0 ? 0 : layout.dims[axis] - 1);
}

// A quarter turn of v about the axis, anticlockwise seen from the axis's positive end when turns > 0 (right-hand
// rule): about y, +z goes to +x.
inline Vec rotate(const Vec& v, int32_t axis, int32_t turns) {
    const int32_t u = (axis + 1) % 3, w = (axis + 2) % 3;  // (u, w, axis) is right-handed
    Vec r = v;
    for (int32_t n = 0; n < ((turns % 4) + 4) % 4; ++n) {
        const int32_t a = r[u], b = r[w];
        r[u] = -b;
        r[w] = a;
    }
    return r;
}

// cubesolve's letters: the axis, layer and outward sign of the face each upper-case letter names. An upper-case
// letter turns its layer clockwise seen from outside that face (I like D, J like F, K like L), lower case the
// other way.
struct LetterFace {
    char letter;
    int32_t axis, layer, facing;
};
// clang-format off
inline constexpr LetterFace letterFaces[9] = {
    {'D', 0, 0, -1}, {'I', 0, 1, -1}, {'U', 0, 2, +1},
    {'B', 1, 0, -1}, {'J', 1, 1, +1}, {'F', 1, 2, +1},
    {'L', 2, 0, -1}, {'K', 2, 1, -1}, {'R', 2, 2, +1},
};
// clang-format on

// The stickers of a cube or cuboid. A cubie of slot index s has its centre at 2 s - (dims - 1) per axis; a sticker
// sits one unit out from it along its normal.
class Cube {
public:
    Cube(const int32_t dims[3], const int32_t (&sides)[6]) : dims_{dims[0], dims[1], dims[2]} {
        for (int32_t face = 0; face < 6; ++face) {
            const int32_t axis = faceAxis[face], u = (axis + 1) % 3, v = (axis + 2) % 3;
            for (int32_t a = 0; a < dims_[u]; ++a)
                for (int32_t b = 0; b < dims_[v]; ++b) {
                    Vec slot{};
                    slot[axis] = faceSide[face] < 0 ? 0 : dims_[axis] - 1;
                    slot[u] = a, slot[v] = b;
                    stickers_.push_back({place(slot, face), normal(face), sides[face]});
                }
        }
    }
    Cube(int32_t n, const int32_t (&sides)[6]) : Cube(Vec{n, n, n}.data(), sides) {}

    // Turns the layer of grid index layer across the axis by quarter turns, as rotate() turns a vector. A quarter
    // turn needs the layer square.
    void turn(int32_t axis, int32_t layer, int32_t quarterTurns) {
        const int32_t centre = 2 * layer - (dims_[axis] - 1);
        for (Sticker& s : stickers_) {
            if (s.position[axis] - s.normal[axis] != centre) continue;
            s.position = rotate(s.position, axis, quarterTurns);
            s.normal = rotate(s.normal, axis, quarterTurns);
        }
    }

    // One of cubesolve's letters; other characters do nothing, and so does a letter whose layer holds no cubie.
    void play(char c) {
        const bool lower = c >= 'a' && c <= 'z';
        const char upper = lower ? char(c - 'a' + 'A') : c;
        for (const LetterFace& f : letterFaces)
            // Clockwise seen from outside the face is anticlockwise seen from the opposite end of its normal.
            if (f.letter == upper && f.layer < dims_[f.axis]) turn(f.axis, f.layer, (lower ? 1 : -1) * f.facing);
    }
    void play(const std::string& moves) {
        for (char c : moves) play(c);
    }

    // Colour of the sticker on that face of the slot; -1 when there is none.
    int32_t colourAt(const Vec& slot, int32_t face) const {
        const Vec at = place(slot, face), n = normal(face);
        for (const Sticker& s : stickers_)
            if (s.position == at && s.normal == n) return s.colour;
        return -1;
    }

    // cubesolve's probe order: axis 0, 1, 2; low side then high side; the two other indices ascending with the
    // lower axis outermost.
    std::vector<int32_t> probeOrder() const {
        std::vector<int32_t> out;
        for (int32_t axis = 0; axis < 3; ++axis)
            for (int32_t side : {-1, 1})
                for (int32_t u = 0; u < dims_[axis == 0 ? 1 : 0]; ++u)
                    for (int32_t v = 0; v < dims_[axis == 2 ? 1 : 2]; ++v) {
                        Vec slot{};
                        slot[axis] = side < 0 ? 0 : dims_[axis] - 1;
                        slot[axis == 0 ? 1 : 0] = u;
                        slot[axis == 2 ? 1 : 2] = v;
                        out.push_back(colourAt(slot, faceOf(axis, side)));
                    }
        return out;
    }

    // Every side shows one colour.
    bool solved() const {
        for (int32_t face = 0; face < 6; ++face) {
            int32_t seen = -1;
            for (const Sticker& s : stickers_) {
                if (s.normal != normal(face)) continue;
                if (seen >= 0 && s.colour != seen) return false;
                seen = s.colour;
            }
        }
        return true;
    }

private:
    struct Sticker {
        Vec position, normal;
        int32_t colour;
    };

    static Vec normal(int32_t face) {
        Vec n{};
        n[faceAxis[face]] = faceSide[face];
        return n;
    }
    Vec place(const Vec& slot, int32_t face) const {
        Vec p;
        for (int32_t a = 0; a < 3; ++a) p[a] = 2 * slot[a] - (dims_[a] - 1) + normal(face)[a];
        return p;
    }

    Vec dims_;
    std::vector<Sticker> stickers_;
};

}  // namespace oracle
