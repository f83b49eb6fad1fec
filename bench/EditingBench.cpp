// Repainting a card on screen and drawing it for print, with 50 objects.
#include "../tests/core/CoreTestKinds.h"
#include "platform/PainterCanvas.h"
#include "ui/DrawSiteView.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

using namespace vellum;

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_editing";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// A 91 x 55 mm card with 50 shapes in a grid, a few overlapping, one selected.
void FillCard(TDrawSite& site, int scale) {
    site.SetDeviceDPI(96);
    site.Scaler().SetScale(scale);
    site.SetLogWidth(910);
    site.SetLogHeight(550);
    for (int i = 0; i < 50; ++i) {
        auto* shape = new test::TTestShape(&site);
        const int32_t x = 20 + (i % 10) * 88, y = 20 + (i / 10) * 105;
        shape->SetRect({x, y, x + 100, y + 80});
        site.PlaceObject(*shape);
    }
    static_cast<TDrawObject*>(site.Child(0))->SetSelected(true);
    site.RefreshHandles();
}

void BM_RepaintView(benchmark::State& state) {
    App();
    TDrawSiteView view;
    FillCard(view.Site(), int(state.range(0)));
    view.Site().SetDoubleBuffered(state.range(1) != 0);
    view.show();
    QApplication::processEvents();
    for (auto _ : state) view.repaint();
    state.SetItemsProcessed(int64_t(state.iterations()) * 50);
    state.counters["pixels"] = double(view.width()) * view.height();
}
BENCHMARK(BM_RepaintView)
    ->ArgNames({"scale", "buffered"})
    ->ArgsProduct({{100, 400}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

void BM_DrawToBitmap(benchmark::State& state) {
    App();
    TDrawSite site;
    FillCard(site, 100);
    const int scale = int(state.range(0));
    const TRect size = TScaleRatio{96, scale, UnitDPI}.ToDevice(TRect{0, 0, 910, 550});
    QImage image(size.Width(), size.Height(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        TPainterCanvas canvas(image);
        canvas.SetResolution(96);
        site.DrawTo(canvas, {0, 0}, scale);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 50);
}
BENCHMARK(BM_DrawToBitmap)->ArgName("scale")->Arg(100)->Arg(400)->Unit(benchmark::kMicrosecond);

} // namespace
