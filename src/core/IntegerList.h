#pragma once
// A fixed-length tuple of integers, published as a sub-property by components.

#include "base/Persistent.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace vellum {

class TIntegerList : public TPersistent {
public:
    explicit TIntegerList(int count) : FValues(size_t(count > 0 ? count : 0), 0) {}
    VELLUM_CLASS(TIntegerList)

public:
    // Copies the values of a list of the same count; another count raises EIntegerList.
    void Assign(const TPersistent* source) override;

    int Count() const { return int(FValues.size()); }
    // An index outside 0 .. Count - 1 raises EIntegerList.
    int32_t Values(int i) const;
    void SetValues(int i, int32_t value);

    // Runs when a value changes.
    std::function<void(TIntegerList&)> OnChange;

private:
    void CheckIndex(int i) const;
    std::vector<int32_t> FValues;
};

} // namespace vellum
