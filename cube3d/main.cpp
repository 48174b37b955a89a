#include "cube3d/program.h"

int main() {
    if (!cube3d::startUp()) return 1;
    while (cube3d::runFrame()) {
    }
    cube3d::shutDown();
    return 0;
}
