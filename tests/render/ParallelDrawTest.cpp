#include "render/CardRenderer.h"

#include "core/DOList.h"
#include "imaging/ColorSpec.h"
#include "imaging/ObjectBlend.h"
#include "objects/LOCircle.h"
#include "objects/LORect.h"
#include "paper/FaceInfo.h"
#include "platform/PainterCanvas.h"
#include "profile/ProfileInfo2.h"

#include <QImage>

#include <gtest/gtest.h>

#include <thread>

namespace vellum {
namespace {

// A card that exercises clipping, gradients, rotation, the blend path and
// DontPrint: what differs between a print and a screen drawing.
void AddCard(TOwnedDOList& card) {
    auto& rect = card.Give(std::make_unique<TLORect>());
    rect.SetRect(Bounds(100, 100, 300, 100));
    rect.SetRoundRect(true);
    rect.SetFrameWidth(30);
    rect.SetAngle(30);
    TColorSpec gradation;
    gradation.SetKind(TColorSpecKind::cskGradation);
    gradation.SetGradColNum(2);
    gradation.SetGradColor(0, 0x00FF00);
    gradation.SetGradColor(1, 0xFF0000);
    gradation.SetGradDir(rgGradationDir::rgdLeftToRight);
    rect.SetFillColor(gradation);
    rect.SetFillInside(true);

    auto& circle = card.Give(std::make_unique<TLOCircle>());
    circle.SetRect(Bounds(300, 150, 300, 300));
    circle.SetFrameWidth(2); // thin: raised to two pixels on screen only
    TColorSpec yellow;
    yellow.SetColor(0x00FFFF);
    circle.SetFillColor(yellow);
    circle.SetFillInside(true);
    circle.SetBlendRatio(60);

    auto& note = card.Give(std::make_unique<TLORect>());
    note.SetRect(Bounds(650, 50, 200, 400));
    note.SetFrameWidth(1);
    note.SetDontPrint(true);
}

TFaceInfo Face() {
    TFaceInfo face;
    face.FaceRect = {0, 0, 910, 550};
    face.Shape = TFaceShape::fsRoundRect;
    return face;
}

QImage Drawn(const TOwnedDOList& card, const TRenderContext& context) {
    QImage image(context.Ratio.ToDevice(TRect{0, 0, 910, 550}).Width(),
                 context.Ratio.ToDevice(TRect{0, 0, 910, 550}).Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    TPainterCanvas canvas(image);
    canvas.SetResolution(context.Ratio.Dpi);
    DrawCard(canvas, card, Face(), context, 0xFFFFFF);
    return image;
}

TEST(ParallelDraw, TwoContextsAtOnceGiveThePixelsOfOneAfterTheOther) {
    InstallObjectBlendPainter();
    TOwnedDOList card;
    AddCard(card);
    TProfileInfo2 profile;
    profile.SetValue(2, QStringLiteral("山田 太郎"));

    TRenderContext print = TRenderContext::Print(TRenderTarget::rtPdf, {300, 100, 254});
    print.Profile = &profile;
    print.Date = 46000; // a fixed day, not today
    const TRenderContext screen = TRenderContext::Screen({96, 150, 254});

    const QImage printAlone = Drawn(card, print);
    const QImage screenAlone = Drawn(card, screen);
    ASSERT_NE(printAlone.size(), screenAlone.size());

    constexpr int Rounds = 8;
    std::vector<QImage> printed(Rounds), shown(Rounds);
    std::thread printer([&] {
        for (QImage& image : printed) image = Drawn(card, print);
    });
    std::thread viewer([&] {
        for (QImage& image : shown) image = Drawn(card, screen);
    });
    printer.join();
    viewer.join();
    for (int i = 0; i < Rounds; ++i) {
        EXPECT_EQ(printed[size_t(i)], printAlone) << i;
        EXPECT_EQ(shown[size_t(i)], screenAlone) << i;
    }

    // The contexts did make a difference: the DontPrint frame shows on screen only.
    const TPoint noteOnScreen = screen.Ratio.ToDevice(TPoint{650, 200});
    const TPoint noteInPrint = print.Ratio.ToDevice(TPoint{650, 200});
    EXPECT_NE(screenAlone.pixel(noteOnScreen.X, noteOnScreen.Y), qRgb(255, 255, 255));
    EXPECT_EQ(printAlone.pixel(noteInPrint.X, noteInPrint.Y), qRgb(255, 255, 255));
    SetBlendPainter(nullptr);
}

} // namespace
} // namespace vellum
