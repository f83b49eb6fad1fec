#include "SiteFixture.h"

#include "platform/PainterCanvas.h"
#include "platform/RecordingCanvas.h"

#include <QImage>

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

std::vector<TCanvasRecord> Figures(const TRecordingCanvas& canvas) {
    std::vector<TCanvasRecord> result;
    for (const TCanvasRecord& r : canvas.Records())
        if (r.Kind == TCanvasRecord::TKind::rkFigure) result.push_back(r);
    return result;
}

// A site never shown, with three shapes, one of them beyond the card's edge.
struct TPrintedSite {
    TDrawSite Site;
    TPrintedSite() {
        SetUpCard(Site);
        Site.SetBorder(false);
        AddShape(Site, {100, 100, 300, 250});
        AddShape(Site, {-50, 400, 127, 600});
        AddShape(Site, {500, 20, 899, 35});
    }
};

TEST(DrawTo, TheSameLogicalPrimitivesAtEveryScale) {
    TPrintedSite printed;
    // At 254 dpi a logical unit is one pixel at 100 % and four at 400 %.
    TRecordingCanvas at100({0, 0, 4000, 4000}, 254);
    TRecordingCanvas at400({0, 0, 4000, 4000}, 254);
    printed.Site.DrawTo(at100, {0, 0}, 100);
    printed.Site.DrawTo(at400, {0, 0}, 400);
    const auto small = Figures(at100);
    const auto large = Figures(at400);
    ASSERT_EQ(small.size(), 3u);
    ASSERT_EQ(large.size(), small.size());
    for (size_t i = 0; i < small.size(); ++i) {
        EXPECT_EQ(large[i].Figure, small[i].Figure);
        ASSERT_EQ(large[i].Path.Points.size(), small[i].Path.Points.size());
        for (size_t k = 0; k < small[i].Path.Points.size(); ++k) {
            const TPoint p = small[i].Path.Points[k];
            EXPECT_EQ(large[i].Path.Points[k], (TPoint{p.X * 4, p.Y * 4})) << i << "/" << k;
        }
    }
    EXPECT_EQ(small[0].Path.Points[0], (TPoint{100, 100}));
    // The site's own zoom is left alone.
    EXPECT_EQ(printed.Site.Scale(), 100);
    EXPECT_EQ(printed.Site.Width(), 344);
}

TEST(DrawTo, RenderedBitmapsScaleWithTheZoom) {
    TDrawSite site;
    SetUpCard(site);
    site.SetBorder(false);
    AddShape(site, {254, 254, 508, 381}); // one inch in, one inch wide
    const auto blackBox = [&](int scale) {
        QImage image(1400, 900, QImage::Format_RGB32);
        image.fill(Qt::white);
        TPainterCanvas canvas(image);
        canvas.SetResolution(96);
        site.DrawTo(canvas, {0, 0}, scale);
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == qRgb(0, 0, 0)) box |= QRect(x, y, 1, 1);
        return box;
    };
    EXPECT_EQ(blackBox(100), QRect(QPoint(96, 96), QPoint(191, 143)));
    EXPECT_EQ(blackBox(400), QRect(QPoint(384, 384), QPoint(767, 575)));
}

TEST(DrawTo, OriginBorderProgressAndPrinting) {
    TPrintedSite printed;
    TDrawSite& site = printed.Site;
    site.SetBorder(true);
    auto* hidden = static_cast<TTestShape*>(site.Child(1));
    hidden->SetDontPrint(true);
    std::vector<int> progress;
    site.OnDrawToProgress = [&](TDrawSite*, int index) { progress.push_back(index); };
    int painted = 0;
    site.OnPaint = [&](TDrawSite* s) {
        ++painted;
        EXPECT_NE(s->Canvas(), nullptr);
        EXPECT_TRUE(s->PaintingCopy());
    };

    TRecordingCanvas printer({0, 0, 5000, 5000}, 254, true);
    printer.SetPen({TPenStyle::psDash, 3, 0x123456});
    const TCoordMapping before = printer.Mapping();
    site.DrawTo(printer, {10, 20}, 400);
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(progress, (std::vector<int>{0, 1, 2}));
    const auto figures = Figures(printer);
    ASSERT_EQ(figures.size(), 3u); // two shapes and the border; DontPrint stays off paper
    EXPECT_EQ(figures[0].Path.Points[0], (TPoint{10 + 400, 20 + 400}));
    EXPECT_EQ(figures[2].Figure, TFigureKind::fkRectangle);
    EXPECT_EQ(figures[2].Path.Points[0], (TPoint{10, 20}));
    EXPECT_EQ(figures[2].Path.Points[2], (TPoint{10 + 3640 - 1, 20 + 2200 - 1}));
    // The canvas is handed back as it came.
    EXPECT_EQ(printer.Mapping(), before);
    EXPECT_EQ(printer.Pen().Style, TPenStyle::psDash);
    EXPECT_FALSE(printer.HasClip());
    EXPECT_EQ(site.Canvas(), nullptr);
    EXPECT_FALSE(site.PaintingCopy());
}

TEST(DrawTo, AFailingHandlerLeavesTheSiteAndCanvasRestored) {
    TPrintedSite printed;
    printed.Site.OnPaint = [](TDrawSite*) { throw std::runtime_error("no paper"); };
    TRecordingCanvas canvas({0, 0, 100, 100}, 96);
    EXPECT_THROW(printed.Site.DrawTo(canvas, {5, 5}, 200), std::runtime_error);
    EXPECT_EQ(canvas.Mapping(), TCoordMapping{});
    EXPECT_EQ(printed.Site.Canvas(), nullptr);
    EXPECT_FALSE(printed.Site.PaintingCopy());
}

} // namespace
} // namespace vellum::test
