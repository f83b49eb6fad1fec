#pragma once
// The quicksort the lists use: the middle element of each range is the
// pivot and equal elements may change places (not stable). Sorting with it
// keeps the order users know from earlier versions for equal keys.

#include <functional>
#include <utility>
#include <vector>

namespace vellum {

// compare(a, b) < 0 when a sorts before b.
template <class T>
void QuickSort(std::vector<T>& items, const std::function<int(const T&, const T&)>& compare) {
    // Ranges still to sort; the larger half waits, so the list stays short.
    std::vector<std::pair<int, int>> ranges;
    if (items.size() > 1) ranges.emplace_back(0, int(items.size()) - 1);
    while (!ranges.empty()) {
        auto [l, r] = ranges.back();
        ranges.pop_back();
        while (l < r) {
            int i = l;
            int j = r;
            const T pivot = items[size_t(l + (r - l) / 2)];
            do {
                while (compare(items[size_t(i)], pivot) < 0) ++i;
                while (compare(items[size_t(j)], pivot) > 0) --j;
                if (i <= j) {
                    if (i != j) std::swap(items[size_t(i)], items[size_t(j)]);
                    ++i;
                    --j;
                }
            } while (i <= j);
            // [l, j] and [i, r] are independent: sort the smaller one first.
            if (j - l < r - i) {
                if (i < r) ranges.emplace_back(i, r);
                r = j;
            } else {
                if (l < j) ranges.emplace_back(l, j);
                l = i;
            }
        }
    }
}

} // namespace vellum
