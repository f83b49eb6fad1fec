#include "render/CardRenderer.h"

#include "../core/CoreTestKinds.h"
#include "core/DOList.h"
#include "paper/FaceInfo.h"
#include "platform/PainterCanvas.h"
#include "platform/ScreenDPI.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace vellum::test {
namespace {

// Records which watched components were freed.
class TFreeLog : public TComponent {
public:
    void Watch(TComponent& component) { component.FreeNotification(this); }
    std::multiset<const TComponent*> Freed;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove) Freed.insert(component);
    }
};

// A shape without owner, as a card reader hands it out.
std::unique_ptr<TTestShape> Shape(const TRect& frame) {
    auto shape = std::make_unique<TTestShape>(nullptr);
    shape->SetRect(frame);
    return shape;
}

// A 910 x 550 face placed somewhere on its sheet.
TFaceInfo Face(TFaceShape shape = TFaceShape::fsRect) {
    TFaceInfo face;
    face.FaceRect = {300, 700, 1210, 1250};
    face.Shape = shape;
    return face;
}

QRect BlackBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(0, 0, 0)) box |= QRect(x, y, 1, 1);
    return box;
}

const QRgb kRed = qRgb(255, 0, 0);
constexpr TColor kRedBrush = 0x0000FF;

// The test main runs on the offscreen platform, whose screen has 96 dpi.
TEST(RenderObjects, BitmapIs24BitOfTheSitesPixelSizeAtTheScale) {
    ASSERT_EQ(ScreenDPI(), 96);
    const struct {
        int Scale;
        QSize Size;
    } cases[] = {{100, {344, 208}}, {200, {688, 416}}, {50, {172, 104}}};
    for (const auto& c : cases) {
        TOwnedDOList list;
        QImage bitmap;
        RenderObjectsToBitmap(Face(), list, bitmap, c.Scale);
        EXPECT_EQ(bitmap.size(), c.Size) << c.Scale;
        EXPECT_EQ(bitmap.depth(), 24) << c.Scale;
        EXPECT_EQ(bitmap.dotsPerMeterX(), 3780) << c.Scale;
        // Nothing drawn: the site's white, and the face covers every pixel.
        EXPECT_EQ(bitmap.pixel(0, 0), qRgb(255, 255, 255));
    }
}

TEST(RenderObjects, ObjectsLandInCardCoordinatesWhereverTheFaceSits) {
    TOwnedDOList list;
    list.Give(Shape({254, 254, 508, 381})); // one inch in, one inch wide
    QImage bitmap;
    RenderObjectsToBitmap(Face(), list, bitmap, 100);
    EXPECT_EQ(BlackBox(bitmap), QRect(QPoint(96, 96), QPoint(191, 143)));

    // With a bleed the card's origin is the bleed's corner and the bitmap grows by it.
    TFaceInfo bleed = Face();
    bleed.Margin = 127;
    list.Give(Shape({254, 254, 508, 381}));
    RenderObjectsToBitmap(bleed, list, bitmap, 200);
    EXPECT_EQ(bitmap.size(), QSize(MulDiv(910 + 254, 192, 254), MulDiv(550 + 254, 192, 254)));
    EXPECT_EQ(BlackBox(bitmap), QRect(QPoint(192, 192), QPoint(383, 287)));
}

TEST(RenderObjects, OutsideTheFaceShapeTakesTheBrush) {
    const struct {
        TFaceShape Shape;
        bool CornerInside;
        bool CentreInside;
    } cases[] = {
        {TFaceShape::fsRect, true, true},
        {TFaceShape::fsRoundRect, false, true},
        {TFaceShape::fsEllipse, false, true},
        {TFaceShape::fsRectCD, false, false}, // rounded, with the cut centre
        {TFaceShape::fsDoughnut, false, false},
    };
    for (const auto& c : cases) {
        TOwnedDOList list;
        list.Give(Shape({-100, -100, 1100, 700})); // beyond the card on every side
        QImage bitmap;
        RenderObjectsToBitmap(Face(c.Shape), list, bitmap, 100, kRedBrush);
        const int shape = int(c.Shape);
        ASSERT_EQ(bitmap.size(), QSize(344, 208)) << shape;
        for (const QPoint corner : {QPoint(0, 0), QPoint(343, 0), QPoint(0, 207), QPoint(343, 207)})
            EXPECT_EQ(bitmap.pixel(corner), c.CornerInside ? qRgb(0, 0, 0) : kRed) << shape;
        EXPECT_EQ(bitmap.pixel(172, 104), c.CentreInside ? qRgb(0, 0, 0) : kRed) << shape;
        // A point inside the face shape, off the hole, is always drawn.
        EXPECT_EQ(bitmap.pixel(40, 104), qRgb(0, 0, 0)) << shape;
    }
}

TEST(RenderObjects, TheListAndItsObjectsStayAsTheyWere) {
    TFreeLog log;
    TOwnedDOList owning;
    TComponent formerOwner;
    TTestShape* owned = new TTestShape(&formerOwner);
    TTestShape& loose = owning.Give(Shape({0, 0, 10, 10}));
    TDOList list;
    list.Add(owned);
    list.Add(&loose);
    log.Watch(*owned);
    log.Watch(loose);
    QImage bitmap;
    RenderObjectsToBitmap(Face(), list, bitmap, 100);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_TRUE(log.Freed.empty());
    EXPECT_EQ(owned->Owner(), &formerOwner);
    EXPECT_EQ(loose.Owner(), nullptr);
    EXPECT_EQ(owned->Parent(), nullptr);
    EXPECT_EQ(owning.Count(), 1);

    // A drawing that fails raises and leaves the list alone.
    TTestShape& failing = owning.Give(Shape({0, 0, 10, 10}));
    failing.FailPaint = true;
    list.Add(&failing);
    EXPECT_THROW(RenderObjectsToBitmap(Face(), list, bitmap, 100), std::runtime_error);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_TRUE(log.Freed.empty());
}

TEST(RenderObjects, ImagesAreRenderedAtTheTargetWidthsZoomAndFitted) {
    const struct {
        int Width, Height;
        QSize Size;
    } cases[] = {
        {-1, -1, {344, 208}},      // 100 %, as it comes
        {172, 200, {172, 104}},    // 50 %, fits as it is
        {172, 52, {86, 52}},       // 50 %, fitted to the height
        {1000, 1000, {1000, 605}}, // capped at 100 %, then stretched to the width
    };
    for (const auto& c : cases) {
        TOwnedDOList list;
        list.Give(Shape({0, 0, 455, 550})); // the left half black
        const QImage image = RenderObjectsToImage(Face(), list, c.Width, c.Height, kRedBrush);
        EXPECT_EQ(image.size(), c.Size) << c.Width << "x" << c.Height;
        EXPECT_EQ(image.depth(), 24);
        EXPECT_EQ(image.pixel(1, c.Size.height() / 2), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(c.Size.width() - 2, c.Size.height() / 2), qRgb(255, 255, 255));
    }
}

// A shape that paints itself in a colour of its own.
class TColourShape : public TTestShape {
public:
    TColor Colour = clBlack;

protected:
    void Paint(TCanvas& canvas, const TRenderContext&) const override {
        canvas.SetBrush({TBrushStyle::bsSolid, Colour});
        canvas.FillRect(FrameRect());
    }
};

std::unique_ptr<TColourShape> ColourShape(const TRect& frame, TColor colour, int32_t layer = 0) {
    auto shape = std::make_unique<TColourShape>();
    shape->SetRect(frame);
    shape->Colour = colour;
    shape->SetLayerGroup(layer);
    return shape;
}

TEST(DrawCard, LayersHiddenObjectsAndDontPrintAtTheCanvasOrigin) {
    TOwnedDOList list;
    list.Give(ColourShape({0, 0, 254, 254}, 0x0000FF));                  // red, user layer
    list.Give(ColourShape({0, 0, 508, 508}, 0xFF0000, LayerBackground)); // blue, given later but beneath
    list.Give(ColourShape({0, 0, 127, 127}, 0x00FF00)).SetVisible(false);
    list.Give(ColourShape({254, 0, 508, 254}, 0x00FF00)).SetDontPrint(true);

    const auto drawn = [&](const TRenderContext& context) {
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        TPainterCanvas canvas(image);
        canvas.SetResolution(96);
        canvas.SetViewportOrg({10, 20}); // the card's corner on the page
        DrawCard(canvas, list, Face(), context);
        EXPECT_EQ(canvas.Mapping().ViewportOrg, (TPoint{10, 20}));
        return image;
    };
    const TScaleRatio ratio{96, 100, 254};
    const QImage screen = drawn(TRenderContext::Bitmap(ratio));
    EXPECT_EQ(screen.pixel(12, 22), kRed);                  // red over blue, hidden green left out
    EXPECT_EQ(screen.pixel(10 + 120, 22), qRgb(0, 255, 0)); // the DontPrint shape shows on screen
    EXPECT_EQ(screen.pixel(12, 20 + 120), qRgb(0, 0, 255));
    EXPECT_EQ(screen.pixel(5, 5), qRgb(255, 255, 255)); // nothing before the origin
    const QImage printed = drawn(TRenderContext::Print(TRenderTarget::rtPdf, ratio));
    EXPECT_EQ(printed.pixel(10 + 120, 22), qRgb(0, 0, 255)); // and not in print
    EXPECT_EQ(printed.pixel(12, 22), kRed);
}

} // namespace
} // namespace vellum::test
