#include "objects/LOCircle.h"
#include "objects/LORect.h"

#include "base/ClassRegistry.h"
#include "base/ComponentDump.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "platform/PainterCanvas.h"

#include <QImage>

#include <gtest/gtest.h>

#include "../support/WrittenBytes.h"
#include <algorithm>
#include <memory>

namespace vellum {
namespace {

QByteArray Str(const char* s) { return QByteArray(1, char(qstrlen(s))) + s; }

QByteArray Write(const TComponent& c) { return test::ComponentBytes(c); }

class ShapeStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearClassRegistry();
        RegisterClass(TLORect::StaticClass());
        RegisterClass(TLOCircle::StaticClass());
    }
    void TearDown() override { ClearClassRegistry(); }
};

TEST_F(ShapeStreamTest, LegacyRoundReadsAsRoundRectAndIsNeverWritten) {
    TLORect r;
    r.SetRect(Bounds(10, 20, 300, 150));
    r.SetRoundRect(true);
    QByteArray bytes = Write(r);
    const QByteArray modern = Str("RoundRect") + char(0x09);
    ASSERT_TRUE(bytes.contains(modern));
    bytes.replace(modern, Str("Round") + char(0x09));

    TMemoryStream in;
    in.WriteBuffer(bytes.constData(), bytes.size());
    in.SetPosition(0);
    std::unique_ptr<TComponent> back(ReadComponent(in));
    auto* rect = dynamic_cast<TLORect*>(back.get());
    ASSERT_NE(rect, nullptr);
    EXPECT_TRUE(rect->RoundRect());
    const QByteArray again = Write(*rect);
    EXPECT_EQ(again, Write(r));
    EXPECT_FALSE(again.contains(Str("Round") + char(0x09)));
}

TEST_F(ShapeStreamTest, PropertiesStreamInOrderAndRoundTrip) {
    TLOCircle c;
    c.SetRect(Bounds(0, 0, 100, 60));
    c.SetAngle(30);
    c.SetFillInside(true);
    c.SetFrameWidth(0);
    TColorSpec red;
    red.SetColor(0x0000FF);
    c.SetFillColor(red);
    TColorSpec green;
    green.SetColor(0x00FF00);
    c.SetFrameColor(green);
    const QByteArray bytes = Write(c);
    const QString dump = DumpComponentBytes(bytes);
    const QStringList order = {"FrameWidth = 0",    "FrameColor.", "FillColor.",
                               "FillInside = True", "Angle = 30",  "RoundRect = False"};
    qsizetype at = 0;
    for (const QString& item : order) {
        const qsizetype next = dump.indexOf(item, at);
        EXPECT_GE(next, at) << item.toStdString() << "\n" << dump.toStdString();
        at = std::max(at, next);
    }
    TMemoryStream in;
    in.WriteBuffer(bytes.constData(), bytes.size());
    in.SetPosition(0);
    std::unique_ptr<TComponent> back(ReadComponent(in));
    auto* circle = dynamic_cast<TLOCircle*>(back.get());
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->Angle(), 30);
    EXPECT_EQ(circle->FillColor().Color(), TColor(0x0000FF));
    EXPECT_EQ(Write(*circle), bytes);
}

TEST(Shape, RoundedOutlineStartsOnTheRightEdge) {
    TLORect r;
    r.SetRect({0, 0, 30, 90});
    r.SetRoundRect(true);
    const TStroke& outline = r.Outline();
    ASSERT_EQ(outline.Count(), 21);
    EXPECT_EQ(outline.Point(0), (TPoint{30, 5}));
    EXPECT_EQ(outline.Kind(0), 6);
    // Turning rebuilds the cached outline about the centre.
    r.SetAngle(90);
    EXPECT_EQ(r.Outline().Point(0), (TPoint{55, 60}));
}

TEST(Shape, ResizeToTheBoundsKeepsTheSize) {
    struct TCase {
        bool Circle;
        int Angle;
        int32_t FrameWidth;
    };
    for (const TCase& k : {TCase{false, 0, 10}, TCase{false, 0, 7}, TCase{true, 0, 10}, TCase{false, 90, 10},
                           TCase{true, 90, 10}, TCase{false, 30, 10}, TCase{true, 45, 3}}) {
        std::unique_ptr<TLORect> r = k.Circle ? std::make_unique<TLOCircle>() : std::make_unique<TLORect>();
        r->SetRect(Bounds(10, 20, 100, 60));
        r->SetFrameWidth(k.FrameWidth);
        r->SetAngle(k.Angle);
        const TRect b = r->GetBounds();
        r->Resize(b.Width(), b.Height());
        EXPECT_EQ(r->Width(), 100) << k.Circle << " " << k.Angle << " " << k.FrameWidth;
        EXPECT_EQ(r->Height(), 60) << k.Circle << " " << k.Angle << " " << k.FrameWidth;
    }

    TLORect r;
    r.SetRect(Bounds(0, 0, 50, 50));
    r.Resize(110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 60);
    EXPECT_EQ(r.GetBounds(), (TRect{-5, -5, 105, 65}));
    // A quarter turn swaps the bounds: the requested size scales the turned sides.
    r.SetAngle(90);
    EXPECT_EQ(r.GetBounds().Width(), 70);
    r.Resize(140, 220);
    EXPECT_EQ(r.Width(), 200);
    EXPECT_EQ(r.Height(), 120);
}

TEST(Shape, ResizeOfAFlatTurnedRectangleKeepsItsSize) {
    TLORect r;
    r.SetFrameWidth(0);
    r.SetRect(Bounds(0, 0, 100, 0));
    r.SetAngle(180);
    ASSERT_EQ(r.GetBounds().Height(), 0);
    r.Resize(50, 40);
    EXPECT_EQ(r.Width(), 50);
    EXPECT_EQ(r.Height(), 0);
}

// Crafted files store coordinates near the 32-bit limits; every shape keeps them within
// kMaxCoordinate, so its frame, band and turned bounds are computed without overflow (the
// sanitizer build aborts on any).
TEST(Shape, CoordinatesNearTheIntegerLimitsAreClamped) {
    constexpr int32_t kMax = TLORectBase::kMaxCoordinate;
    struct TCase {
        int32_t Left, Top, Width, Height, FrameWidth;
        TRect Frame;
    };
    const TCase cases[] = {
        {2147482648, 2147482648, 2147482648, 2147482648, 10, {kMax, kMax, kMax, kMax}},
        {400, 400, 2147483647, 100, 2147483647, {400, 400, kMax, 500}},
        {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MIN, {-kMax, -kMax, kMax, -kMax}},
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(testing::Message() << k.Left << " " << k.Width << " " << k.FrameWidth);
        for (bool circle : {false, true}) {
            std::unique_ptr<TLORect> r = circle ? std::make_unique<TLOCircle>() : std::make_unique<TLORect>();
            // In the order a stored object is read.
            r->SetLeft(k.Left);
            r->SetTop(k.Top);
            r->SetWidth(k.Width);
            r->SetHeight(k.Height);
            r->SetFrameWidth(k.FrameWidth);
            EXPECT_EQ(r->FrameRect(), k.Frame);
            EXPECT_EQ(r->FrameWidth(), std::clamp(k.FrameWidth, 0, kMax));
            for (int angle : {0, 45}) {
                r->SetAngle(angle);
                r->SetRoundRect(angle != 0);
                const TRect b = r->GetBounds();
                EXPECT_LE(b.Left, b.Right);
                EXPECT_LE(b.Top, b.Bottom);
                r->HitTest({0, 0});
                r->Outline();
            }
            r->Offset(INT32_MAX, INT32_MIN);
            EXPECT_EQ(r->Left(), kMax);
            EXPECT_EQ(r->Top(), -kMax);
            r->SetAngle(0);
            r->Resize(INT32_MAX, INT32_MIN);
            EXPECT_LE(r->FrameRect().Right, kMax);
            EXPECT_GE(r->FrameRect().Top, -kMax);
        }
    }
}

TEST(Shape, HitTestFollowsFrameFillAndRotation) {
    TLORect r;
    r.SetRect(Bounds(0, 0, 100, 60));
    r.SetFrameWidth(10);
    struct TCase {
        TPoint P;
        bool Frame, Filled;
    };
    for (const TCase& k :
         {TCase{{0, 30}, true, true}, TCase{{-6, 30}, true, true}, TCase{{50, 30}, false, true},
          TCase{{-20, 30}, false, false}, TCase{{100, 60}, true, true}}) {
        r.SetFillInside(false);
        EXPECT_EQ(r.HitTest(k.P), k.Frame) << k.P.X << "," << k.P.Y;
        r.SetFillInside(true);
        EXPECT_EQ(r.HitTest(k.P), k.Filled) << k.P.X << "," << k.P.Y;
    }
    // No frame: the interior hits even without a fill.
    r.SetFillInside(false);
    r.SetFrameWidth(0);
    EXPECT_TRUE(r.HitTest({50, 30}));
    // Turned a quarter, the short sides lie at y = -20 and 80.
    r.SetFrameWidth(10);
    r.SetAngle(90);
    EXPECT_TRUE(r.HitTest({50, -20}));
    EXPECT_FALSE(r.HitTest({0, 30}));

    TLOCircle c;
    c.SetRect(Bounds(0, 0, 100, 60));
    EXPECT_TRUE(c.HitTest({100, 30}));
    EXPECT_TRUE(c.HitTest({50, 0}));
    EXPECT_FALSE(c.HitTest({2, 2}));
    EXPECT_FALSE(c.HitTest({50, 30}));
}

TEST(Shape, CapabilitiesPointAtTheColours) {
    TLORect r;
    ASSERT_NE(r.Capability<IDOColor>(), nullptr);
    EXPECT_EQ(&r.Capability<IDOColor>()->GetColor(), &r.FrameColor());
    ASSERT_NE(r.Capability<IDOSubColor>(), nullptr);
    EXPECT_EQ(&r.Capability<IDOSubColor>()->GetSubColor(), &r.FillColor());
    EXPECT_TRUE(r.Capability<IDOSubColor>()->GetTransparent());
    r.Capability<IDOSubColor>()->SetTransparent(false);
    EXPECT_TRUE(r.FillInside());
    ASSERT_NE(r.Capability<IDORotate>(), nullptr);
    r.Capability<IDORotate>()->SetAngle(15);
    EXPECT_EQ(r.Angle(), 15);
    ASSERT_NE(r.Capability<IDOBlend>(), nullptr);
    r.Capability<IDOBlend>()->SetBlendRatio(40);
    EXPECT_EQ(r.BlendRatio(), 40);

    TLOCircle copy;
    copy.Assign(&r);
    EXPECT_EQ(copy.Angle(), 15);
    EXPECT_TRUE(copy.FillInside());
    EXPECT_EQ(copy.FrameRect(), r.FrameRect());
}

QImage Painted(TLORect& r, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    TPainterCanvas canvas(image);
    r.DrawTo(canvas, TRenderContext::Bitmap({}));
    return image;
}

TEST(Shape, PaintDrawsTheBandAndTheFill) {
    TLORect r;
    r.SetRect(Bounds(20, 20, 60, 40));
    r.SetFrameWidth(6);
    TColorSpec blue;
    blue.SetColor(0xFF0000);
    r.SetFillColor(blue);
    r.SetFillInside(true);
    QImage image = Painted(r, {100, 100});
    EXPECT_EQ(image.pixel(20, 40), qRgb(0, 0, 0));       // on the edge
    EXPECT_EQ(image.pixel(50, 40), qRgb(0, 0, 255));     // inside
    EXPECT_EQ(image.pixel(10, 40), qRgb(255, 255, 255)); // outside

    // A band wider than the rectangle covers it whole, no hole cut.
    r.SetFrameWidth(50);
    image = Painted(r, {100, 100});
    EXPECT_EQ(image.pixel(50, 40), qRgb(0, 0, 0));

    r.SetFrameWidth(6);
    r.SetRoundRect(true);
    image = Painted(r, {100, 100});
    EXPECT_EQ(image.pixel(50, 20), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(50, 40), qRgb(0, 0, 255));

    TLOCircle c;
    c.SetRect(Bounds(10, 10, 80, 80));
    c.SetFrameWidth(6);
    image = Painted(c, {100, 100});
    EXPECT_EQ(image.pixel(50, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(12, 12), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(50, 50), qRgb(255, 255, 255));
}

TEST(Shape, MaskCoversTheFrameAndTheFill) {
    TLORect r;
    r.SetRect(Bounds(20, 20, 60, 40));
    r.SetFrameWidth(6);
    QImage mask(100, 100, QImage::Format_RGB32);
    auto drawn = [&] {
        mask.fill(Qt::black);
        TPainterCanvas canvas(mask);
        r.DrawMask(canvas, TRenderContext::Bitmap({}));
    };
    drawn();
    EXPECT_EQ(mask.pixel(50, 20), qRgb(255, 255, 255));
    EXPECT_EQ(mask.pixel(50, 40), qRgb(0, 0, 0));
    EXPECT_EQ(mask.pixel(10, 40), qRgb(0, 0, 0));
    r.SetFillInside(true);
    drawn();
    EXPECT_EQ(mask.pixel(50, 40), qRgb(255, 255, 255));
}

} // namespace
} // namespace vellum
