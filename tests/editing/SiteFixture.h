#pragma once
// Shapes on a site, and a designer whose handles and ghosts record what the
// site asks of them.

#include "../core/CoreTestKinds.h"
#include "core/DODesigner.h"
#include "editing/DrawSite.h"
#include "editing/GhostList.h"

#include <memory>
#include <vector>

namespace vellum::test {

struct TGhostLog {
    std::vector<int> Handles; // the handle index of each ghost started
    int Starts = 0;
    int Finishes = 0;
    std::vector<TPoint> Deltas;
    std::vector<TShiftState> Shifts;
};

class TFakeGhost : public TGhost {
public:
    explicit TFakeGhost(TGhostLog& log) : FLog(log) {}
    void Start(TPoint) override { ++FLog.Starts; }
    void Draw(TCanvas&) override {}
    void Move(TShiftState shift, TPoint delta) override {
        FLog.Deltas.push_back(delta);
        FLog.Shifts.push_back(shift);
    }
    void Finish(TShiftState) override { ++FLog.Finishes; }

private:
    TGhostLog& FLog;
};

// One resize handle at the bottom-right corner (index 7); every ghost is fake.
class TFakeDesigner : public TDODesigner {
public:
    explicit TFakeDesigner(TGhostLog& log) : FLog(log) {}
    bool CreateHandles(TDrawObject* object) override;
    bool StartGhost(TDrawObject* object, int handleIndex) override;

private:
    TGhostLog& FLog;
};

// Registers the fake designer for the fixture's lifetime and leaves the
// ghost list empty.
class SiteTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    TGhostLog Ghosts;
    std::shared_ptr<TFakeDesigner> FDesigner;
};

// A card of 910 x 550 units at 96 dpi.
void SetUpCard(TDrawSite& site, int scale = 100);
// A shape owned by and placed on the site.
TTestShape& AddShape(TDrawSite& site, const TRect& frame, int32_t layerGroup = 0);

} // namespace vellum::test
