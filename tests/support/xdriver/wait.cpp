#include "tests/support/xdriver/wait.h"

#include <thread>

namespace xdrive {

int64_t msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

void pause(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs, int everyMs) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        if (done()) return true;
        if (msSince(start) >= timeoutMs) return false;
        pause(everyMs);
    }
}

}  // namespace xdrive
