#include "imaging/BlendAlphaMapWithRatio.h"
#include "imaging/Blender.h"
#include "imaging/Effector.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vellum;

namespace {

// One row of grey pixels (all three channels equal) at 24 or 32 bits.
TDIB GreyRow(const std::vector<int>& values, int bitCount = 24) {
    TDIB dib(int(values.size()), 1, bitCount);
    const int bpp = bitCount / 8;
    uint8_t* row = dib.ScanLine(0);
    for (size_t i = 0; i < values.size(); ++i)
        for (int c = 0; c < 3; ++c) row[i * size_t(bpp) + size_t(c)] = uint8_t(values[i]);
    return dib;
}

// The blue channel of every pixel of row y; fails when the channels differ.
std::vector<int> Channels(const TDIB& dib, int y = 0) {
    std::vector<int> out;
    const int bpp = dib.BitCount() / 8;
    const uint8_t* row = dib.ScanLine(y);
    for (int x = 0; x < dib.Width(); ++x) {
        EXPECT_EQ(row[x * bpp], row[x * bpp + 1]);
        EXPECT_EQ(row[x * bpp], row[x * bpp + 2]);
        out.push_back(row[x * bpp]);
    }
    return out;
}

TDIB Apply(TGREffector& effector, const TDIB& source) {
    TDIB target;
    effector.Source = &source;
    effector.Target = &target;
    effector.Run();
    return target;
}

class TCountingProgress : public TProgressReceiver {
public:
    void SetSteps(int steps) override { Steps = steps; }
    void Step() override { ++Done; }
    int Steps = -1, Done = 0;
};

} // namespace

TEST(BlurTest, OnePassIsTheRoundedMeanWithReplicatedEdges) {
    TGREffectBlur blur;
    EXPECT_EQ(Channels(Apply(blur, GreyRow({0, 255}))), (std::vector<int>{85, 170}));
    EXPECT_EQ(Channels(Apply(blur, GreyRow({0, 255}, 32))), (std::vector<int>{85, 170}));
    // A single pixel counts three times in both directions: unchanged.
    EXPECT_EQ(Channels(Apply(blur, GreyRow({77}))), (std::vector<int>{77}));
}

TEST(BlurTest, RowsUseThemselvesAsTheMissingNeighbourRow) {
    TDIB column(1, 3, 24);
    for (int y = 0; y < 3; ++y) std::fill_n(column.ScanLine(y), 3, uint8_t(y == 0 ? 255 : 0));
    TGREffectBlur blur;
    const TDIB out = Apply(blur, column);
    // Sums 3 * (255 + 255 + 0), 3 * 255, 0: means 170, 85, 0.
    EXPECT_EQ(Channels(out, 0), std::vector<int>{170});
    EXPECT_EQ(Channels(out, 1), std::vector<int>{85});
    EXPECT_EQ(Channels(out, 2), std::vector<int>{0});
}

TEST(BlurTest, PassesRepeatAndTheRectangleIsCut) {
    TGREffectBlur blur;
    blur.PassCount = 2;
    // [85, 170] blurred again: sums 1020 and 1275.
    EXPECT_EQ(Channels(Apply(blur, GreyRow({0, 255}))), (std::vector<int>{113, 142}));
    TGREffectBlur part;
    part.SourceRect = {1, 0, 3, 1};
    EXPECT_EQ(Channels(Apply(part, GreyRow({255, 0, 255, 9}))), (std::vector<int>{85, 170}));
}

TEST(UnsharpMaskTest, SharpensAgainstTheBlurAndClamps) {
    TGREffectUnsharpMask sharpen;
    sharpen.Amount = 1;
    EXPECT_EQ(Channels(Apply(sharpen, GreyRow({100, 200, 100}))), (std::vector<int>{67, 255, 67}));
    sharpen.Amount = 0.4; // rounds to no pass: a copy
    EXPECT_EQ(Channels(Apply(sharpen, GreyRow({100, 200, 100}))), (std::vector<int>{100, 200, 100}));
}

TEST(EffectorTest, OtherFormatsAreLeftAloneAndProgressIsCounted) {
    TDIB grey(4, 1, 8);
    TDIB target(2, 2, 24);
    TGREffectBlur blur;
    blur.Source = &grey;
    blur.Target = &target;
    blur.Run();
    EXPECT_EQ(target.Width(), 2);

    TDIB tall(1, 130, 24);
    TCountingProgress progress;
    TGREffectBrightnessContrast light;
    light.Brightness = 10;
    light.Progress = &progress;
    Apply(light, tall);
    EXPECT_EQ(progress.Steps, 130 / 64 + 2);
    EXPECT_EQ(progress.Done, progress.Steps);
}

TEST(BrightnessContrastTest, FullContrastSplitsAtTheMiddleAndNoContrastIsGrey) {
    const auto hard = TGREffectBrightnessContrast::MakeTable(0, 100);
    for (int j = 0; j < 256; ++j) EXPECT_EQ(hard[size_t(j)], j <= 127 ? 0 : 255) << j;
    for (int brightness : {-100, -37, 0, 50, 100}) {
        const auto flat = TGREffectBrightnessContrast::MakeTable(brightness, -100);
        for (int j = 0; j < 256; ++j) EXPECT_EQ(flat[size_t(j)], 128) << brightness << " " << j;
    }
    const auto dark = TGREffectBrightnessContrast::MakeTable(-100, 0);
    for (int j = 0; j < 256; ++j) EXPECT_EQ(dark[size_t(j)], 0) << j;
    const auto same = TGREffectBrightnessContrast::MakeTable(0, 0);
    for (int j = 0; j < 256; ++j) EXPECT_EQ(same[size_t(j)], j) << j;
    // Out of range settings are clamped to +-100 percent.
    EXPECT_EQ(TGREffectBrightnessContrast::MakeTable(300, -250),
              TGREffectBrightnessContrast::MakeTable(100, -100));
}

TEST(BrightnessContrastTest, EntriesMatchExactArithmeticWhereDoublesFallShort) {
    // Inputs where the plain double computation truncates one below the exact value.
    struct TCase {
        int Brightness, Contrast, Input, Expected;
    };
    const TCase cases[] = {{-20, -60, 6, 59},   {-20, -20, 21, 2},   {-100, -60, 65, 1},
                           {-100, -84, 20, 70}, {-20, -28, 116, 83}, {-100, -76, 195, 83}};
    for (const TCase& c : cases)
        EXPECT_EQ(TGREffectBrightnessContrast::MakeTable(c.Brightness, c.Contrast)[size_t(c.Input)],
                  c.Expected)
            << c.Brightness << " " << c.Contrast << " " << c.Input;
    TGREffectBrightnessContrast light;
    light.Brightness = -20;
    light.Contrast = -20;
    EXPECT_EQ(Channels(Apply(light, GreyRow({21, 26}))), (std::vector<int>{2, 6}));
}

TEST(MonoToneTest, PureRedRunsFromBlackThroughRedToWhite) {
    const auto red = TGREffectMonoTone::MakeTable(0x0000FF);
    // 128 and 132 are where plain double truncation gives (255, 0, 0) and (254, 9, 9).
    struct TCase {
        int Index;
        TColor Expected;
    };
    for (const TCase& c : {TCase{0, 0x000000}, TCase{64, 0x000080}, TCase{127, 0x0000FE},
                           TCase{128, 0x0101FF}, TCase{132, 0x0909FF}, TCase{255, 0xFFFFFF}})
        EXPECT_EQ(red[size_t(c.Index)], c.Expected) << c.Index;
    const auto blue = TGREffectMonoTone::MakeTable(0x996633);
    EXPECT_EQ(blue[22], TColor(0x21160B)); // also short by one in plain doubles
    const auto grey = TGREffectMonoTone::MakeTable(0x808080);
    for (int j = 0; j < 256; ++j) EXPECT_EQ(grey[size_t(j)], TColor(j) * 0x010101) << j;
}

TEST(MonoToneTest, PixelsGoThroughTheLuminanceIndex) {
    TDIB row(2, 1, 32);
    uint8_t* p = row.ScanLine(0);
    const uint8_t pixels[8] = {255, 255, 255, 7, 0, 0, 255, 9}; // white; pure red (b, g, r)
    std::copy(pixels, pixels + 8, p);
    TGREffectMonoTone mono;
    mono.RefColor = 0x0000FF;
    const TDIB out = Apply(mono, row);
    const uint8_t* q = out.ScanLine(0);
    // White: index 255 -> white; red: (77 * 255) div 256 = 76.
    const auto table = TGREffectMonoTone::MakeTable(0x0000FF);
    EXPECT_EQ((std::vector<int>{q[0], q[1], q[2], q[3]}), (std::vector<int>{255, 255, 255, 7}));
    EXPECT_EQ(TColor(q[6]) | (TColor(q[5]) << 8) | (TColor(q[4]) << 16), table[76]);
    EXPECT_EQ(q[7], 9);
}

TEST(ColorChangeTest, OnlyTheExactColourChanges) {
    TDIB row(3, 1, 24);
    const uint8_t pixels[9] = {0x33, 0x22, 0x11, 0x33, 0x22, 0x12, 0, 0, 0};
    std::copy(pixels, pixels + 9, row.ScanLine(0));
    TGREffectColorChange change;
    change.OldColor = 0x332211;
    change.NewColor = 0x0000FF;
    const TDIB out = Apply(change, row);
    const uint8_t* q = out.ScanLine(0);
    EXPECT_EQ((std::vector<int>(q, q + 9)), (std::vector<int>{0, 0, 0xFF, 0x33, 0x22, 0x12, 0, 0, 0}));

    TDIB wide(2, 1, 32);
    const uint8_t bytes[8] = {0x33, 0x22, 0x11, 0, 0x33, 0x22, 0x11, 1}; // the second has a fourth byte
    std::copy(bytes, bytes + 8, wide.ScanLine(0));
    const TDIB out32 = Apply(change, wide);
    const uint8_t* w = out32.ScanLine(0);
    EXPECT_EQ((std::vector<int>(w, w + 8)), (std::vector<int>{0, 0, 0xFF, 0, 0x33, 0x22, 0x11, 1}));
}

TEST(BlendTest, AlphaMovesTheTargetTowardsTheSourceTruncating) {
    struct TCase {
        int Alpha, Source, Dest, Expected;
    };
    const TCase cases[] = {{100, 0, 200, 122}, {100, 200, 0, 78}, {0, 255, 3, 3}, {255, 0, 255, 0},
                           {255, 17, 200, 17}, {1, 255, 0, 1},    {128, 0, 1, 1}};
    for (const TCase& c : cases) {
        TDIB target = GreyRow({c.Dest});
        const TDIB source = GreyRow({c.Source});
        TDIB alpha(1, 1, 8);
        alpha.ScanLine(0)[0] = uint8_t(c.Alpha);
        TGRBlendAlphaMap blend;
        blend.Target = &target;
        blend.Source = &source;
        blend.AlphaMap = &alpha;
        blend.TargetRect = blend.SourceRect = blend.AlphaRect = {0, 0, 1, 1};
        blend.Blend();
        EXPECT_EQ(Channels(target), std::vector<int>{c.Expected})
            << c.Alpha << " " << c.Source << " " << c.Dest;
    }
}

TEST(BlendTest, RatioScalesTheAlphaAndMismatchesDoNothing) {
    EXPECT_EQ(RatioAlphaTable(50)[255], 128); // MulDiv rounds 127.5 up
    EXPECT_EQ(RatioAlphaTable(150)[200], 200);
    EXPECT_EQ(RatioAlphaTable(-5)[200], 0);

    TDIB target = GreyRow({200, 200, 200});
    const TDIB source = GreyRow({0, 0});
    TDIB alpha(2, 1, 8);
    alpha.ScanLine(0)[0] = 200;
    alpha.ScanLine(0)[1] = 255;
    TGRBlendAlphaMapRatio blend;
    blend.Target = &target;
    blend.Source = &source;
    blend.AlphaMap = &alpha;
    blend.Ratio = 50;
    blend.TargetRect = {1, 0, 3, 1};
    blend.SourceRect = blend.AlphaRect = {0, 0, 2, 1};
    blend.Blend();
    // Alpha 100 and 128: 200 - 78 and 200 - 100.
    EXPECT_EQ(Channels(target), (std::vector<int>{200, 122, 100}));

    TDIB wide = GreyRow({200, 200, 200}, 32);
    blend.Target = &wide; // formats differ
    EXPECT_FALSE(blend.CanBlend());
    blend.Target = &target;
    blend.TargetRect = {2, 0, 4, 1}; // outside the target
    EXPECT_FALSE(blend.CanBlend());
}

TEST(BlendTest, ThePlainFunctionBlendsIntoAnImageAtTheDeviceRectangle) {
    QImage dest(4, 2, QImage::Format_RGB32);
    dest.fill(QColor(200, 200, 200));
    TDIB image(2, 1, 24);
    std::fill_n(image.ScanLine(0), 6, uint8_t(0));
    TDIB mask(2, 1, 8);
    mask.ScanLine(0)[0] = 100;
    mask.ScanLine(0)[1] = 0;
    ASSERT_TRUE(BlendAlphaMapWithRatio(dest, image, mask, {2, 1, 4, 2}, 100));
    EXPECT_EQ(dest.pixel(2, 1), qRgb(122, 122, 122));
    EXPECT_EQ(dest.pixel(3, 1), qRgb(200, 200, 200));
    EXPECT_EQ(dest.pixel(2, 0), qRgb(200, 200, 200));
    // Partly outside: the visible part only, image offsets kept.
    ASSERT_TRUE(BlendAlphaMapWithRatio(dest, image, mask, {-1, 0, 1, 1}, 100));
    EXPECT_EQ(dest.pixel(0, 0), qRgb(200, 200, 200)); // mask pixel 1 is 0
    mask.ScanLine(0)[1] = 255;
    ASSERT_TRUE(BlendAlphaMapWithRatio(dest, image, mask, {-1, 0, 1, 1}, 100));
    EXPECT_EQ(dest.pixel(0, 0), qRgb(0, 0, 0));
    // The mask must be 8-bit and cover the rectangle.
    EXPECT_FALSE(BlendAlphaMapWithRatio(dest, image, image, {0, 0, 2, 1}, 100));
    EXPECT_FALSE(BlendAlphaMapWithRatio(dest, image, mask, {0, 0, 3, 1}, 100));
}
