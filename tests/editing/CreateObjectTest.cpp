// Creating and placing new objects on a real draw site.

#include "SiteFixture.h"

#include "base/ClassRegistry.h"
#include "core/LOCreator.h"
#include "imaging/ColorSpec.h"

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

// A shape with the text set-up's properties.
class TTestText : public TTestShape {
    VELLUM_CLASS(TTestText)

public:
    using TTestShape::TTestShape;
    bool AutoSize = false;
    int32_t FieldNo = 0;
    TColorSpec Shadow;
};

const TClassInfo& TTestText::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TTestText, TTestShape>("TTestText", [](auto& b) {
        b.Boolean(
            QStringLiteral("AutoSize"), [](const TTestText& o) { return o.AutoSize; },
            [](TTestText& o, const TPropValue& v) { o.AutoSize = std::get<bool>(v); });
        b.Integer(
            QStringLiteral("FieldNo"), [](const TTestText& o) { return o.FieldNo; },
            [](TTestText& o, const TPropValue& v) { o.FieldNo = int32_t(std::get<int64_t>(v)); });
        b.Owned(QStringLiteral("ShadowColor"), TPropKind::Object,
                [](const TTestText& o) { return &o.Shadow; });
    });
    return info;
}

enum class TAnswer { Accept, Cancel, Refuse };

// The property dialog: makes the shape too wide for the card when accepted.
class TTestEditor : public TDODesigner {
public:
    TAnswer Answer = TAnswer::Accept;
    bool Widen = true;
    std::vector<TDrawObject*> Edited;
    bool EditObject(TDrawObject* object, bool& cancelled) override {
        Edited.push_back(object);
        if (Answer == TAnswer::Refuse) return false;
        cancelled = Answer == TAnswer::Cancel;
        if (auto* shape = dynamic_cast<TTestShape*>(object); shape && Widen)
            shape->SetRect({0, 0, 2000, 100});
        return true;
    }
};

class TFreeWatch : public TComponent {
public:
    std::vector<TComponent*> Freed;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        if (operation == TOperation::opRemove) Freed.push_back(component);
        TComponent::Notification(component, operation);
    }
};

struct TRecorded {
    TDrawObject* Object;
    QString Title;
};

class CreateObjectTest : public SiteTest {
protected:
    void SetUp() override {
        SiteTest::SetUp();
        RegisterClass(TTestShape::StaticClass());
        RegisterClassAlias(TTestShape::StaticClass(), QStringLiteral("TLOJANCode"));
        RegisterClassAlias(TTestShape::StaticClass(), QStringLiteral("TLOBackImageV3"));
        RegisterClassAlias(TTestText::StaticClass(), QStringLiteral("TLOTextMeishiV3"));
        DODesigners().Register(Creator);
        DODesigners().Register(Editor);
        TLOCreator::SetAddedObjectRecorder([this](TDrawObject& object, const QString& title) {
            Recorded.push_back({&object, title});
        });
        SetUpCard(Site);
    }
    void TearDown() override {
        TLOCreator::SetAddedObjectRecorder(nullptr);
        DODesigners().Unregister(Editor.get());
        DODesigners().Unregister(Creator.get());
        SiteTest::TearDown();
    }
    // The object created last, owned by the site.
    TDrawObject* Created() const {
        return Site.ComponentCount() ? dynamic_cast<TDrawObject*>(Site.Components(Site.ComponentCount() - 1))
                                     : nullptr;
    }

    std::shared_ptr<TLOCreator> Creator = std::make_shared<TLOCreator>();
    std::shared_ptr<TTestEditor> Editor = std::make_shared<TTestEditor>();
    std::vector<TRecorded> Recorded;
    TDrawSite Site;
};

TEST_F(CreateObjectTest, InteractiveKindWaitsHiddenForTheUserToDrawIt) {
    ASSERT_TRUE(DODesigners().CreateObject(&Site, QStringLiteral("TTestShape")));

    TDrawObject* object = Created();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->Parent(), &Site);
    EXPECT_FALSE(object->Visible());
    EXPECT_EQ(object->Cursor(), crHandPoint);
    EXPECT_EQ(Site.Cursor(), crCross);
    EXPECT_EQ(Ghosts.Handles, std::vector<int>{-2});
    EXPECT_TRUE(Editor->Edited.empty());
    EXPECT_TRUE(Recorded.empty()); // the drawing ghost records it
}

TEST_F(CreateObjectTest, AnObjectNobodyLetsTheUserDrawIsFreed) {
    DODesigners().Unregister(FDesigner.get()); // no drawing ghost
    TFreeWatch watch;
    Site.OnNewObject = [&watch](TDrawObject* object) { object->FreeNotification(&watch); };
    const int components = Site.ComponentCount();
    EXPECT_FALSE(DODesigners().CreateObject(&Site, QStringLiteral("TTestShape")));
    EXPECT_EQ(watch.Freed.size(), 1u);
    EXPECT_EQ(Site.ObjectCount(), 0);
    EXPECT_EQ(Site.ComponentCount(), components);
    EXPECT_EQ(Site.Cursor(), crDefault);
    Site.OnNewObject = nullptr;
}

TEST_F(CreateObjectTest, EditFirstKindIsFittedRecordedAndSelectedAlone) {
    TTestShape& other = AddShape(Site, {10, 10, 50, 50});
    other.SetSelected(true);
    GhostList().Add(std::make_unique<TFakeGhost>(Ghosts));
    Site.SetCursor(crCross);

    ASSERT_TRUE(DODesigners().CreateObject(&Site, QStringLiteral("TLOJANCode")));

    auto* object = dynamic_cast<TTestShape*>(Created());
    ASSERT_NE(object, nullptr);
    ASSERT_EQ(Editor->Edited, std::vector<TDrawObject*>{object});
    EXPECT_EQ(object->Parent(), &Site);
    EXPECT_TRUE(object->Visible());
    EXPECT_EQ(object->Cursor(), crHandPoint);
    EXPECT_EQ(Site.Cursor(), crDefault);
    EXPECT_EQ(GhostList().Count(), 0);
    EXPECT_TRUE(Ghosts.Handles.empty());
    // Clipped to the card's width and centred on it.
    EXPECT_EQ(object->FrameRect(), (TRect{0, 225, 910, 325}));
    EXPECT_TRUE(object->Selected());
    EXPECT_FALSE(other.Selected());
    EXPECT_FALSE(Site.HandlesDirty());
    ASSERT_EQ(Recorded.size(), 1u);
    EXPECT_EQ(Recorded[0].Object, object);
    EXPECT_EQ(Recorded[0].Title, QStringLiteral("追加"));
}

TEST_F(CreateObjectTest, RefusedOrCancelledEditFreesTheObject) {
    for (TAnswer answer : {TAnswer::Refuse, TAnswer::Cancel}) {
        SCOPED_TRACE(int(answer));
        AddShape(Site, {10, 10, 50, 50});
        const int components = Site.ComponentCount();
        const int objects = Site.ObjectCount();
        Editor->Answer = answer;
        Editor->Edited.clear();
        TFreeWatch watch;
        Site.OnNewObject = [&watch](TDrawObject* object) { object->FreeNotification(&watch); };

        EXPECT_FALSE(DODesigners().CreateObject(&Site, QStringLiteral("TLOJANCode")));

        ASSERT_EQ(Editor->Edited.size(), 1u);
        EXPECT_EQ(watch.Freed, std::vector<TComponent*>{Editor->Edited[0]});
        EXPECT_EQ(Site.ComponentCount(), components);
        EXPECT_EQ(Site.ObjectCount(), objects);
        EXPECT_TRUE(Recorded.empty());
        Site.OnNewObject = nullptr;
    }
}

TEST_F(CreateObjectTest, UnknownKindCreatesNothing) {
    EXPECT_FALSE(DODesigners().CreateObject(&Site, QStringLiteral("TLONoSuchKind")));
    EXPECT_EQ(Site.ComponentCount(), 0);
    EXPECT_TRUE(Editor->Edited.empty());
}

TEST_F(CreateObjectTest, NewObjectHookSeesTheOwnedObjectBeforeItIsPlaced) {
    std::vector<TDrawObject*> seen;
    Site.OnNewObject = [&](TDrawObject* object) {
        EXPECT_EQ(object->Owner(), &Site);
        EXPECT_EQ(object->Parent(), nullptr);
        EXPECT_TRUE(Editor->Edited.empty());
        object->SetSelected(true); // as the editor's style tool does
        seen.push_back(object);
    };
    ASSERT_TRUE(DODesigners().CreateObject(&Site, QStringLiteral("TTestShape")));
    ASSERT_EQ(seen, std::vector<TDrawObject*>{Created()});
    EXPECT_FALSE(seen[0]->Selected());
}

TEST_F(CreateObjectTest, KindSetUpGoesThroughPublishedProperties) {
    struct TCase {
        const char* Kind;
        int32_t FieldNo;
    };
    for (const TCase& c : {TCase{"TLOText", 0}, TCase{"TLOField", 2}}) {
        SCOPED_TRACE(c.Kind);
        ASSERT_TRUE(DODesigners().CreateObject(&Site, QString::fromLatin1(c.Kind)));
        auto* text = dynamic_cast<TTestText*>(Created());
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(text->AutoSize);
        EXPECT_EQ(text->FieldNo, c.FieldNo);
        EXPECT_EQ(text->Shadow.Color(), TColor(8421504));
    }
}

TEST_F(CreateObjectTest, BackgroundCoversTheCardUnselectable) {
    Editor->Widen = false;
    ASSERT_TRUE(DODesigners().CreateObject(&Site, QStringLiteral("TLOBackImage")));
    auto* back = dynamic_cast<TTestShape*>(Created());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->FrameRect(), (TRect{0, 0, 910, 550})); // not fitted
    EXPECT_FALSE(back->Selectable());
    EXPECT_FALSE(back->Enabled());
    EXPECT_FALSE(back->Selected());
    EXPECT_EQ(Recorded.size(), 1u);
}

} // namespace
} // namespace vellum::test
