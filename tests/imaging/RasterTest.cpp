#include "imaging/AALine.h"
#include "imaging/QuadMap.h"
#include "imaging/Resample.h"
#include "imaging/SafetyBitmap.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vellum;

namespace {

TDIB Grey(int w, int h, const std::vector<int>& values) {
    TDIB dib(w, h, 8);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) dib.SetRawPixel(x, y, uint32_t(values[size_t(y * w + x)]));
    return dib;
}

std::vector<int> Values(const TDIB& dib) {
    std::vector<int> out;
    for (int y = 0; y < dib.Height(); ++y)
        for (int x = 0; x < dib.Width(); ++x) out.push_back(int(dib.RawPixel(x, y)));
    return out;
}

std::vector<int> Row(const TDIB& dib, int y) {
    std::vector<int> out;
    for (int x = 0; x < dib.Width(); ++x) out.push_back(int(dib.RawPixel(x, y)));
    return out;
}

} // namespace

TEST(AALineTest, AHorizontalLineCoversItsRowAndTakesTheMaximum) {
    TDIB map(10, 5, 8);
    TAALineAlphaMap line(map);
    line.MoveTo(1, 2);
    line.LineTo(8, 2);
    EXPECT_EQ(Row(map, 2), (std::vector<int>{0, 255, 255, 255, 255, 255, 255, 255, 255, 0}));
    // W + R = 1: the neighbour rows at distance 1 lie just outside the reach.
    EXPECT_EQ(Row(map, 1), std::vector<int>(10, 0));
    const std::vector<int> once = Values(map);
    line.MoveTo(1, 2);
    line.LineTo(8, 2);
    EXPECT_EQ(Values(map), once);

    // A wider line: the neighbours at distance 1 get half the filter disc.
    TDIB wide(10, 5, 8);
    TAALineAlphaMap thick(wide);
    thick.SetHalfWidth(1.0);
    thick.MoveTo(1, 2);
    thick.LineTo(8, 2);
    EXPECT_EQ(Row(wide, 2)[4], 255);
    EXPECT_EQ(Row(wide, 1)[4], 128);
    EXPECT_EQ(Row(wide, 3)[4], 128);
    EXPECT_EQ(Row(wide, 0)[4], 0);
}

TEST(AALineTest, SteepLinesDotsAndPointsStayInsideTheMap) {
    TDIB map(5, 10, 8);
    TAALineAlphaMap line(map);
    line.MoveTo(2, -3);
    line.LineTo(2, 20); // clipped by the map
    for (int y = 0; y < 10; ++y) EXPECT_EQ(int(map.RawPixel(2, y)), 255) << y;
    TDIB dots(5, 5, 8);
    TAALineAlphaMap pen(dots);
    pen.Dot(2, 2); // the default kernel is one pixel wide: nothing
    EXPECT_EQ(Values(dots), std::vector<int>(25, 0));
    pen.MoveTo(2, 2);
    pen.LineTo(2, 2);
    EXPECT_EQ(int(dots.RawPixel(2, 2)), 255);
    pen.SetHalfWidth(1.5);
    EXPECT_EQ(pen.DotHalfSize(), 1); // W + R = 1.9: offsets of 2 lie beyond it
    pen.Dot(2, 2);
    EXPECT_EQ(int(dots.RawPixel(1, 2)), 255);
    EXPECT_GT(int(dots.RawPixel(1, 1)), 0); // at distance 1.41 the disc is partly inside
    EXPECT_LT(int(dots.RawPixel(1, 1)), 255);
    EXPECT_EQ(int(dots.RawPixel(0, 0)), 0);
}

TEST(ResampleTest, LinearEnlargingRepeatsTheEdgePixels) {
    const TDIB source = Grey(2, 2, {0, 100, 200, 255});
    const TDIB out =
        ResampleBitmap(source, {0, 0, 2, 2}, 4, 4, TEdgeMode::emRepeat, TResampleFilter::rfLinear);
    ASSERT_EQ(out.BitCount(), 8);
    EXPECT_EQ(Row(out, 0), (std::vector<int>{0, 50, 100, 100}));
    EXPECT_EQ(Row(out, 1), (std::vector<int>{100, 139, 178, 178}));
    EXPECT_EQ(Row(out, 2), (std::vector<int>{200, 228, 255, 255}));
    EXPECT_EQ(Row(out, 3), Row(out, 2));
}

TEST(ResampleTest, NearestBoxAndEdgeModes) {
    const TDIB row = Grey(4, 1, {0, 100, 200, 255});
    EXPECT_EQ(Values(
                  ResampleBitmap(row, {0, 0, 4, 1}, 8, 1, TEdgeMode::emRepeat, TResampleFilter::rfNearest)),
              (std::vector<int>{0, 0, 100, 100, 200, 200, 255, 255}));
    EXPECT_EQ(Values(ResampleBitmap(row, {0, 0, 4, 1}, 2, 1, TEdgeMode::emRepeat, TResampleFilter::rfLinear)),
              (std::vector<int>{50, 228}));
    // Beyond the rectangle {1, 3}: the bitmap's next pixel, or the start again.
    EXPECT_EQ(Values(ResampleBitmap(row, {1, 0, 3, 1}, 4, 1, TEdgeMode::emBeyond, TResampleFilter::rfLinear)),
              (std::vector<int>{100, 150, 200, 228}));
    EXPECT_EQ(Values(ResampleBitmap(row, {1, 0, 3, 1}, 4, 1, TEdgeMode::emWrap, TResampleFilter::rfLinear)),
              (std::vector<int>{100, 150, 200, 150}));
    EXPECT_EQ(Values(ResampleBitmap(row, {1, 0, 3, 1}, 4, 1, TEdgeMode::emRepeat, TResampleFilter::rfCubic)),
              (std::vector<int>{100, 150, 200, 206})); // the cubic overshoots past the edge
    // A rectangle reaching outside the source is refused.
    EXPECT_TRUE(
        ResampleBitmap(row, {2, 0, 5, 1}, 4, 1, TEdgeMode::emRepeat, TResampleFilter::rfLinear).Empty());
}

TEST(GaussianTest, FlatAreasStayAndAZeroRadiusLeavesItsDirection) {
    TDIB flat = Grey(20, 3, std::vector<int>(60, 100));
    GaussianBlur(flat, {0, 0, 20, 3}, 4, 4);
    EXPECT_EQ(Values(flat), std::vector<int>(60, 100));

    std::vector<int> impulse(21 * 5, 0);
    impulse[2 * 21 + 10] = 255;
    TDIB spot = Grey(21, 5, impulse);
    GaussianBlur(spot, {0, 0, 21, 5}, 3, 0);
    EXPECT_EQ(Row(spot, 1), std::vector<int>(21, 0)); // no vertical spread
    const std::vector<int> row = Row(spot, 2);
    EXPECT_EQ(*std::max_element(row.begin(), row.end()), row[10]);
    for (int k = 1; k <= 10; ++k) EXPECT_NEAR(row[size_t(10 - k)], row[size_t(10 + k)], 1) << k;
    EXPECT_GT(row[7], 0); // spread by the radius
    EXPECT_LE(row[5], 1); // and falling to about 1/255 at radius + 1... and beyond
}

TEST(ScanTest, SpansRunBetweenPixelCentresWithInterpolatedAttributes) {
    const TScanVertex square[4] = {{0, 0, {0, 0, 0}},
                                   {0, 2, {0, 2, 0}},
                                   {4, 2, {4, 2, 0}},
                                   {4, 0, {4, 0, 0}}};
    std::vector<std::string> spans;
    ScanConvexPolygon(square, 4, 3, {0, 0, 100, 100},
                      [&](int y, int x0, int x1, const std::array<double, 3>& a,
                          const std::array<double, 3>& d) {
                          spans.push_back(std::to_string(y) + ":" + std::to_string(x0) + "-" +
                                          std::to_string(x1) + " u" + std::to_string(a[0]).substr(0, 3) +
                                          "+" + std::to_string(d[0]).substr(0, 3) + " v" +
                                          std::to_string(a[1]).substr(0, 3));
                      });
    EXPECT_EQ(spans, (std::vector<std::string>{"0:0-3 u0.5+1.0 v0.5", "1:0-3 u0.5+1.0 v1.5"}));
    spans.clear();
    ScanConvexPolygon(square, 4, 1, {1, 1, 3, 100}, [&](int y, int x0, int x1, auto&, auto&) {
        spans.push_back(std::to_string(y) + ":" + std::to_string(x0) + "-" + std::to_string(x1));
    });
    EXPECT_EQ(spans, (std::vector<std::string>{"1:1-2"}));
}

TEST(QuadMapTest, RotationByZeroReproducesAndByNinetyTurnsClockwise) {
    TDIB source(3, 2, 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) source.SetRawPixel(x, y, uint32_t(10 * y + x + 1));
    TPictureEx picture;
    auto bitmap = std::make_unique<TSafetyBitmap>();
    bitmap->SetDIB(source);
    picture.SetGraphic(std::move(bitmap));

    TPictureEx same;
    EXPECT_EQ(RotateImage(picture, same, 0, clWhite, 3, 2), Rect(0, 0, 3, 2));
    const TDIB copy = same.Graphic()->Raster();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(copy.RawPixel(x, y), source.RawPixel(x, y)) << x << "," << y;

    TPictureEx turned;
    EXPECT_EQ(RotateImage(picture, turned, 90, clWhite, 3, 2), Rect(-2, 0, 0, 3));
    const TDIB t = turned.Graphic()->Raster();
    ASSERT_EQ(t.Width(), 2);
    ASSERT_EQ(t.Height(), 3);
    // Target (tx, ty) shows source (ty, 1 - tx).
    for (int ty = 0; ty < 3; ++ty)
        for (int tx = 0; tx < 2; ++tx)
            EXPECT_EQ(t.RawPixel(tx, ty), source.RawPixel(ty, 1 - tx)) << tx << "," << ty;
}

TEST(QuadMapTest, BothSourceCoordinatesAreClampedAndMarginsGetTheBackground) {
    // A source rectangle larger than the bitmap: reads stop at its last row and column.
    const TDIB source = Grey(2, 2, {1, 2, 3, 4});
    TDIB target;
    const TRect box =
        MapRectToQuad(target, source, {0, 0, 4, 4}, {TPoint{0, 0}, {0, 4}, {4, 4}, {4, 0}}, clBlack);
    EXPECT_EQ(box, Rect(0, 0, 4, 4));
    EXPECT_EQ(Values(target), (std::vector<int>{1, 2, 2, 2, 3, 4, 4, 4, 3, 4, 4, 4, 3, 4, 4, 4}));

    // A diamond leaves the bounding box's corners in the background.
    TDIB diamond;
    MapRectToQuad(diamond, source, {0, 0, 2, 2}, {TPoint{2, 0}, {0, 2}, {2, 4}, {4, 2}}, clWhite);
    EXPECT_EQ(int(diamond.RawPixel(0, 0)), 255);
    EXPECT_EQ(int(diamond.RawPixel(3, 3)), 255);
    EXPECT_NE(int(diamond.RawPixel(2, 2)), 255);
}

TEST(QuadMapTest, ATransparentPictureTurnsWithItsMask) {
    TDIB source(2, 1, 24);
    source.SetRawPixel(0, 0, 0xFFFFFF);
    source.SetRawPixel(1, 0, 0x000000);
    auto bitmap = std::make_unique<TSafetyBitmap>();
    bitmap->SetDIB(source);
    bitmap->SetTransparentColor(clWhite);
    bitmap->SetTransparent(true);
    TPictureEx picture;
    picture.SetGraphic(std::move(bitmap));
    TPictureEx turned;
    RotateImage(picture, turned, 90, clBlack, 2, 1);
    const auto* out = dynamic_cast<const TSafetyBitmap*>(turned.Graphic());
    ASSERT_TRUE(out);
    EXPECT_TRUE(out->Transparent());
    const TDIB mask = out->GetMask();
    ASSERT_EQ(mask.Width(), 1);
    ASSERT_EQ(mask.Height(), 2);
    EXPECT_EQ(mask.RawPixel(0, 0), 1u); // the white pixel, now on top
    EXPECT_EQ(mask.RawPixel(0, 1), 0u);
}
