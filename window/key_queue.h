// The key ring: 32 bytes, a read and a write index, empty when they are equal.
#pragma once

#include <cstdint>

namespace win {

constexpr int keyQueueSize = 32;

struct KeyQueue {
    uint8_t bytes[keyQueueSize] = {};
    uint8_t readIndex = 0;
    uint8_t writeIndex = 0;
};

// Appends one byte. On overflow the oldest entry goes, a 0-prefixed pair as a whole, so the ring never blocks
// the writer and a reader never meets the second byte of a pair at its head.
void keyQueuePush(KeyQueue& q, uint8_t byte);

bool keyQueueEmpty(const KeyQueue& q);

// Removes and returns the oldest byte; 0 when empty.
uint8_t keyQueuePop(KeyQueue& q);

// Number of bytes held (0 to 31).
int keyQueueCount(const KeyQueue& q);

void keyQueueClear(KeyQueue& q);

}  // namespace win
