// Text layout with the installed IPA faces: a three-line card text measured,
// placed and outlined, and ten card texts drawn at 400 % on a bitmap.

#include "objects/SimpleText.h"
#include "objects/Stroke.h"
#include "platform/PainterCanvas.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

using namespace vellum;

namespace {

void Fill(TSimpleText& text, int variant) {
    text.Font().SetName(QStringLiteral("ＭＳ Ｐ明朝"));
    text.Font().SetSize(10);
    text.Text().SetItems({QStringLiteral("株式会社ヴェラム 営業部 %1").arg(variant),
                          QStringLiteral("山田 太郎 (Taro Yamada)"),
                          QStringLiteral("〒100-0001 東京都千代田区千代田1-1 TEL 03-1234-5678")});
}

void BM_LayoutAndOutline(benchmark::State& state) {
    int variant = 0;
    for (auto _ : state) {
        TSimpleText text; // a fresh text: nothing cached but the engine's glyphs
        Fill(text, ++variant);
        TStroke outline;
        text.MakeOutline(outline, TRect{0, 0, 850, 500}, true);
        benchmark::DoNotOptimize(outline.Count());
    }
}
BENCHMARK(BM_LayoutAndOutline)->Unit(benchmark::kMicrosecond);

void BM_DrawTenTextsAt400Percent(benchmark::State& state) {
    std::vector<std::unique_ptr<TSimpleText>> texts;
    for (int i = 0; i < 10; ++i) {
        texts.push_back(std::make_unique<TSimpleText>());
        Fill(*texts.back(), i);
        texts.back()->SetVertical(i % 2 == 1);
    }
    // A 91 x 55 mm card at 400 % of a 96-dpi screen.
    QImage image(1376, 832, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        TPainterCanvas canvas(image);
        canvas.SetMapMode(TMapMode::mmAnisotropic);
        canvas.SetWindowExt({254, 254});
        canvas.SetViewportExt({384, 384});
        for (size_t i = 0; i < texts.size(); ++i)
            texts[i]->Draw(canvas, TRect{0, int32_t(i) * 50, 900, int32_t(i) * 50 + 550});
    }
}
BENCHMARK(BM_DrawTenTextsAt400Percent)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
