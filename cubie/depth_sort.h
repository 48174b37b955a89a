// The painter's order of the programs that draw on pages: the facet records sorted far to near by a depth key
// each, so that every facet is painted over those behind it.
#pragma once

#include <cstdint>
#include <utility>

namespace cubie {

namespace detail {

// First index b >= from with key[b] < v, or count. Blocks of sixteen are tested whole (the compiler turns the
// block test into a few vector compares), since most of the sort's comparisons swap nothing.
template <typename Key>
int32_t firstBelow(const Key* key, int32_t from, int32_t count, Key v) {
    int32_t b = from;
    while (b + 16 <= count) {
        bool any = false;
        for (int32_t t = 0; t < 16; ++t) any |= key[b + t] < v;
        if (any) break;
        b += 16;
    }
    while (b < count && !(key[b] < v)) ++b;
    return b;
}

}  // namespace detail

// Orders the records far to near by their keys (a larger key is nearer), each key moving with its record: the
// exchange sort (for each a and each later b, swap the two when a's key is larger), with the runs of b that cannot
// swap passed over quickly. Records of equal key end in the exchange sort's order exactly, so the picture does not
// depend on how fast the sort is.
template <typename Record, typename Key>
void sortByDepth(Record* records, Key* key, int32_t count) {
    for (int32_t a = 0; a + 1 < count; ++a) {
        for (int32_t b = detail::firstBelow(key, a + 1, count, key[a]); b < count;
             b = detail::firstBelow(key, b + 1, count, key[a])) {
            std::swap(records[a], records[b]);
            std::swap(key[a], key[b]);
        }
    }
}

}  // namespace cubie
