#include "cuboid/program.h"

int main() {
    if (!cuboid::startUp()) return 1;
    while (cuboid::runFrame()) {
    }
    cuboid::shutDown();
    return 0;
}
