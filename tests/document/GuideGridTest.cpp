#include "base/Exceptions.h"
#include "base/Stream.h"
#include "document/Grid.h"
#include "document/Guide.h"

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

TEST(Grid, SnapsToTheNearestCrossingWithHalvesUpward) {
    TGrid grid;
    grid.SetSize(50);
    EXPECT_FALSE(grid.Snap(TPoint{124, 0}).DX.has_value());
    grid.SetEnabled(true);
    const struct {
        int32_t V, D;
    } cases[] = {{124, -24}, {125, 25}, {0, 0}, {150, 0}, {-24, 24}, {-30, 30}, {-80, 30}};
    for (const auto& c : cases) {
        const TSnapOffset snap = grid.Snap(TPoint{c.V, c.V});
        ASSERT_TRUE(snap.DX && snap.DY) << c.V;
        EXPECT_EQ(*snap.DX, c.D) << c.V;
        EXPECT_EQ(*snap.DY, c.D) << c.V;
    }
    // A spacing read from a damaged document snaps nothing instead of dividing by zero.
    for (int32_t size : {0, -50}) {
        grid.SetSize(size);
        const TSnapOffset snap = grid.Snap(TPoint{124, 124});
        EXPECT_FALSE(snap.DX || snap.DY) << size;
    }
}

TEST(Guide, SnapsAndHitsPerAxisAndOnlyWhileEnabled) {
    TGuide guide;
    guide.Set(0, TPoint{100, 0});
    guide.Set(1, TPoint{104, 0});
    guide.Set(2, TPoint{0, 300});
    guide.Set(3, TPoint{50, 50}); // neither vertical nor horizontal
    EXPECT_FALSE(guide.Snap(TPoint{103, 298}, 10).DX.has_value());
    EXPECT_EQ(guide.HitTest(100, 0, 5), -1);
    guide.SetEnabled(true);

    TSnapOffset snap = guide.Snap(TPoint{103, 298}, 10);
    EXPECT_EQ(snap.DX, std::optional<int32_t>(1));
    EXPECT_EQ(snap.DY, std::optional<int32_t>(2));
    snap = guide.Snap(TPoint{50, 50}, 10);
    EXPECT_FALSE(snap.DX || snap.DY);
    snap = guide.Snap(TPoint{90, 311}, 10);
    EXPECT_EQ(snap.DX, std::optional<int32_t>(10));
    EXPECT_FALSE(snap.DY.has_value());

    EXPECT_EQ(guide.HitTest(102, 0, 2), 0);
    EXPECT_EQ(guide.HitTest(106, 0, 2), 1);
    EXPECT_EQ(guide.HitTest(0, 299, 2), 2);
    EXPECT_EQ(guide.HitTest(50, 50, 2), -1);
    EXPECT_EQ(guide.FirstFree(), 4);
    EXPECT_THROW(guide.Set(10, TPoint{1, 0}), EListError);
}

TEST(Guide, ClipEmptiesGuidesOutsideAndDisablesWhenNoneIsLeft) {
    TGuide guide;
    guide.SetEnabled(true);
    guide.Set(0, TPoint{910, 0});
    guide.Set(1, TPoint{911, 0});
    guide.Set(2, TPoint{0, -1});
    guide.Set(3, TPoint{5, 5});
    guide.Set(4, TPoint{0, 550});
    guide.Clip(TRect{0, 0, 910, 550});
    EXPECT_EQ(guide.Get(0), (TPoint{910, 0}));
    for (int i : {1, 2, 3}) EXPECT_EQ(guide.Get(i), (TPoint{0, 0})) << i;
    EXPECT_EQ(guide.Get(4), (TPoint{0, 550}));
    EXPECT_TRUE(guide.Enabled());
    guide.Clip(TRect{0, 0, 100, 100});
    EXPECT_TRUE(guide.IsEmpty());
    EXPECT_FALSE(guide.Enabled());
}

TEST(Guide, PositionsAreTenPairsAndAReadCapsTheCount) {
    TGuide guide;
    guide.Set(1, TPoint{0, 7});
    TMemoryStream out;
    guide.WritePositions(out);
    ASSERT_EQ(out.Size(), 4 + 10 * 8);
    const QByteArray bytes = out.Data();
    EXPECT_EQ(bytes.left(4), QByteArray("\x0A\0\0\0", 4));
    EXPECT_EQ(bytes.mid(12, 8), QByteArray("\0\0\0\0\x07\0\0\0", 8));

    // Twelve pairs claimed and present: ten are taken.
    TMemoryStream many;
    WriteI32(many, 12);
    for (int i = 1; i <= 12; ++i) {
        WriteI32(many, i);
        WriteI32(many, 0);
    }
    many.SetPosition(0);
    TGuide read;
    read.ReadPositions(many);
    EXPECT_EQ(read.Get(9), (TPoint{10, 0}));
    EXPECT_EQ(read.FirstFree(), -1);

    // Fewer pairs than claimed: refused, the slots stay.
    TMemoryStream few;
    WriteI32(few, 3);
    WriteI32(few, 1);
    WriteI32(few, 0);
    few.SetPosition(0);
    EXPECT_THROW(read.ReadPositions(few), EReadError);
    EXPECT_EQ(read.Get(9), (TPoint{10, 0}));

    TMemoryStream none;
    WriteI32(none, -5);
    none.SetPosition(0);
    read.ReadPositions(none);
    EXPECT_TRUE(read.IsEmpty());
}

} // namespace
} // namespace vellum::test
