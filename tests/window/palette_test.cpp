#include <gtest/gtest.h>

#include "window/palette.h"

namespace {

// The default palette as 0xRRGGBB, entry by entry, written out from the palette's definition: sixteen basic
// colours, sixteen greys, nine rings of 24 hues (entry 65 and the short last ring as they have always been),
// eight blacks.
constexpr uint32_t expectedPalette[256] = {
    0x000000, 0x0000A8, 0x00A800, 0x00A8A8,  // 0-3
    0xA80000, 0xA800A8, 0xA85400, 0xA8A8A8,  // 4-7
    0x545454, 0x8484FC, 0x54FC54, 0x54FCFC,  // 8-11
    0xFC5454, 0xFC54FC, 0xFCFC54, 0xFCFCFC,  // 12-15
    0x000000, 0x141414, 0x202020, 0x2C2C2C,  // 16-19
    0x383838, 0x444444, 0x505050, 0x606060,  // 20-23
    0x707070, 0x808080, 0x909090, 0xA0A0A0,  // 24-27
    0xB4B4B4, 0xC8C8C8, 0xE0E0E0, 0xFCFCFC,  // 28-31
    0x0000FC, 0x4000FC, 0x7C00FC, 0xBC00FC,  // 32-35
    0xFC00FC, 0xFC00BC, 0xFC007C, 0xFC0040,  // 36-39
    0xFC0000, 0xFC4000, 0xFC7C00, 0xFCBC00,  // 40-43
    0xFCFC00, 0xBCFC00, 0x7CFC00, 0x40FC00,  // 44-47
    0x00FC00, 0x00FC40, 0x00FC7C, 0x00FCBC,  // 48-51
    0x00FCFC, 0x00BCFC, 0x007CFC, 0x0040FC,  // 52-55
    0x7C7CFC, 0x9C7CFC, 0xBC7CFC, 0xDC7CFC,  // 56-59
    0xFC7CFC, 0xFC7CDC, 0xFC7CBC, 0xFC7C9C,  // 60-63
    0xFC7C7C, 0xFC9CFC, 0xFCBC7C, 0xFCDC7C,  // 64-67
    0xFCFC7C, 0xDCFC7C, 0xBCFC7C, 0x9CFC7C,  // 68-71
    0x7CFC7C, 0x7CFC9C, 0x7CFCBC, 0x7CFCDC,  // 72-75
    0x7CFCFC, 0x7CDCFC, 0x7CBCFC, 0x7C9CFC,  // 76-79
    0xB4B4FC, 0xC4B4FC, 0xD8B4FC, 0xE8B4FC,  // 80-83
    0xFCB4FC, 0xFCB4E8, 0xFCB4D8, 0xFCB4C4,  // 84-87
    0xFCB4B4, 0xFCC4B4, 0xFCD8B4, 0xFCE8B4,  // 88-91
    0xFCFCB4, 0xE8FCB4, 0xD8FCB4, 0xC4FCB4,  // 92-95
    0xB4FCB4, 0xB4FCC4, 0xB4FCD8, 0xB4FCE8,  // 96-99
    0xB4FCFC, 0xB4E8FC, 0xB4D8FC, 0xB4C4FC,  // 100-103
    0x000070, 0x1C0070, 0x380070, 0x540070,  // 104-107
    0x700070, 0x700054, 0x700038, 0x70001C,  // 108-111
    0x700000, 0x701C00, 0x703800, 0x705400,  // 112-115
    0x707000, 0x547000, 0x387000, 0x1C7000,  // 116-119
    0x007000, 0x00701C, 0x007038, 0x007054,  // 120-123
    0x007070, 0x005470, 0x003870, 0x001C70,  // 124-127
    0x383870, 0x443870, 0x543870, 0x603870,  // 128-131
    0x703870, 0x703860, 0x703854, 0x703844,  // 132-135
    0x703838, 0x704438, 0x705438, 0x706038,  // 136-139
    0x707038, 0x607038, 0x547038, 0x447038,  // 140-143
    0x387038, 0x387044, 0x387054, 0x387060,  // 144-147
    0x387070, 0x386070, 0x385470, 0x384470,  // 148-151
    0x505070, 0x585070, 0x605070, 0x685070,  // 152-155
    0x705070, 0x705068, 0x705060, 0x705058,  // 156-159
    0x705050, 0x705850, 0x706050, 0x706850,  // 160-163
    0x707050, 0x687050, 0x607050, 0x587050,  // 164-167
    0x507050, 0x507058, 0x507060, 0x507068,  // 168-171
    0x507070, 0x506870, 0x506070, 0x505870,  // 172-175
    0x000040, 0x100040, 0x200040, 0x300040,  // 176-179
    0x400040, 0x400030, 0x400020, 0x400010,  // 180-183
    0x400000, 0x401000, 0x402000, 0x403000,  // 184-187
    0x404000, 0x304000, 0x204000, 0x104000,  // 188-191
    0x004000, 0x004010, 0x004020, 0x004030,  // 192-195
    0x004040, 0x003040, 0x002040, 0x001040,  // 196-199
    0x202040, 0x282040, 0x302040, 0x382040,  // 200-203
    0x402040, 0x402038, 0x402030, 0x402028,  // 204-207
    0x402020, 0x402820, 0x403020, 0x403820,  // 208-211
    0x404020, 0x384020, 0x304020, 0x284020,  // 212-215
    0x204020, 0x204028, 0x204030, 0x204038,  // 216-219
    0x204040, 0x203840, 0x203040, 0x202840,  // 220-223
    0x2C2C40, 0x302C40, 0x342C40, 0x3C2C40,  // 224-227
    0x402C40, 0x402C3C, 0x402C34, 0x402C30,  // 228-231
    0x40302C, 0x40342C, 0x403C2C, 0x40402C,  // 232-235
    0x3C402C, 0x34402C, 0x30402C, 0x2C402C,  // 236-239
    0x2C4030, 0x2C4034, 0x2C403C, 0x2C4040,  // 240-243
    0x2C3C40, 0x2C3440, 0x2C3040, 0x000000,  // 244-247
    0x000000, 0x000000, 0x000000, 0x000000,  // 248-251
    0x000000, 0x000000, 0x000000, 0x000000,  // 252-255
};

uint32_t rgbOf(const win::Rgb& e) { return (uint32_t{e.r} << 16) | (uint32_t{e.g} << 8) | e.b; }

}  // namespace

TEST(Palette, DefaultEntriesOneByOne) {
    win::Palette p = win::defaultPalette();
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(rgbOf(p.entries[i]), expectedPalette[i]) << "palette entry " << i << std::hex << ": expected 0x"
                                                           << expectedPalette[i] << ", got 0x" << rgbOf(p.entries[i]);
}

TEST(Palette, NamedColoursFindTheirEntries) {
    win::Palette p = win::defaultPalette();
    EXPECT_EQ(win::nearestEntry(p, 256, {0, 0, 0}), 0) << "black is entry 0";
    EXPECT_EQ(win::nearestEntry(p, 256, {84, 84, 84}), 8) << "dark grey is entry 8";
    EXPECT_EQ(rgbOf(p.entries[win::nearestEntry(p, 256, {255, 255, 255})]), 0xFCFCFCu) << "white";
    EXPECT_EQ(rgbOf(p.entries[win::nearestEntry(p, 256, {255, 0, 0})]), 0xFC0000u) << "red";
    EXPECT_EQ(win::nearestEntry(p, 256, {0, 128, 0}), 120)
        << "green (0, 128, 0) is nearest to the dark ring's 00 70 00";
    EXPECT_LT(win::nearestEntry(p, 16, {255, 0, 0}), 16) << "a 16-colour palette searches only its 16 entries";
}

// The five named colours' numbers for each driver: with a palette the nearest of its first entries (black 0,
// blue 00 00 A8 for two colours; the sixteen basic colours; all 256), without one the RGB value.
TEST(Palette, NamedColourNumbersPerDriver) {
    struct Row {
        const char* name;
        uint32_t rgb;
        int32_t twoColours, sixteen, all, noPalette;
    };
    // clang-format off
    const Row rows[] = {
        {"black",     0x000000, 0, 0, 0,   0x000000},
        {"dark grey", 0x545454, 0, 8, 8,   0x545454},  // as far from blue as from black: the lower entry wins
        {"white",     0xFFFFFF, 1, 15, 15, 0xFFFFFF},  // FC FC FC is entry 15 and again grey 31
        {"red",       0xFF0000, 0, 4, 40,  0xFF0000},  // A8 00 00 beats FC 54 54; FC 00 00 opens the first ring
        {"green",     0x008000, 0, 2, 120, 0x008000},  // 00 A8 00; 00 70 00 of the fourth ring
    };
    // clang-format on
    for (const Row& r : rows) {
        EXPECT_EQ(win::namedColourNumber(r.rgb, 2), r.twoColours) << r.name << " with driver 1";
        EXPECT_EQ(win::namedColourNumber(r.rgb, 16), r.sixteen) << r.name << " with driver 2";
        EXPECT_EQ(win::namedColourNumber(r.rgb, 256), r.all) << r.name << " with driver 3";
        EXPECT_EQ(win::namedColourNumber(r.rgb, 0), r.noPalette) << r.name << " with driver 9";
    }
}

TEST(Palette, ColourNumbersWrapAroundThePalette) {
    struct Row {
        int32_t colour;
        int entries;
        uint32_t stored;
    };
    // clang-format off
    const Row rows[] = {
        {260, 256, 4}, {4, 256, 4},   {255, 256, 255}, {256, 256, 0}, {-1, 256, 255},
        {17, 16, 1},   {3, 2, 1},     {-3, 16, 13},    {0x123456, 0, 0x123456},
        {static_cast<int32_t>(0xFF123456u), 0, 0x123456},
    };
    // clang-format on
    for (const Row& r : rows)
        EXPECT_EQ(win::colourIndex(r.colour, r.entries), r.stored)
            << "colour " << r.colour << " with " << r.entries << " entries";
}
