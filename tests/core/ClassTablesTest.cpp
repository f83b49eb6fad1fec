#include "CoreTestKinds.h"

#include "base/ClassRegistry.h"
#include "base/StringList.h"
#include "core/CoreClasses.h"
#include "core/DOGroup.h"

#include <gtest/gtest.h>

using namespace vellum;
using namespace vellum::test;

namespace {

const QStringList CardObjectOrder = {"Name",      "Tag",        "Left",       "Top",      "Width",
                                     "Height",    "Cursor",     "Hint",       "Border",   "PopupMenu",
                                     "Movable",   "Selectable", "LayerGroup", "OnModify", "Appendix",
                                     "DontPrint", "BlendRatio", "BlendShade"};

QStringList Names(const TClassInfo& info) {
    QStringList names;
    for (const TPropInfo& p : info.Properties()) names << p.Name;
    return names;
}

} // namespace

TEST(CoreClassTables, CardObjectsShareTheFirstEighteenStreamPositions) {
    for (const TClassInfo* info : {&TLabelObject::StaticClass(), &TLORectBase::StaticClass(),
                                   &TDOGroup::StaticClass(), &TTestShape::StaticClass()}) {
        EXPECT_EQ(Names(*info), CardObjectOrder) << info->Name().toStdString();
        for (int i = 0; i < CardObjectOrder.size(); ++i) EXPECT_EQ(info->Properties()[size_t(i)].Index, i);
    }
    EXPECT_EQ(Names(TDrawObject::StaticClass()), CardObjectOrder.mid(0, 15));
}

TEST(CoreClassTables, StoredRules) {
    TTestShape shape;
    TDOGroup group;
    auto stored = [](const TDrawObject& o, const char* name) {
        return o.ClassType().FindProperty(QString::fromLatin1(name))->IsStored(o);
    };
    // A frame-bound object writes its logical frame; a group's device bounds are never written.
    for (const char* p : {"Left", "Top", "Width", "Height"}) {
        EXPECT_TRUE(stored(shape, p)) << p;
        EXPECT_FALSE(stored(group, p)) << p;
    }
    for (const char* p : {"Border", "LayerGroup", "DontPrint", "Tag", "Cursor", "Movable", "BlendRatio"})
        EXPECT_TRUE(stored(shape, p)) << p;
    for (const char* p : {"Name", "OnModify", "Hint", "PopupMenu", "Appendix"})
        EXPECT_FALSE(stored(shape, p)) << p;
    TComponent menu;
    shape.SetHint(QStringLiteral("h"));
    shape.SetPopupMenu(&menu);
    shape.Appendix()->Add(QStringLiteral("x"));
    for (const char* p : {"Hint", "PopupMenu", "Appendix"}) EXPECT_TRUE(stored(shape, p)) << p;

    const TClassInfo& info = TTestShape::StaticClass();
    EXPECT_EQ(info.FindProperty(QStringLiteral("Left"))->Get(shape), TPropValue(int64_t(0)));
    info.FindProperty(QStringLiteral("Width"))->Set(shape, int64_t(120));
    EXPECT_EQ(shape.FrameRect(), (TRect{0, 0, 120, 0}));
    EXPECT_EQ(info.FindProperty(QStringLiteral("PopupMenu"))->Kind, TPropKind::ComponentRef);
    EXPECT_EQ(info.FindProperty(QStringLiteral("OnModify"))->Kind, TPropKind::Event);
    EXPECT_EQ(info.FindProperty(QStringLiteral("Appendix"))->Kind, TPropKind::StringList);
}

class CoreRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ClearClassRegistry(); }
    void TearDown() override { ClearClassRegistry(); }
};

TEST_F(CoreRegistryTest, DeclaredDefaultsMatchFreshObjectsOfEveryRegisteredClass) {
    RegisterCoreClasses();
    RegisterClass(TTestShape::StaticClass());
    EXPECT_EQ(GetClass(QStringLiteral("TDOGroup")), &TDOGroup::StaticClass());
    EXPECT_EQ(GetClass(QStringLiteral("TLabelObject")), &TLabelObject::StaticClass());
    int concrete = 0;
    for (const TClassInfo* info : RegisteredClasses()) {
        EXPECT_TRUE(CheckDeclaredDefaults(*info).isEmpty()) << info->Name().toStdString();
        concrete += !info->IsAbstract();
    }
    EXPECT_GE(concrete, 3);
    EXPECT_TRUE(TDrawObject::StaticClass().IsAbstract());
    EXPECT_TRUE(TLORectBase::StaticClass().IsAbstract());
}
