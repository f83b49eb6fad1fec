#include "../core/CoreTestKinds.h"

#include "imaging/ObjectBlend.h"
#include "platform/PainterCanvas.h"
#include "platform/RecordingCanvas.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace vellum;
using vellum::test::TTestShape;

TEST(ObjectBlend, BlendedObjectsMixWithTheBitmapBeneath) {
    InstallObjectBlendPainter();
    struct Case {
        int ratio;
        bool shade;
        int inside;
    } cases[] = {{50, false, 127}, {100, false, 0}, {100, true, 0}, {0, false, 255}, {25, true, 191}};
    for (const auto& c : cases) {
        QImage image(60, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        TTestShape shape;
        shape.SetRect({10, 10, 30, 30});
        shape.SetBlendRatio(c.ratio);
        shape.SetBlendShade(c.shade);
        {
            TPainterCanvas canvas(image);
            shape.DrawTo(canvas, TRenderContext::Bitmap({}));
        }
        EXPECT_EQ(qRed(image.pixel(20, 20)), c.inside) << c.ratio << " " << c.shade;
        EXPECT_EQ(qRed(image.pixel(5, 5)), 255);
        EXPECT_EQ(qRed(image.pixel(30, 30)), 255);
    }
}

TEST(ObjectBlend, TargetsWithoutBitsArePaintedDirectly) {
    InstallObjectBlendPainter();
    TTestShape shape;
    shape.SetRect({10, 10, 30, 30});
    shape.SetBlendRatio(50);
    TRecordingCanvas canvas;
    shape.DrawTo(canvas, TRenderContext::Bitmap({}));
    EXPECT_EQ(shape.Paints, 1);
}
