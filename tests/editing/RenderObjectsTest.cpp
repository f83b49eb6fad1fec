#include "editing/RenderObjects.h"

#include "../core/CoreTestKinds.h"
#include "core/DOList.h"
#include "editing/Scaler.h"
#include "paper/FaceInfo.h"

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

TEST(RenderObjects, TheListIsEmptiedAndTheObjectsDieWithTheSite) {
    TFreeLog log;
    TOwnedDOList list;
    TComponent formerOwner;
    TTestShape* owned = new TTestShape(&formerOwner);
    TTestShape* loose = &list.Give(Shape({0, 0, 10, 10}));
    // Names repeated on a damaged card do not stop the drawing.
    owned->SetName(QStringLiteral("Shape1"));
    loose->SetName(QStringLiteral("Shape1"));
    list.Insert(0, std::unique_ptr<TDrawObject>(owned));
    log.Watch(*owned);
    log.Watch(*loose);
    QImage bitmap;
    RenderObjectsToBitmap(Face(), list, bitmap, 100);
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(log.Freed, (std::multiset<const TComponent*>{owned, loose}));
    EXPECT_EQ(formerOwner.ComponentCount(), 0);

    // A drawing that fails still frees every object once.
    log.Freed.clear();
    TTestShape* failing = &list.Give(Shape({0, 0, 10, 10}));
    failing->FailPaint = true;
    TTestShape* other = &list.Give(Shape({20, 20, 30, 30}));
    log.Watch(*failing);
    log.Watch(*other);
    EXPECT_THROW(RenderObjectsToBitmap(Face(), list, bitmap, 100), std::runtime_error);
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(log.Freed, (std::multiset<const TComponent*>{failing, other}));
}

TEST(RenderObjects, ImagesAreRenderedAtTheTargetWidthsZoomAndFitted) {
    const struct {
        int Width, Height;
        QSize Size;
    } cases[] = {
        {-1, -1, {344, 208}},   // 100 %, as it comes
        {172, 200, {172, 104}}, // 50 %, fits as it is
        {172, 52, {86, 52}},    // 50 %, fitted to the height
        {1000, 1000, {1000, 605}}, // capped at 100 %, then stretched to the width
    };
    for (const auto& c : cases) {
        TOwnedDOList list;
        list.Give(Shape({0, 0, 455, 550})); // the left half black
        const QImage image = RenderObjectsToImage(Face(), list, c.Width, c.Height, kRedBrush);
        EXPECT_EQ(image.size(), c.Size) << c.Width << "x" << c.Height;
        EXPECT_EQ(image.depth(), 24);
        EXPECT_TRUE(list.Empty());
        EXPECT_EQ(image.pixel(1, c.Size.height() / 2), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(c.Size.width() - 2, c.Size.height() / 2), qRgb(255, 255, 255));
    }
}

} // namespace
} // namespace vellum::test
