#include "window/palette.h"

namespace win {

namespace {

// One ring of 24 hues: high value, low value, three steps between them.
struct Ring {
    uint8_t high, low, m1, m2, m3;
};

constexpr Ring rings[9] = {
    // high  low   m1    m2    m3
    {0xFC, 0x00, 0x40, 0x7C, 0xBC},  // entries 32-55
    {0xFC, 0x7C, 0x9C, 0xBC, 0xDC},  // 56-79
    {0xFC, 0xB4, 0xC4, 0xD8, 0xE8},  // 80-103
    {0x70, 0x00, 0x1C, 0x38, 0x54},  // 104-127
    {0x70, 0x38, 0x44, 0x54, 0x60},  // 128-151
    {0x70, 0x50, 0x58, 0x60, 0x68},  // 152-175
    {0x40, 0x00, 0x10, 0x20, 0x30},  // 176-199
    {0x40, 0x20, 0x28, 0x30, 0x38},  // 200-223
    {0x40, 0x2C, 0x30, 0x34, 0x3C},  // 224-247
};

constexpr Rgb basicColours[16] = {
    {0x00, 0x00, 0x00}, {0x00, 0x00, 0xA8}, {0x00, 0xA8, 0x00}, {0x00, 0xA8, 0xA8},
    {0xA8, 0x00, 0x00}, {0xA8, 0x00, 0xA8}, {0xA8, 0x54, 0x00}, {0xA8, 0xA8, 0xA8},
    {0x54, 0x54, 0x54}, {0x84, 0x84, 0xFC}, {0x54, 0xFC, 0x54}, {0x54, 0xFC, 0xFC},
    {0xFC, 0x54, 0x54}, {0xFC, 0x54, 0xFC}, {0xFC, 0xFC, 0x54}, {0xFC, 0xFC, 0xFC},
};

constexpr uint8_t greys[16] = {0x00, 0x14, 0x20, 0x2C, 0x38, 0x44, 0x50, 0x60,
                               0x70, 0x80, 0x90, 0xA0, 0xB4, 0xC8, 0xE0, 0xFC};

// Colour k (0-23) of a ring: blue to magenta to red to yellow to green to cyan and back toward blue.
constexpr Rgb ringColour(const Ring& ring, int k) {
    const uint8_t H = ring.high, L = ring.low, m1 = ring.m1, m2 = ring.m2, m3 = ring.m3;
    // clang-format off
    const Rgb table[24] = {
        {L, L, H},   {m1, L, H},  {m2, L, H},  {m3, L, H},  {H, L, H},   {H, L, m3},
        {H, L, m2},  {H, L, m1},  {H, L, L},   {H, m1, L},  {H, m2, L},  {H, m3, L},
        {H, H, L},   {m3, H, L},  {m2, H, L},  {m1, H, L},  {L, H, L},   {L, H, m1},
        {L, H, m2},  {L, H, m3},  {L, H, H},   {L, m3, H},  {L, m2, H},  {L, m1, H},
    };
    // clang-format on
    return table[k];
}

constexpr Palette buildDefaultPalette() {
    Palette p{};
    for (int i = 0; i < 16; ++i) p.entries[i] = basicColours[i];
    for (int i = 0; i < 16; ++i) p.entries[16 + i] = Rgb{greys[i], greys[i], greys[i]};
    for (int r = 0; r < 8; ++r)
        for (int k = 0; k < 24; ++k) p.entries[32 + 24 * r + k] = ringColour(rings[r], k);
    // The last ring lacks its ninth colour (H, L, L): its colours 10 to 24 move up one entry and 247 stays black.
    for (int k = 0; k < 8; ++k) p.entries[224 + k] = ringColour(rings[8], k);
    for (int k = 9; k < 24; ++k) p.entries[224 + k - 1] = ringColour(rings[8], k);
    for (int i = 247; i < paletteSize; ++i) p.entries[i] = Rgb{0, 0, 0};
    // Kept as it always was: entry 65 breaks its ring's rule.
    p.entries[65] = Rgb{0xFC, 0x9C, 0xFC};
    return p;
}

// Built at compile time: looking a named colour up needs it from the first frame on, with nothing to set up.
constexpr Palette standardPalette = buildDefaultPalette();

}  // namespace

Palette defaultPalette() { return standardPalette; }

int nearestEntry(const Palette& palette, int count, Rgb colour) {
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < count && i < paletteSize; ++i) {
        const Rgb& e = palette.entries[i];
        long dr = e.r - colour.r, dg = e.g - colour.g, db = e.b - colour.b;
        long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

int32_t namedColourNumber(uint32_t rgb, int entries) {
    if (entries == 0) return static_cast<int32_t>(rgb & 0xFFFFFF);
    const Rgb colour{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
    return nearestEntry(standardPalette, entries, colour);
}

uint32_t colourIndex(int32_t c, int entries) {
    if (entries <= 0) return static_cast<uint32_t>(c) & 0xFFFFFFu;
    int32_t m = c % entries;
    return static_cast<uint32_t>(m < 0 ? m + entries : m);
}

uint32_t colourRgb(const Palette& palette, int entries, uint32_t stored) {
    if (entries <= 0) return stored & 0xFFFFFFu;
    const Rgb& e = palette.entries[stored % paletteSize];
    return (uint32_t{e.r} << 16) | (uint32_t{e.g} << 8) | e.b;
}

}  // namespace win
