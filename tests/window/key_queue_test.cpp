#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "window/key_queue.h"

using win::KeyQueue;

namespace {

// A key as the ring sees it: one byte, or a 0-prefixed pair.
using Key = std::vector<uint8_t>;

void push(KeyQueue& q, const Key& key) {
    for (uint8_t b : key) win::keyQueuePush(q, b);
}

// Reads the ring dry, splitting it into keys the way a program does (a 0 takes the byte after it).
std::vector<Key> drain(KeyQueue& q) {
    std::vector<Key> keys;
    while (!win::keyQueueEmpty(q)) {
        uint8_t b = win::keyQueuePop(q);
        if (b == 0) keys.push_back({0, win::keyQueuePop(q)});
        else keys.push_back({b});
    }
    return keys;
}

}  // namespace

TEST(KeyQueue, EmptyRingGivesNothing) {
    KeyQueue q;
    EXPECT_TRUE(win::keyQueueEmpty(q));
    EXPECT_EQ(win::keyQueuePop(q), 0);
    EXPECT_EQ(win::keyQueueCount(q), 0);
}

TEST(KeyQueue, KeepsOrderBelowCapacity) {
    KeyQueue q;
    for (uint8_t b = 1; b <= 31; ++b) win::keyQueuePush(q, b);
    EXPECT_EQ(win::keyQueueCount(q), 31);
    for (uint8_t b = 1; b <= 31; ++b) EXPECT_EQ(win::keyQueuePop(q), b);
    EXPECT_TRUE(win::keyQueueEmpty(q));
}

TEST(KeyQueue, ThirtyThreeTypedBytesLeaveTheNewestThirtyOne) {
    KeyQueue q;
    for (uint8_t b = 1; b <= 33; ++b) win::keyQueuePush(q, b);
    ASSERT_EQ(win::keyQueueCount(q), 31);
    for (uint8_t b = 3; b <= 33; ++b) EXPECT_EQ(win::keyQueuePop(q), b) << "expected the newest 31 bytes in order";
}

TEST(KeyQueue, OverflowDropsAPairWhole) {
    KeyQueue q;
    push(q, {0, 75});  // Left
    for (uint8_t b = 'a'; b < 'a' + 29; ++b) win::keyQueuePush(q, b);
    ASSERT_EQ(win::keyQueueCount(q), 31);
    win::keyQueuePush(q, 'z');  // the ring is full: the oldest key, the pair, goes as a whole
    EXPECT_EQ(win::keyQueueCount(q), 30);
    EXPECT_EQ(win::keyQueuePop(q), 'a') << "the second byte of the dropped pair must not be left at the head";
}

// Whatever keys are typed without reading, the ring holds the newest whole keys, in order, at most 31 bytes and
// at least 30, and never starts with the second byte of a pair.
TEST(KeyQueue, OverflowAlwaysLeavesTheNewestWholeKeys) {
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        KeyQueue q;
        std::vector<Key> typed;
        int count = std::uniform_int_distribution<int>(0, 60)(rng);
        for (int i = 0; i < count; ++i) {
            Key key = rng() % 3 == 0 ? Key{0, static_cast<uint8_t>(59 + rng() % 100)}
                                     : Key{static_cast<uint8_t>('a' + rng() % 26)};
            typed.push_back(key);
            push(q, key);
        }
        int held = win::keyQueueCount(q);
        ASSERT_LE(held, 31);
        std::vector<Key> left = drain(q);
        ASSERT_LE(left.size(), typed.size());
        std::vector<Key> newest(typed.end() - static_cast<long>(left.size()), typed.end());
        ASSERT_EQ(left, newest) << "round " << round << ": the ring must hold a suffix of the typed keys";
        int typedBytes = 0;
        for (const Key& k : typed) typedBytes += static_cast<int>(k.size());
        if (typedBytes > 31) EXPECT_GE(held, 30) << "round " << round << ": no more than one extra byte lost";
        else EXPECT_EQ(held, typedBytes);
    }
}
