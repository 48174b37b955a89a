#include "cubesolve/program.h"

int main() {
    if (!cubesolve::startUp()) return 1;
    while (cubesolve::runFrame()) {
    }
    cubesolve::shutDown();
    return 0;
}
