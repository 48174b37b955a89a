#include "window/key_queue.h"

namespace win {

static uint8_t nextIndex(uint8_t i) { return static_cast<uint8_t>((i + 1) % keyQueueSize); }

void keyQueuePush(KeyQueue& q, uint8_t byte) {
    q.bytes[q.writeIndex] = byte;
    q.writeIndex = nextIndex(q.writeIndex);
    if (q.writeIndex != q.readIndex) return;
    // Full: drop the oldest entry. When it is a 0 its partner goes too, so a pair is never split.
    if (q.bytes[q.readIndex] == 0) q.readIndex = nextIndex(q.readIndex);
    q.readIndex = nextIndex(q.readIndex);
}

bool keyQueueEmpty(const KeyQueue& q) { return q.readIndex == q.writeIndex; }

uint8_t keyQueuePop(KeyQueue& q) {
    if (keyQueueEmpty(q)) return 0;
    uint8_t byte = q.bytes[q.readIndex];
    q.readIndex = nextIndex(q.readIndex);
    return byte;
}

int keyQueueCount(const KeyQueue& q) { return (q.writeIndex - q.readIndex + keyQueueSize) % keyQueueSize; }

void keyQueueClear(KeyQueue& q) { q.readIndex = q.writeIndex = 0; }

}  // namespace win
