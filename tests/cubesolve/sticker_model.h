// An independent model of the cube for the tests: a list of stickers, each a position and an outward normal in
// whole numbers, turned by quarter-turn rotations. It knows only what a player knows: which colour each side
// shows when solved, which layer each letter turns, and that an upper-case letter turns its layer clockwise seen
// from outside the face it names (I like D, J like F, K like L), lower case the other way.
//
// Axes: 0 from down to up, 1 from back to front, 2 from left to right, a right-handed frame. A cubie at grid
// index (i, j, k) has its centre at 2 * index - (N - 1) per axis; a sticker sits one unit out along its normal.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace sticker_model {

using Vec = std::array<int, 3>;

struct Sticker {
    Vec position;
    Vec normal;
    int colour;
};

// Colour of each side when solved: index axis * 2 + (0 for the low side, 1 for the high side).
inline constexpr int solvedColour[6] = {14, 15, 13, 12, 9, 2};  // down, up, back, front, left, right

// Axis, layer index and the outward normal's sign of the face each upper-case letter names.
struct LetterFace {
    char letter;
    int axis;
    int layer;
    int facing;
};
// clang-format off
inline constexpr LetterFace letterFaces[9] = {
    {'D', 0, 0, -1}, {'I', 0, 1, -1}, {'U', 0, 2, +1},
    {'B', 1, 0, -1}, {'J', 1, 1, +1}, {'F', 1, 2, +1},
    {'L', 2, 0, -1}, {'K', 2, 1, -1}, {'R', 2, 2, +1},
};
// clang-format on

// A quarter turn about the axis, anticlockwise seen from the axis's positive end when turns > 0 (right-hand rule).
inline Vec rotate(const Vec& v, int axis, int turns) {
    const int u = (axis + 1) % 3, w = (axis + 2) % 3;  // (u, w, axis) is right-handed
    Vec r = v;
    for (int n = 0; n < ((turns % 4) + 4) % 4; ++n) {
        const int a = r[u], b = r[w];
        r[u] = -b;
        r[w] = a;
    }
    return r;
}

class Cube {
public:
    explicit Cube(int n) : n_(n) {
        for (int axis = 0; axis < 3; ++axis)
            for (int side = 0; side < 2; ++side)
                for (int a = 0; a < n; ++a)
                    for (int b = 0; b < n; ++b) {
                        Vec index{};
                        index[axis] = side == 0 ? 0 : n - 1;
                        index[(axis + 1) % 3] = a;
                        index[(axis + 2) % 3] = b;
                        Vec normal{};
                        normal[axis] = side == 0 ? -1 : 1;
                        stickers_.push_back({add(centre(index), normal), normal, solvedColour[axis * 2 + side]});
                    }
    }

    int size() const { return n_; }

    // One letter; other characters do nothing.
    void play(char c) {
        const bool lower = c >= 'a' && c <= 'z';
        const char upper = lower ? char(c - 'a' + 'A') : c;
        for (const LetterFace& f : letterFaces) {
            if (f.letter != upper) continue;
            if (f.layer >= n_) return;  // no cubie in that layer
            // Clockwise seen from outside the face is anticlockwise seen from the opposite end of its normal.
            const int turns = (lower ? 1 : -1) * f.facing;
            const int layerCentre = 2 * f.layer - (n_ - 1);
            for (Sticker& s : stickers_) {
                if (s.position[f.axis] - s.normal[f.axis] != layerCentre) continue;
                s.position = rotate(s.position, f.axis, turns);
                s.normal = rotate(s.normal, f.axis, turns);
            }
        }
    }
    void play(const std::string& moves) {
        for (char c : moves) play(c);
    }

    // Colour of the sticker of slot (i, j, k) on the face perpendicular to axis at side (-1 low, +1 high); -1
    // when there is none.
    int colourAt(const Vec& index, int axis, int side) const {
        Vec normal{};
        normal[axis] = side;
        const Vec at = add(centre(index), normal);
        for (const Sticker& s : stickers_)
            if (s.position == at && s.normal == normal) return s.colour;
        return -1;
    }

    // The probe's order: axis 0, 1, 2; low side then high side; the two other indices ascending with the lower
    // axis outermost.
    std::vector<int> probeOrder() const {
        std::vector<int> out;
        for (int axis = 0; axis < 3; ++axis)
            for (int side : {-1, 1})
                for (int u = 0; u < n_; ++u)
                    for (int v = 0; v < n_; ++v) {
                        Vec index{};
                        index[axis] = side < 0 ? 0 : n_ - 1;
                        index[axis == 0 ? 1 : 0] = u;
                        index[axis == 2 ? 1 : 2] = v;
                        out.push_back(colourAt(index, axis, side));
                    }
        return out;
    }

    // Every side shows one colour.
    bool solved() const {
        for (int axis = 0; axis < 3; ++axis)
            for (int side : {-1, 1}) {
                int seen = -1;
                for (const Sticker& s : stickers_) {
                    if (s.normal[axis] != side) continue;
                    if (seen >= 0 && s.colour != seen) return false;
                    seen = s.colour;
                }
            }
        return true;
    }

private:
    Vec centre(const Vec& index) const {
        return {2 * index[0] - (n_ - 1), 2 * index[1] - (n_ - 1), 2 * index[2] - (n_ - 1)};
    }
    static Vec add(const Vec& a, const Vec& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }

    int n_;
    std::vector<Sticker> stickers_;
};

}  // namespace sticker_model
