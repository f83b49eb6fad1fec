#include "platform/PainterCanvas.h"
#include "platform/RecordingCanvas.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace vellum;

namespace {

// The same drawing on any canvas: mapped logical units, filled figures,
// clipped, with a hole subtracted from the clip.
void DrawScene(TCanvas& c) {
    c.SetMapMode(TMapMode::mmAnisotropic);
    c.SetWindowExt({127, 127});
    c.SetViewportExt({48, 48}); // 0.1 mm at 96 dpi
    c.SetWindowOrg({-30, -20});
    c.SetPen({.Style = TPenStyle::psClear});
    c.SetBrush({.Color = clBlack});
    c.Polygon({{0, 0}, {300, 40}, {260, 250}, {20, 200}});
    c.Ellipse({320, 10, 520, 170});
    c.SaveDC();
    c.IntersectClipRect({0, 260, 500, 380});
    c.BeginPath();
    c.Rectangle({100, 280, 200, 340});
    c.EndPath();
    c.SelectClipPath(TClipCombine::ccDiff);
    c.FillRect({-10, 240, 600, 400});
    c.RestoreDC(-1);
}

struct TEdge {
    QPointF a, b;
};

// Edges of the figures a recording logged, curves flattened finely.
std::vector<std::vector<QPointF>> LoggedPolygons(const TRecordingCanvas& rec) {
    std::vector<std::vector<QPointF>> out;
    for (const TCanvasRecord& r : rec.Records()) {
        if (r.Kind != TCanvasRecord::TKind::rkFigure || !r.Fill) continue;
        for (const QPolygonF& poly : r.Path.ToPainterPath(r.FillMode).toSubpathPolygons())
            out.emplace_back(poly.begin(), poly.end());
    }
    return out;
}

bool InsideEvenOdd(const std::vector<QPointF>& poly, QPointF p) {
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const QPointF a = poly[i], b = poly[j];
        if ((a.y() > p.y()) != (b.y() > p.y()) &&
            p.x() < (b.x() - a.x()) * (p.y() - a.y()) / (b.y() - a.y()) + a.x())
            inside = !inside;
    }
    return inside;
}

double DistanceToEdges(const std::vector<QPointF>& poly, QPointF p) {
    double best = 1e9;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const QPointF a = poly[j], d = poly[i] - poly[j];
        const double len2 = d.x() * d.x() + d.y() * d.y();
        double t = len2 > 0 ? ((p - a).x() * d.x() + (p - a).y() * d.y()) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const QPointF q = a + t * d - p;
        best = std::min(best, std::hypot(q.x(), q.y()));
    }
    return best;
}

// The pixel set the log describes: pixel centres inside a filled figure and
// inside the clip the figure was drawn with.
struct TExpected {
    const TRecordingCanvas& rec;
    std::vector<std::vector<QPointF>> polys = LoggedPolygons(rec);
    std::vector<std::optional<QRegion>> clips;
    std::vector<bool> curved;
    explicit TExpected(const TRecordingCanvas& r) : rec(r) {
        std::optional<QRegion> clip;
        for (const TCanvasRecord& x : rec.Records()) {
            if (x.Kind == TCanvasRecord::TKind::rkClip) clip = x.Clip;
            if (x.Kind == TCanvasRecord::TKind::rkFigure && x.Fill) {
                const size_t n = x.Path.ToPainterPath(x.FillMode).toSubpathPolygons().size();
                const bool curve = std::count(x.Path.Kinds.begin(), x.Path.Kinds.end(), PT_BEZIERTO) > 0;
                for (size_t i = 0; i < n; ++i) {
                    clips.push_back(clip);
                    curved.push_back(curve);
                }
            }
        }
    }
    // 1 = painted, 0 = not, -1 = too close to an edge to say. Straight
    // edges are exact; curves may be flattened a little differently. With a
    // margin of a pixel or more, clip edges are uncertain too.
    int At(int x, int y, double margin) const {
        const QPointF c(x + 0.5, y + 0.5);
        int result = 0;
        for (size_t i = 0; i < polys.size(); ++i) {
            if (clips[i] && margin >= 1) {
                const bool in = clips[i]->contains(QPoint(x, y));
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (clips[i]->contains(QPoint(x + dx, y + dy)) != in) return -1;
            }
            if (clips[i] && !clips[i]->contains(QPoint(x, y))) continue;
            if (DistanceToEdges(polys[i], c) < (curved[i] ? std::max(margin, 0.75) : margin)) return -1;
            if (InsideEvenOdd(polys[i], c)) result = 1;
        }
        return result;
    }
};

int CountMismatches(const QImage& image, const TExpected& expected, double margin, int* painted = nullptr) {
    int bad = 0, count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool black = qGray(image.pixel(x, y)) < 128;
            count += black;
            const int e = expected.At(x, y, margin);
            if (e >= 0 && e != int(black)) {
                ++bad;
                if (bad < 12) ADD_FAILURE() << "pixel " << x << "," << y << " black " << black;
            }
        }
    }
    if (painted) *painted = count;
    return bad;
}

QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

} // namespace

TEST(PainterCanvas, BitmapShowsExactlyTheLoggedIntegerGeometry) {
    TRecordingCanvas rec({0, 0, 240, 160});
    DrawScene(rec);
    QImage image(240, 160, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TPainterCanvas canvas(image);
        EXPECT_TRUE(canvas.HasAccessibleBits());
        EXPECT_FALSE(canvas.IsPrinter());
        DrawScene(canvas);
    }
    int painted = 0;
    // Pixel centres exactly on an edge are the only ones left out.
    EXPECT_EQ(CountMismatches(image, TExpected(rec), 1e-6, &painted), 0);
    EXPECT_GT(painted, 5000);
    // The hole subtracted from the clip: logical (100,280)-(200,340) less
    // the excluded right/bottom edge.
    const TPoint hole = rec.LPtoDP(TPoint{150, 310});
    EXPECT_EQ(qGray(image.pixel(hole.X, hole.Y)), 255);
}

TEST(PainterCanvas, PdfPageHasTheDrawnGeometry) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("scene.pdf");
    {
        QPdfWriter pdf(file);
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(91, 55), QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        TPainterCanvas canvas(pdf);
        EXPECT_TRUE(canvas.IsPrinter());
        EXPECT_FALSE(canvas.HasAccessibleBits());
        EXPECT_EQ(canvas.DpiY(), 96);
        EXPECT_EQ(canvas.PhysicalOffset(), (TPoint{0, 0}));
        EXPECT_EQ(canvas.PhysicalSize(), (TPoint{344, 208}));
        DrawScene(canvas);
    }
    const QString info = RunTool("pdfinfo", {file});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+258 x 156 pts"))) << info.toStdString();

    RunTool("pdftoppm",
            {"-r", "96", "-gray", "-aa", "no", "-aaVector", "no", "-singlefile", file, dir.filePath("page")});
    QImage page(dir.filePath("page.pgm"));
    ASSERT_FALSE(page.isNull());
    TRecordingCanvas rec({0, 0, 344, 208});
    DrawScene(rec);
    // The PDF renderer has its own pixel rules: allow one pixel at edges.
    int painted = 0;
    EXPECT_EQ(CountMismatches(page, TExpected(rec), 1.0, &painted), 0);
    EXPECT_GT(painted, 5000);
}

// Every card loads its own copy of a photo; the PDF keeps one.
TEST(PainterCanvas, APdfEmbedsAPictureDrawnAgainWithTheSamePixelsOnce) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("photos.pdf");
    const auto photo = [](int seed) {
        QImage image(64, 48, QImage::Format_RGB888);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 4, y * 5, seed));
        return image;
    };
    {
        QPdfWriter pdf(file);
        TPainterCanvas canvas(pdf);
        for (int page = 0; page < 3; ++page) {
            if (page > 0) pdf.newPage();
            for (int card = 0; card < 4; ++card) {
                const QImage copy = photo(7);
                canvas.StretchDrawDevice({card * 300, 0, card * 300 + 200, 150}, copy, {0, 0, 64, 48});
            }
            const QImage other = photo(9);
            canvas.StretchDrawDevice({0, 400, 200, 550}, other, {0, 0, 64, 48});
        }
    }
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.readAll().count("/Subtype /Image"), 2);
}

TEST(PainterCanvas, OnePixelLinesLeaveOutTheirLastPixel) {
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TPainterCanvas c(image);
        c.SetPen({.Width = 0});
        c.MoveTo(2, 3);
        c.LineTo(12, 3);
        c.Rectangle({2, 5, 8, 9});
    }
    for (int x = 0; x < 20; ++x) EXPECT_EQ(qGray(image.pixel(x, 3)) == 0, x >= 2 && x < 12) << x;
    // Rectangle outline on columns 2 and 7, rows 5 and 8.
    for (int x = 0; x < 20; ++x) EXPECT_EQ(qGray(image.pixel(x, 5)) == 0, x >= 2 && x <= 7) << x;
    for (int y = 5; y <= 8; ++y) EXPECT_EQ(qGray(image.pixel(7, y)), 0) << y;
    EXPECT_EQ(qGray(image.pixel(8, 6)), 255);
    EXPECT_EQ(qGray(image.pixel(5, 9)), 255);
}

TEST(PainterCanvas, XorPenDrawnTwiceLeavesTheBitmapAsItWas) {
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    const QImage before = image.copy();
    TPainterCanvas c(image);
    c.SetPen({.Style = TPenStyle::psDot, .Width = 0, .Color = clWhite, .Mode = TPenMode::pmXor});
    c.SetBrush({.Style = TBrushStyle::bsClear});
    c.Rectangle({2, 2, 25, 20});
    int inverted = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            if (image.pixel(x, y) == before.pixel(x, y)) continue;
            EXPECT_EQ(image.pixel(x, y), qRgb(245, 55, 225));
            ++inverted;
        }
    }
    EXPECT_GT(inverted, 20);
    c.Rectangle({2, 2, 25, 20});
    EXPECT_EQ(image, before);
}

TEST(PainterCanvas, CopyModesCombineSourceAndDestination) {
    struct Case {
        TCopyMode mode;
        QRgb dest, source, result;
    } cases[] = {
        {TCopyMode::cmSrcCopy, qRgb(0, 255, 0), qRgb(255, 0, 0), qRgb(255, 0, 0)},
        {TCopyMode::cmSrcAnd, qRgb(0, 255, 255), qRgb(255, 255, 0), qRgb(0, 255, 0)},
        {TCopyMode::cmSrcPaint, qRgb(0, 255, 0), qRgb(255, 0, 0), qRgb(255, 255, 0)},
        {TCopyMode::cmSrcInvert, qRgb(255, 255, 0), qRgb(255, 0, 0), qRgb(0, 255, 0)},
        {TCopyMode::cmNotSrcCopy, qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 255)},
        {TCopyMode::cmMergePaint, qRgb(0, 0, 255), qRgb(0, 255, 255), qRgb(255, 0, 255)},
    };
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_BGR888}) {
        for (const Case& k : cases) {
            QImage image(4, 4, format);
            image.fill(QColor::fromRgb(k.dest));
            QImage source(2, 2, QImage::Format_RGB32);
            source.fill(k.source);
            TPainterCanvas c(image);
            c.SetCopyMode(k.mode);
            c.Draw(1, 1, source);
            EXPECT_EQ(image.pixel(1, 1), k.result) << int(k.mode) << " format " << int(format);
            EXPECT_EQ(image.pixel(0, 0), k.dest);
        }
    }
}

TEST(PainterCanvas, HatchesRepeatEveryEightPixelsOverTheBackground) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TPainterCanvas c(image);
        c.SetPen({.Style = TPenStyle::psClear});
        c.SetBrush({.Style = TBrushStyle::bsCross, .Color = clBlack});
        c.FillRect({0, 0, 32, 32});
    }
    int black = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            black += qGray(image.pixel(x, y)) == 0;
            EXPECT_EQ(image.pixel(x, y), image.pixel(x + 8, y + 8));
        }
    }
    EXPECT_GT(black, 0);
    EXPECT_LT(black, 24 * 24 / 2);
}

TEST(PainterCanvas, EmptyClipDrawsNothingAndOuterClipOfAPainterHolds) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setClipRect(0, 0, 10, 20);
    {
        TPainterCanvas c(painter, TCanvasTarget::ctBitmap);
        EXPECT_TRUE(c.HasAccessibleBits());
        c.SetBrush({.Color = clBlack});
        c.SaveDC();
        c.IntersectClipRect({0, 0, 0, 0});
        c.FillRect({0, 0, 20, 20});
        EXPECT_EQ(qGray(image.pixel(5, 5)), 255);
        c.RestoreDC(-1);
        c.FillRect({0, 0, 20, 20});
    }
    painter.end();
    EXPECT_EQ(qGray(image.pixel(9, 5)), 0);
    EXPECT_EQ(qGray(image.pixel(10, 5)), 255); // outside the painter's own clip
}

TEST(PainterCanvas, ScreenSurfacesTakeXorButOfferNoBits) {
    QPixmap pixmap(10, 10);
    pixmap.fill(Qt::black);
    {
        TPainterCanvas c(static_cast<QPaintDevice&>(pixmap));
        EXPECT_EQ(c.Target(), TCanvasTarget::ctScreen);
        EXPECT_FALSE(c.IsPrinter());
        EXPECT_FALSE(c.HasAccessibleBits());
        EXPECT_TRUE(c.SupportsRasterOps());
        EXPECT_EQ(c.DeviceRect(), (TRect{0, 0, 10, 10}));
        c.SetResolution(300);
        EXPECT_EQ(c.DpiY(), 300);
        c.SetPen({.Width = 0, .Color = clWhite, .Mode = TPenMode::pmXor});
        c.MoveTo(0, 5);
        c.LineTo(10, 5);
    }
    const QImage image = pixmap.toImage();
    EXPECT_EQ(image.pixel(4, 5), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(4, 4), qRgb(0, 0, 0));
}

TEST(PainterCanvas, AClipAfterAnUnclippedStretchHolds) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    TPainterCanvas c(image);
    c.SetBrush({.Color = clBlack});
    // Clipped, then back to no clip, then a clip made of several rectangles.
    for (int round = 0; round < 2; ++round) {
        c.SaveDC();
        c.IntersectClipRect({0, 0, 5, 5});
        c.RestoreDC(-1);
        c.SaveDC();
        c.SetClipRegion(QRegion(0, 0, 20, 20).subtracted(QRegion(5, 5, 10, 10)));
        c.FillRect({0, 0, 20, 20});
        c.RestoreDC(-1);
        EXPECT_EQ(qGray(image.pixel(2, 2)), 0) << round;
        EXPECT_EQ(qGray(image.pixel(10, 10)), 255) << round; // the hole of the clip
        // An empty clip at that point draws nothing either.
        c.SetClipRegion(QRegion());
        c.FillRect({0, 0, 20, 20});
        c.SetClipRegion(std::nullopt);
        EXPECT_EQ(qGray(image.pixel(10, 10)), 255) << round;
    }
}
