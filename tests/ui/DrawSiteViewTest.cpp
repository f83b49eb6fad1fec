#include "../editing/SiteFixture.h"

#include "core/Pivot.h"
#include "ui/DrawSiteView.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

// A shown view of a 910 x 550 card with two shapes:
// A at pixels (37, 37)-(76, 76), B at (114, 37)-(152, 76).
class ViewTest : public SiteTest {
protected:
    void SetUp() override {
        SiteTest::SetUp();
        SetUpCard(View.Site());
        A = &AddShape(View.Site(), {100, 100, 200, 200});
        B = &AddShape(View.Site(), {300, 100, 400, 200});
        View.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&View));
    }
    TDrawSite& Site() { return View.Site(); }
    void Press(QPoint p, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(&View, Qt::LeftButton, modifiers, p);
    }
    void Release(QPoint p, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseRelease(&View, Qt::LeftButton, modifiers, p);
    }
    void Drag(QPoint to, Qt::KeyboardModifiers modifiers = {}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(to), View.mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, modifiers);
        QApplication::sendEvent(&View, &move);
    }

    TDrawSiteView View;
    TTestShape* A = nullptr;
    TTestShape* B = nullptr;
};

TEST_F(ViewTest, TheViewTakesTheSizeOfTheCard) {
    EXPECT_EQ(View.size(), QSize(344, 208));
    Site().Scaler().SetScale(200);
    EXPECT_EQ(View.size(), QSize(688, 416));
}

TEST_F(ViewTest, AClickSelectsAndAClickOnTheSurfaceClears) {
    int siteClicks = 0, objectClicks = 0;
    Site().OnClick = [&](TDrawSite*) { ++siteClicks; };
    A->OnClick = [&](TGraphicControl*) { ++objectClicks; };
    QTest::mouseClick(&View, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_TRUE(A->Selected());
    EXPECT_FALSE(B->Selected());
    EXPECT_EQ(objectClicks, 1);
    QTest::mouseClick(&View, Qt::LeftButton, {}, QPoint(130, 50));
    EXPECT_FALSE(A->Selected());
    EXPECT_TRUE(B->Selected());
    QTest::mouseClick(&View, Qt::LeftButton, {}, QPoint(300, 150));
    EXPECT_FALSE(B->Selected());
    EXPECT_EQ(siteClicks, 1);
    EXPECT_EQ(objectClicks, 1);
    // A disabled site takes no input.
    Site().SetEnabled(false);
    QTest::mouseClick(&View, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_FALSE(A->Selected());
    EXPECT_EQ(objectClicks, 1);
}

TEST_F(ViewTest, ShiftClickOnASelectedObjectDeselectsItUnlessItWasDragged) {
    QTest::mouseClick(&View, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseClick(&View, Qt::LeftButton, Qt::ShiftModifier, QPoint(130, 50));
    EXPECT_TRUE(A->Selected());
    EXPECT_TRUE(B->Selected());

    // Press and release without moving: the ghosts started, never moved.
    Ghosts = {};
    Press({50, 50}, Qt::ShiftModifier);
    EXPECT_EQ(Ghosts.Handles, (std::vector<int>{-1, -1}));
    Release({50, 50}, Qt::ShiftModifier);
    EXPECT_FALSE(A->Selected());
    EXPECT_TRUE(B->Selected());
    EXPECT_EQ(Ghosts.Finishes, 0);

    // A Shift-drag of a selected object moves it and keeps it selected.
    Ghosts = {};
    Press({130, 50}, Qt::ShiftModifier);
    Drag({140, 60}, Qt::ShiftModifier);
    Release({140, 60}, Qt::ShiftModifier);
    EXPECT_TRUE(B->Selected());
    EXPECT_EQ(Ghosts.Finishes, 1);
    ASSERT_FALSE(Ghosts.Shifts.empty());
    EXPECT_EQ(Ghosts.Shifts.back(), TShiftState(ssShift));
}

TEST_F(ViewTest, RubberBandSelectsWhatLiesInsideAndShiftAdds) {
    // Around B only: the surface press clears A's selection.
    QTest::mouseClick(&View, Qt::LeftButton, {}, QPoint(50, 50));
    Press({100, 20});
    EXPECT_TRUE(GhostList().IsSelecting());
    EXPECT_FALSE(A->Selected());
    Drag({170, 100});
    Release({170, 100});
    EXPECT_FALSE(A->Selected());
    EXPECT_TRUE(B->Selected());
    EXPECT_FALSE(GhostList().Active());

    // With Shift the band adds A and B stays.
    Press({20, 20}, Qt::ShiftModifier);
    Drag({90, 90}, Qt::ShiftModifier);
    Release({90, 90}, Qt::ShiftModifier);
    EXPECT_TRUE(A->Selected());
    EXPECT_TRUE(B->Selected());

    // A band that only touches an object leaves it out.
    Press({20, 20});
    Drag({60, 60});
    Release({60, 60});
    EXPECT_FALSE(A->Selected());
    EXPECT_FALSE(B->Selected());
}

TEST_F(ViewTest, PaintingShowsBackgroundObjectsHandlesBorderAndTheBand) {
    for (bool doubleBuffered : {false, true}) {
        Site().SetDoubleBuffered(doubleBuffered);
        Site().SelectAll(false);
        A->SetSelected(true);
        Site().RefreshHandles();
        QImage image = View.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.size(), QSize(344, 208));
        EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0)) << doubleBuffered;     // border
        EXPECT_EQ(image.pixel(343, 207), qRgb(0, 0, 0)) << doubleBuffered; // border
        EXPECT_EQ(image.pixel(20, 20), qRgb(255, 255, 255)) << doubleBuffered;
        EXPECT_EQ(image.pixel(50, 50), qRgb(0, 0, 0)) << doubleBuffered; // inside A
        // A's handle at its bottom-right corner (76, 76): black with a white rim.
        EXPECT_EQ(image.pixel(73, 73), qRgb(255, 255, 255)) << doubleBuffered;
        EXPECT_EQ(image.pixel(78, 78), qRgb(255, 255, 255)) << doubleBuffered;
        EXPECT_EQ(image.pixel(76, 76), qRgb(0, 0, 0)) << doubleBuffered;
        EXPECT_EQ(image.pixel(77, 77), qRgb(0, 0, 0)) << doubleBuffered;

        // The rubber band is drawn inverted over what lies beneath.
        Press({20, 120});
        Drag({200, 180});
        image = View.grab().toImage().convertToFormat(QImage::Format_RGB32);
        int inverted = 0;
        for (int x = 21; x < 200; ++x)
            if (image.pixel(x, 120) == qRgb(0, 0, 0)) ++inverted;
        EXPECT_GT(inverted, 40) << doubleBuffered; // dotted
        EXPECT_LT(inverted, 179) << doubleBuffered;
        Release({200, 180});
        image = View.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(image.pixel(100, 120), qRgb(255, 255, 255)) << doubleBuffered;
    }
}

TEST_F(ViewTest, PlainHandlesInvertWhatLiesBeneathUnlessTheirObjectIsFixed) {
    // No object: inverted, black on the white surface and white on A.
    TPivot onSurface(nullptr, nullptr, -1);
    TPivot onShape(nullptr, nullptr, -1);
    Site().PlaceHandle(onSurface, {500, 500}); // pixel (189, 189)
    Site().PlaceHandle(onShape, {150, 150});   // pixel (57, 57), inside A
    TPivot fixed(nullptr, B, 0);
    B->SetMovable(false);
    Site().PlaceHandle(fixed, {350, 300}); // pixel (132, 113)
    QImage image = View.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(189, 189), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(57, 57), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(132, 113), qRgb(255, 255, 255)); // a white square
    EXPECT_EQ(image.pixel(130, 111), qRgb(0, 0, 0));       // in a black frame
}

TEST_F(ViewTest, ModifierKeysReachTheGhostsAtOnceAndFocusLossCancels) {
    QTest::mouseClick(&View, Qt::LeftButton, {}, QPoint(50, 50));
    Ghosts = {};
    Press({50, 50});
    Drag({55, 50});
    ASSERT_EQ(Ghosts.Shifts.size(), 1u);
    QTest::keyPress(&View, Qt::Key_Control, Qt::ControlModifier);
    ASSERT_EQ(Ghosts.Shifts.size(), 2u);
    EXPECT_EQ(Ghosts.Shifts.back(), TShiftState(ssCtrl));
    QTest::keyRelease(&View, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(Ghosts.Shifts.back(), TShiftState(0));

    QFocusEvent focusOut(QEvent::FocusOut);
    QApplication::sendEvent(&View, &focusOut);
    EXPECT_FALSE(GhostList().Active());
    EXPECT_EQ(Ghosts.Finishes, 0);
    Release({55, 50});
    EXPECT_EQ(Ghosts.Finishes, 0);
}

TEST_F(ViewTest, CursorsFollowWhatLiesUnderThePointer) {
    A->SetCursor(crHandPoint);
    Drag({50, 50});
    EXPECT_EQ(View.cursor().shape(), Qt::PointingHandCursor);
    Drag({300, 150});
    EXPECT_EQ(View.cursor().shape(), Qt::ArrowCursor);

    struct TCase {
        TCursor Id;
        Qt::CursorShape Shape;
    };
    const TCase cases[] = {{crDefault, Qt::ArrowCursor},   {crCross, Qt::CrossCursor},
                           {crIBeam, Qt::IBeamCursor},     {-6, Qt::SizeBDiagCursor},
                           {-8, Qt::SizeFDiagCursor},      {-9, Qt::SizeHorCursor},
                           {crSizeAll, Qt::SizeAllCursor}, {crHourGlass, Qt::WaitCursor}};
    for (const TCase& c : cases) EXPECT_EQ(CursorFor(c.Id).shape(), c.Shape) << c.Id;
    RegisterCursor(3, QCursor(Qt::OpenHandCursor));
    EXPECT_EQ(CursorFor(3).shape(), Qt::OpenHandCursor);
}

TEST_F(SiteTest, DraggingToTheEdgeOfAScrollAreaScrolls) {
    QScrollArea area;
    auto* view = new TDrawSiteView; // owned by the area
    SetUpCard(view->Site(), 400);   // 1376 x 832 pixels
    area.setWidget(view);
    area.resize(300, 200);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    QScrollBar* vertical = area.verticalScrollBar();
    QScrollBar* horizontal = area.horizontalScrollBar();
    ASSERT_GT(vertical->maximum(), 0);
    const int height = area.viewport()->height();
    const int width = area.viewport()->width();

    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(50, 50)); // a rubber band
    ASSERT_TRUE(GhostList().Active());
    QMouseEvent below(QEvent::MouseMove, QPointF(60, height + 5), view->mapToGlobal(QPointF(60, height + 5)),
                      Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(view, &below);
    EXPECT_EQ(vertical->value(), vertical->singleStep());
    EXPECT_EQ(horizontal->value(), 0);
    QMouseEvent right(QEvent::MouseMove, QPointF(width + 5, 60), view->mapToGlobal(QPointF(width + 5, 60)),
                      Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(view, &right);
    EXPECT_EQ(horizontal->value(), horizontal->singleStep());
    // Back above the visible part: up again.
    const int top = vertical->value();
    QMouseEvent above(QEvent::MouseMove, QPointF(60, top - 2), view->mapToGlobal(QPointF(60, top - 2)),
                      Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(view, &above);
    EXPECT_EQ(vertical->value(), 0);
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(60, 60));
}

} // namespace
} // namespace vellum::test
