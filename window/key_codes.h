// Key presses to key-ring bytes. The platform backend names each pressed key by a KeyId; this file alone decides
// which bytes it gives, so the whole table is testable without a display.
#pragma once

#include <cstdint>

namespace win {

enum class KeyId : uint8_t {
    None,
    Letter,  // KeyPress::letter holds 'a' to 'z'
    Digit,   // KeyPress::digit holds 0 to 9 (main row or keypad with Num Lock)
    Space,
    Enter,
    Escape,
    Backspace,
    Tab,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    PageUp,
    PageDown,
    Insert,
    Delete,
    Function,  // KeyPress::function holds 1 to 12
    Menu,      // the context-menu key
};

struct KeyPress {
    KeyId id = KeyId::None;
    char letter = 0;
    uint8_t digit = 0;
    uint8_t function = 0;
    bool shift = false, ctrl = false, alt = false, capsLock = false;
};

// Zero, one or two bytes for the ring; a key without a character is the pair 0, code.
struct KeyBytes {
    uint8_t count = 0;
    uint8_t bytes[2] = {};
};

// Bytes of one key-down. Shift+digit gives nothing here: the character it types depends on the keyboard layout,
// so it arrives through keyBytesForText instead.
KeyBytes keyBytesForPress(const KeyPress& press);

// Bytes of a typed character that keyBytesForPress does not name (punctuation, Shift+digit). Letters, digits and
// space are left to keyBytesForPress so that no key press is counted twice; nothing is taken while Ctrl or Alt is
// held, and nothing outside Latin-1.
KeyBytes keyBytesForText(uint32_t codePoint, bool ctrl, bool alt);

// The close button's pair.
constexpr uint8_t closeButtonCode = 107;

}  // namespace win
