#include "print/PhasedProgress.h"

#include <algorithm>

namespace vellum {

TPhasedProgressBase::TPhasedProgressBase() { FPhases.push_back({0, kRange, 0}); }

void TPhasedProgressBase::BeginPhase(int32_t minimum, int32_t maximum) {
    FPhases.push_back({minimum, std::max(minimum, maximum), minimum});
    Report(Position());
}

void TPhasedProgressBase::EndPhase() {
    if (FPhases.size() > 1) FPhases.pop_back();
    Report(Position());
}

void TPhasedProgressBase::Step() {
    TPhase& top = FPhases.back();
    if (top.Position <= top.Maximum) ++top.Position;
    Report(Position());
}

int32_t TPhasedProgressBase::Position() const {
    // The bottom phase counts directly; each inner phase divides its
    // parent's current step into its own steps.
    double low = std::clamp(FPhases.front().Position, 0, kRange);
    double high = kRange;
    for (size_t i = 1; i < FPhases.size(); ++i) {
        const TPhase& p = FPhases[i];
        const double steps = double(p.Maximum) - p.Minimum + 1;
        const double done = std::clamp(double(p.Position) - p.Minimum, 0.0, steps);
        const double width = high - low;
        high = low + width * std::min(steps, done + 1) / steps;
        low += width * done / steps;
    }
    return int32_t(std::clamp(low, 0.0, double(kRange)));
}

} // namespace vellum
