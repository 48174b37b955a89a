// The painter's order: the quick depth sort against the exchange sort as the rules state it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <utility>

#include "tests/cubie/test_support.h"

namespace cubie_test {
namespace {

// For each a and each later b, swap the two records (and their keys) when a's key is larger.
template <typename Record, typename Key>
void exchangeSort(Record* records, Key* key, int32_t count) {
    for (int32_t a = 0; a + 1 < count; ++a)
        for (int32_t b = a + 1; b < count; ++b)
            if (key[a] > key[b]) {
                std::swap(records[a], records[b]);
                std::swap(key[a], key[b]);
            }
}

// The records of scrambled puzzles with random keys from a narrow range (so that equal keys abound, where only the
// order of the exchanges decides), sorted both ways, then given new keys and sorted again from that order: the
// records must end in the same order. Key types and facet records as the cuboid programs and cubesolve use them.
template <CubieConfig C, typename Key>
void expectTheExchangeOrder(uint32_t seed) {
    using Facet = typename Model<C>::Facet;
    constexpr int32_t count = Model<C>::recordCount;
    std::mt19937 random(seed);
    auto quick = std::make_unique<Facet[]>(count), expected = std::make_unique<Facet[]>(count);
    auto quickKey = std::make_unique<Key[]>(count), expectedKey = std::make_unique<Key[]>(count);
    for (int32_t trial = 0; trial < 12; ++trial) {
        const int32_t n = 2 + trial % (C.maxGrid - 1);
        auto m = built<C>(n, n, n - trial % 2, n);
        seedRandom(*m, seed + trial);
        m->scrambleLeft = 10;
        while (m->scrambleLeft > 0 || m->turning) advanceTurn(*m);
        std::memcpy(quick.get(), m->facets, sizeof m->facets);
        std::memcpy(expected.get(), m->facets, sizeof m->facets);
        const int32_t spread = trial % 3 == 0 ? 3 : 400;
        for (int32_t pass = 0; pass < 2; ++pass) {
            for (int32_t r = 0; r < count; ++r)
                quickKey[r] = expectedKey[r] = static_cast<Key>(int32_t(random() % (2 * spread + 1)) - spread);
            sortByDepth(quick.get(), quickKey.get(), count);
            exchangeSort(expected.get(), expectedKey.get(), count);
            ASSERT_EQ(std::memcmp(quick.get(), expected.get(), count * sizeof(Facet)), 0)
                << "trial " << trial << ", pass " << pass << ": the records end in another order";
            ASSERT_EQ(std::memcmp(quickKey.get(), expectedKey.get(), count * sizeof(Key)), 0)
                << "trial " << trial << ", pass " << pass << ": the keys did not move with their records";
        }
    }
}

TEST(CubieDepthSort, GivesTheExchangeSortsOrderExactly) {
    expectTheExchangeOrder<cuboidAConfig, int32_t>(1);
    expectTheExchangeOrder<cuboidCConfig, int32_t>(2);
    expectTheExchangeOrder<halfSpanConfig, int16_t>(3);
}

}  // namespace
}  // namespace cubie_test
