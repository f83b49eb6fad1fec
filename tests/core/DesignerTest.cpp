#include "CoreTestKinds.h"

#include "core/DODesigner.h"
#include "core/LabelPivot.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

using namespace vellum;
using namespace vellum::test;

namespace {

class TScriptedDesigner : public TDODesigner {
public:
    TScriptedDesigner(std::vector<QString>& log, QString name, bool handles, bool accept)
        : FLog(log), FName(std::move(name)), FHandles(handles), FAccept(accept) {}
    bool EditObject(TDrawObject*, bool& cancelled) override {
        FLog.push_back(FName);
        if (FHandles && FAccept) cancelled = false;
        return FHandles;
    }
    bool CreateHandles(TDrawObject*) override {
        FLog.push_back(FName);
        return FHandles;
    }
    std::unique_ptr<TDrawObject> NewObject(const QString& kind) override {
        FLog.push_back(FName);
        if (!FHandles || kind != QStringLiteral("TTestShape")) return nullptr;
        return std::make_unique<TTestShape>();
    }

private:
    std::vector<QString>& FLog;
    QString FName;
    bool FHandles;
    bool FAccept;
};

struct DesignerFixture : ::testing::Test {
    std::vector<QString> Log;
    void TearDown() override { DODesigners().Clear(); }
    void Add(const char* name, bool handles, bool accept = true) {
        DODesigners().Register(
            std::make_shared<TScriptedDesigner>(Log, QString::fromLatin1(name), handles, accept));
    }
};

} // namespace

TEST_F(DesignerFixture, NewestDesignerIsAskedFirstUntilOneAnswers) {
    Add("first", true);
    Add("middle", true);
    Add("last", false);
    TTestShape shape;
    shape.CreateHandles();
    EXPECT_EQ(Log, (std::vector<QString>{"last", "middle"}));
    Log.clear();
    std::unique_ptr<TDrawObject> made = DODesigners().NewObject(QStringLiteral("TTestShape"));
    EXPECT_NE(dynamic_cast<TTestShape*>(made.get()), nullptr);
    EXPECT_EQ(DODesigners().NewObject(QStringLiteral("TNothing")), nullptr);
    // The base designer answers nothing.
    TDODesigner plain;
    bool cancelled = true;
    EXPECT_FALSE(plain.EditObject(&shape, cancelled));
    EXPECT_FALSE(plain.StartGhost(&shape, -1));
    EXPECT_EQ(plain.NewObject(QStringLiteral("TTestShape")), nullptr);

    DODesigners().UnregisterIf([](const TDODesigner&) { return true; });
    EXPECT_EQ(DODesigners().Count(), 0);
}

TEST_F(DesignerFixture, EditCountsOnlyWhenAccepted) {
    TFakeSite site;
    TTestShape shape;
    site.Add(&shape);
    Add("cancels", true, false);
    EXPECT_FALSE(DODesigners().EditObject(&shape));
    shape.DblClick();
    EXPECT_EQ(site.Refreshes, 0);

    Add("accepts", true, true);
    shape.MouseDown(TMouseButton::mbLeft, ssDouble, {1, 1});
    EXPECT_EQ(site.Refreshes, 1);
    EXPECT_EQ(site.ClearedGhosts, std::vector<TDrawObject*>{&shape});
}

TEST(LabelPivot, SizeCursorPaintAndMouse) {
    TFakeSite site;
    auto* shape = new TTestShape;
    std::unique_ptr<TTestShape> owner(shape);
    auto* pivot = new TLabelPivot(*shape, -9, 3); // owned by the shape
    site.Add(shape);
    site.Add(pivot);
    EXPECT_EQ(pivot->Owner(), shape);
    EXPECT_EQ(pivot->Width(), 6);
    EXPECT_EQ(pivot->Height(), 6);
    EXPECT_EQ(pivot->EffectiveCursor(), -9);

    TRecordingCanvas canvas({0, 0, 6, 6});
    pivot->PaintOn(canvas);
    ASSERT_EQ(canvas.Records().size(), 1u);
    EXPECT_EQ(canvas.Records()[0].Brush.Color, clBlack);
    EXPECT_EQ(canvas.Records()[0].Pen.Color, clWhite);

    shape->SetMovable(false);
    EXPECT_EQ(pivot->EffectiveCursor(), crDefault);
    canvas.ClearLog();
    pivot->PaintOn(canvas);
    EXPECT_EQ(canvas.Records()[0].Brush.Color, clWhite);
    EXPECT_EQ(canvas.Records()[0].Pen.Color, clBlack);

    pivot->SetBounds(40, 50, 6, 6);
    pivot->MouseDown(TMouseButton::mbLeft, ssLeft, {2, 3});
    ASSERT_EQ(site.MouseDowns.size(), 1u);
    EXPECT_EQ(site.MouseDowns[0].Object, shape);
    EXPECT_EQ(site.MouseDowns[0].Handle, 3);
    EXPECT_EQ(site.MouseDowns[0].Point, (TPoint{42, 53}));
    site.Dragging = true;
    EXPECT_FALSE(pivot->HitTestMessage({1, 1}));
    site.Dragging = false;
    EXPECT_TRUE(pivot->HitTestMessage({1, 1}));

    owner.reset(); // frees the pivot too; both leave the site
    EXPECT_TRUE(site.Children.empty());
}
