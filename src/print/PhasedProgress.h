#pragma once
// Nested progress: a job announces phases (sheets, then the cards of a
// sheet, then the bands of a card) and steps through them; the whole job
// runs on 0..10000 and each step of a phase spans its share of the step of
// the phase around it.

#include <cstdint>
#include <vector>

namespace vellum {

class TPhasedProgressBase {
public:
    static constexpr int32_t kRange = 10000;

    TPhasedProgressBase();
    virtual ~TPhasedProgressBase() = default;

    // A phase of the steps minimum..maximum (maximum never below minimum)
    // inside the current step of the phase around it.
    void BeginPhase(int32_t minimum, int32_t maximum);
    void EndPhase();
    // The next step of the innermost phase.
    void Step();
    int Depth() const { return int(FPhases.size()); }
    // The whole job's position on 0..kRange.
    int32_t Position() const;

protected:
    // Told every new position; a window shows it and lets its events run.
    virtual void Report(int32_t position) {}

private:
    struct TPhase {
        int32_t Minimum;
        int32_t Maximum;
        int32_t Position;
    };
    std::vector<TPhase> FPhases;
};

} // namespace vellum
