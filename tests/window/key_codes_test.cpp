#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "window/key_codes.h"

using win::KeyId;
using win::KeyPress;

namespace {

enum Mods : unsigned { none = 0, shift = 1, ctrl = 2, alt = 4, caps = 8 };

KeyPress press(KeyId id, unsigned mods, char letter = 0, uint8_t digit = 0, uint8_t function = 0) {
    KeyPress p;
    p.id = id;
    p.letter = letter;
    p.digit = digit;
    p.function = function;
    p.shift = mods & shift;
    p.ctrl = mods & ctrl;
    p.alt = mods & alt;
    p.capsLock = mods & caps;
    return p;
}

std::vector<int> bytesOf(const win::KeyBytes& b) { return std::vector<int>(b.bytes, b.bytes + b.count); }

struct Case {
    const char* name;
    KeyPress key;
    std::vector<int> bytes;
};

void expectAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) EXPECT_EQ(bytesOf(win::keyBytesForPress(c.key)), c.bytes) << c.name;
}

}  // namespace

TEST(KeyCodes, TypedCharacters) {
    expectAll({
        {"a", press(KeyId::Letter, none, 'a'), {'a'}},
        {"Shift+a", press(KeyId::Letter, shift, 'a'), {'A'}},
        {"Caps Lock a", press(KeyId::Letter, caps, 'a'), {'A'}},
        {"Caps Lock Shift+a", press(KeyId::Letter, caps | shift, 'a'), {'a'}},
        {"z", press(KeyId::Letter, none, 'z'), {'z'}},
        {"7", press(KeyId::Digit, none, 0, 7), {'7'}},
        {"0", press(KeyId::Digit, none, 0, 0), {'0'}},
        {"Shift+7 types through text", press(KeyId::Digit, shift, 0, 7), {}},
        {"Space", press(KeyId::Space, none), {32}},
        {"Enter", press(KeyId::Enter, none), {13}},
        {"Escape", press(KeyId::Escape, none), {27}},
        {"Backspace", press(KeyId::Backspace, none), {8}},
        {"Tab", press(KeyId::Tab, none), {9}},
        {"Ctrl+a", press(KeyId::Letter, ctrl, 'a'), {1}},
        {"Ctrl+z", press(KeyId::Letter, ctrl, 'z'), {26}},
        {"Ctrl+Shift+c", press(KeyId::Letter, ctrl | shift, 'c'), {3}},
        {"unknown key", press(KeyId::None, none), {}},
    });
}

TEST(KeyCodes, AltAndCtrlCombinations) {
    expectAll({
        {"Alt+a", press(KeyId::Letter, alt, 'a'), {0, 30}},
        {"Alt+Shift+a", press(KeyId::Letter, alt | shift, 'a'), {0, 30}},
        {"Alt+m", press(KeyId::Letter, alt, 'm'), {0, 50}},
        {"Alt+q", press(KeyId::Letter, alt, 'q'), {0, 16}},
        {"Alt+z", press(KeyId::Letter, alt, 'z'), {0, 44}},
        {"Alt+1", press(KeyId::Digit, alt, 0, 1), {0, 120}},
        {"Alt+9", press(KeyId::Digit, alt, 0, 9), {0, 128}},
        {"Alt+0", press(KeyId::Digit, alt, 0, 0), {0, 129}},
        {"Ctrl+1", press(KeyId::Digit, ctrl, 0, 1), {0, 1}},
        {"Ctrl+2", press(KeyId::Digit, ctrl, 0, 2), {0, 2}},
        {"Ctrl+0", press(KeyId::Digit, ctrl, 0, 0), {0, 10}},
        {"Alt+Backspace", press(KeyId::Backspace, alt), {0, 14}},
        {"Alt+Enter", press(KeyId::Enter, alt), {0, 166}},
        {"context menu", press(KeyId::Menu, none), {0, 151}},
    });
}

// Every letter's Alt code, from the keyboard's scan-code layout.
TEST(KeyCodes, AltLetterScanCodes) {
    const int scan[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                          49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
    for (int i = 0; i < 26; ++i) {
        char letter = static_cast<char>('a' + i);
        EXPECT_EQ(bytesOf(win::keyBytesForPress(press(KeyId::Letter, alt, letter))), (std::vector<int>{0, scan[i]}))
            << "Alt+" << letter;
    }
}

// Navigation keys: Shift is ignored, Ctrl wins over Alt.
TEST(KeyCodes, NavigationKeys) {
    struct Row {
        KeyId id;
        const char* name;
        int plain, withCtrl, withAlt;
    };
    // clang-format off
    const Row rows[] = {
        {KeyId::Up, "Up", 72, 141, 152},           {KeyId::Down, "Down", 80, 145, 160},
        {KeyId::Left, "Left", 75, 115, 155},       {KeyId::Right, "Right", 77, 116, 157},
        {KeyId::Home, "Home", 71, 119, 164},       {KeyId::End, "End", 79, 117, 165},
        {KeyId::PageUp, "Page Up", 73, 132, 153},  {KeyId::PageDown, "Page Down", 81, 118, 161},
        {KeyId::Insert, "Insert", 82, 146, 162},   {KeyId::Delete, "Delete", 83, 147, 163},
    };
    // clang-format on
    for (const Row& r : rows) {
        const char* n = r.name;
        EXPECT_EQ(bytesOf(win::keyBytesForPress(press(r.id, none))), (std::vector<int>{0, r.plain})) << n;
        EXPECT_EQ(bytesOf(win::keyBytesForPress(press(r.id, shift))), (std::vector<int>{0, r.plain})) << "Shift+" << n;
        EXPECT_EQ(bytesOf(win::keyBytesForPress(press(r.id, ctrl))), (std::vector<int>{0, r.withCtrl})) << "Ctrl+" << n;
        EXPECT_EQ(bytesOf(win::keyBytesForPress(press(r.id, alt))), (std::vector<int>{0, r.withAlt})) << "Alt+" << n;
        EXPECT_EQ(bytesOf(win::keyBytesForPress(press(r.id, ctrl | alt))), (std::vector<int>{0, r.withCtrl}))
            << "Ctrl+Alt+" << n << " takes Ctrl";
    }
}

// Function keys: Shift wins over Ctrl, Ctrl over Alt.
TEST(KeyCodes, FunctionKeys) {
    for (int f = 1; f <= 12; ++f) {
        int plain = f <= 10 ? 58 + f : 122 + f;
        int withShift = f <= 10 ? 83 + f : 124 + f;
        int withCtrl = f <= 10 ? 93 + f : 126 + f;
        int withAlt = f <= 10 ? 103 + f : 128 + f;
        auto key = [f](unsigned mods) {
            return bytesOf(win::keyBytesForPress(press(KeyId::Function, mods, 0, 0, static_cast<uint8_t>(f))));
        };
        char n[8];
        std::snprintf(n, sizeof n, "F%d", f);
        EXPECT_EQ(key(none), (std::vector<int>{0, plain})) << n;
        EXPECT_EQ(key(shift), (std::vector<int>{0, withShift})) << "Shift+" << n;
        EXPECT_EQ(key(ctrl), (std::vector<int>{0, withCtrl})) << "Ctrl+" << n;
        EXPECT_EQ(key(alt), (std::vector<int>{0, withAlt})) << "Alt+" << n;
        EXPECT_EQ(key(shift | ctrl | alt), (std::vector<int>{0, withShift})) << "Shift+Ctrl+Alt+" << n;
        EXPECT_EQ(key(ctrl | alt), (std::vector<int>{0, withCtrl})) << "Ctrl+Alt+" << n;
    }
    EXPECT_EQ(bytesOf(win::keyBytesForPress(press(KeyId::Function, none, 0, 0, 11))), (std::vector<int>{0, 133}));
    EXPECT_EQ(bytesOf(win::keyBytesForPress(press(KeyId::Function, shift, 0, 0, 12))), (std::vector<int>{0, 136}));
}

// Text events carry only what no key-down names, so no key press gives two entries.
TEST(KeyCodes, TextEventsTakeOnlyWhatKeysCannotName) {
    struct Row {
        uint32_t codePoint;
        bool ctrl, alt;
        std::vector<int> bytes;
    };
    // clang-format off
    const Row rows[] = {
        {'!', false, false, {'!'}}, {'?', false, false, {'?'}}, {'~', false, false, {'~'}},
        {0xE9, false, false, {0xE9}},  // e acute, Latin-1
        {'a', false, false, {}},    {'A', false, false, {}},    {'5', false, false, {}},
        {' ', false, false, {}},    {'!', true, false, {}},     {'!', false, true, {}},
        {0x20AC, false, false, {}},  // the euro sign has no byte
        {0x85, false, false, {}},    // a control character
    };
    // clang-format on
    for (const Row& r : rows)
        EXPECT_EQ(bytesOf(win::keyBytesForText(r.codePoint, r.ctrl, r.alt)), r.bytes) << "code point " << r.codePoint;
}
