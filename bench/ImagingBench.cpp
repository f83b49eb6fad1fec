// Effects and gradient fills at the size of a card printed at 280 dpi.
#include "imaging/ColorSpec.h"
#include "imaging/Effector.h"
#include "imaging/GradFill.h"
#include "platform/PainterCanvas.h"

#include <benchmark/benchmark.h>

using namespace vellum;

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 600;

TDIB Noise() {
    TDIB dib(kWidth, kHeight, 24);
    uint32_t seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = dib.ScanLine(y);
        for (int i = 0; i < kWidth * 3; ++i) {
            seed = seed * 1103515245 + 12345;
            row[i] = uint8_t(seed >> 24);
        }
    }
    return dib;
}

void BM_Blur(benchmark::State& state) {
    const TDIB source = Noise();
    TGREffectBlur blur;
    blur.PassCount = int(state.range(0));
    for (auto _ : state) {
        TDIB target;
        blur.Source = &source;
        blur.Target = &target;
        blur.Run();
        benchmark::DoNotOptimize(target.ScanLine(0));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_Blur)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_GradientFill(benchmark::State& state) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    TColorSpec colorSpec;
    colorSpec.SetKind(TColorSpecKind::cskGradation);
    colorSpec.SetGradKind(rgGradationKind(state.range(0)));
    colorSpec.GradColors().SetColors({0x0000FF, 0x00FF00, 0xFF0000});
    for (auto _ : state) {
        TPainterCanvas canvas(image);
        colorSpec.Paint(canvas, {0, 0, kWidth, kHeight});
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_GradientFill)
    ->Arg(int(rgGradationKind::rgkSimple))
    ->Arg(int(rgGradationKind::rgkCircleToCenter))
    ->Arg(int(rgGradationKind::rgkConeClockwise))
    ->Unit(benchmark::kMillisecond);

} // namespace
