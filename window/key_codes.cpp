#include "window/key_codes.h"

namespace win {

namespace {

KeyBytes one(uint8_t b) { return KeyBytes{1, {b, 0}}; }
KeyBytes pair(uint8_t code) { return KeyBytes{2, {0, code}}; }

// Navigation keys: plain (also with Shift), Ctrl, Alt. Indexed by KeyId from Up to Delete.
constexpr uint8_t navigationCodes[10][3] = {
    //  plain  ctrl  alt
    {72, 141, 152},  // Up
    {80, 145, 160},  // Down
    {75, 115, 155},  // Left
    {77, 116, 157},  // Right
    {71, 119, 164},  // Home
    {79, 117, 165},  // End
    {73, 132, 153},  // Page Up
    {81, 118, 161},  // Page Down
    {82, 146, 162},  // Insert
    {83, 147, 163},  // Delete
};

// Function keys F1 to F12: plain, Shift, Ctrl, Alt.
constexpr uint8_t functionCodes[12][4] = {
    // plain shift ctrl alt
    {59, 84, 94, 104},     // F1
    {60, 85, 95, 105},     // F2
    {61, 86, 96, 106},     // F3
    {62, 87, 97, 107},     // F4
    {63, 88, 98, 108},     // F5
    {64, 89, 99, 109},     // F6
    {65, 90, 100, 110},    // F7
    {66, 91, 101, 111},    // F8
    {67, 92, 102, 112},    // F9
    {68, 93, 103, 113},    // F10
    {133, 135, 137, 139},  // F11
    {134, 136, 138, 140},  // F12
};

// Keyboard scan codes of the letters a to z, sent after a 0 with Alt.
constexpr uint8_t letterScanCodes[26] = {
    30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,  // a-m
    49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44,  // n-z
};

KeyBytes letterBytes(const KeyPress& p) {
    if (p.letter < 'a' || p.letter > 'z') return {};
    int index = p.letter - 'a';
    if (p.ctrl) return one(static_cast<uint8_t>(index + 1));
    if (p.alt) return pair(letterScanCodes[index]);
    bool upper = p.shift != p.capsLock;
    return one(static_cast<uint8_t>((upper ? 'A' : 'a') + index));
}

KeyBytes digitBytes(const KeyPress& p) {
    if (p.digit > 9) return {};
    if (p.ctrl) return pair(p.digit == 0 ? 10 : p.digit);
    if (p.alt) return pair(static_cast<uint8_t>(p.digit == 0 ? 129 : 119 + p.digit));
    if (p.shift) return {};
    return one(static_cast<uint8_t>('0' + p.digit));
}

KeyBytes navigationBytes(const KeyPress& p) {
    const uint8_t* row = navigationCodes[static_cast<int>(p.id) - static_cast<int>(KeyId::Up)];
    if (p.ctrl) return pair(row[1]);
    if (p.alt) return pair(row[2]);
    return pair(row[0]);
}

KeyBytes functionBytes(const KeyPress& p) {
    if (p.function < 1 || p.function > 12) return {};
    const uint8_t* row = functionCodes[p.function - 1];
    if (p.shift) return pair(row[1]);
    if (p.ctrl) return pair(row[2]);
    if (p.alt) return pair(row[3]);
    return pair(row[0]);
}

}  // namespace

KeyBytes keyBytesForPress(const KeyPress& p) {
    switch (p.id) {
        case KeyId::None: return {};
        case KeyId::Letter: return letterBytes(p);
        case KeyId::Digit: return digitBytes(p);
        case KeyId::Space: return one(32);
        case KeyId::Enter: return p.alt ? pair(166) : one(13);
        case KeyId::Escape: return one(27);
        case KeyId::Backspace: return p.alt ? pair(14) : one(8);
        case KeyId::Tab: return one(9);
        case KeyId::Up:
        case KeyId::Down:
        case KeyId::Left:
        case KeyId::Right:
        case KeyId::Home:
        case KeyId::End:
        case KeyId::PageUp:
        case KeyId::PageDown:
        case KeyId::Insert:
        case KeyId::Delete: return navigationBytes(p);
        case KeyId::Function: return functionBytes(p);
        case KeyId::Menu: return pair(151);
    }
    return {};
}

KeyBytes keyBytesForText(uint32_t codePoint, bool ctrl, bool alt) {
    if (ctrl || alt) return {};
    if (codePoint < 33 || codePoint == 127 || codePoint > 255) return {};
    if (codePoint >= 128 && codePoint < 160) return {};
    bool letter = (codePoint >= 'a' && codePoint <= 'z') || (codePoint >= 'A' && codePoint <= 'Z');
    bool digit = codePoint >= '0' && codePoint <= '9';
    if (letter || digit) return {};
    return one(static_cast<uint8_t>(codePoint));
}

}  // namespace win
