// The default 256-entry palette and colour-number arithmetic.
#pragma once

#include <cstdint>

namespace win {

struct Rgb {
    uint8_t r, g, b;
};

constexpr int paletteSize = 256;

struct Palette {
    Rgb entries[paletteSize];
};

// The palette every window starts with: 16 basic colours, 16 greys, nine rings of 24 hues, eight blacks.
Palette defaultPalette();

// Index of the entry nearest to the colour (squared RGB distance; the lowest index wins a tie) among the first
// `count` entries.
int nearestEntry(const Palette& palette, int count, Rgb colour);

// Colour number of an RGB value (0xRRGGBB) for a palette of `entries` (2, 16 or 256): its nearest entry of the
// default palette; with no palette (entries 0) the value itself.
int32_t namedColourNumber(uint32_t rgb, int entries);

// The colour number a page stores for colour c: c mod entries for a palette of `entries` (2, 16 or 256), or the
// 24-bit RGB value when entries is 0 (no palette).
uint32_t colourIndex(int32_t c, int entries);

// 0xRRGGBB of a stored colour number.
uint32_t colourRgb(const Palette& palette, int entries, uint32_t stored);

}  // namespace win
