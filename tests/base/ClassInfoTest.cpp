#include "base/ClassRegistry.h"
#include "base/Component.h"
#include "base/Exceptions.h"
#include "base/StringList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vellum;

namespace {

enum class TShape { Square, Round, Star };

class TBaseShape : public TComponent {
    VELLUM_CLASS(TBaseShape)
public:
    using TComponent::TComponent;
    int Left() const { return FLeft; }
    void SetLeft(int v) { FLeft = v; }
    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }

private:
    int FLeft = 0, FWidth = 0;
    bool FVisible = true;
};

class TFancyShape : public TBaseShape {
    VELLUM_CLASS(TFancyShape)
public:
    using TBaseShape::TBaseShape;
    TShape Shape() const { return FShape; }
    void SetShape(TShape s) { FShape = s; }
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& c) { FCaption = c; }
    double Ratio() const { return FRatio; }
    void SetRatio(double r) { FRatio = r; }
    unsigned Styles() const { return FStyles; }
    void SetStyles(unsigned s) { FStyles = s; }
    TStringList* Lines() const { return FLines.get(); }
    TComponent* Buddy() const { return FBuddy; }
    void SetBuddy(TComponent* c) { FBuddy = c; }
    int LogicalWidth() const { return FLogicalWidth; }
    void SetLogicalWidth(int v) { FLogicalWidth = v; }

private:
    TShape FShape = TShape::Round;
    QString FCaption;
    double FRatio = 0;
    unsigned FStyles = 0;
    std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
    TComponent* FBuddy = nullptr;
    int FLogicalWidth = 5;
};

// Declares a default its constructor does not give: the check must notice.
class TLyingShape : public TBaseShape {
    VELLUM_CLASS(TLyingShape)
public:
    using TBaseShape::TBaseShape;
};

class TAbstractThing : public TComponent {
    VELLUM_CLASS(TAbstractThing)
public:
    using TComponent::TComponent;
    virtual void Draw() = 0;
};

} // namespace

const TClassInfo& TBaseShape::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TBaseShape, TComponent>("TBaseShape", [](auto& b) {
        b.Integer(QStringLiteral("Left"), &TBaseShape::Left, &TBaseShape::SetLeft).Stored(false);
        b.Integer(QStringLiteral("Width"), &TBaseShape::Width, &TBaseShape::SetWidth).Stored(false);
        b.Boolean(QStringLiteral("Visible"), &TBaseShape::Visible, &TBaseShape::SetVisible).Default(true);
    });
    return info;
}

const TClassInfo& TFancyShape::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TFancyShape, TBaseShape>("TFancyShape", [](auto& b) {
        b.Enumeration(QStringLiteral("Shape"),
                      {QStringLiteral("shSquare"), QStringLiteral("shRound"), QStringLiteral("shStar")},
                      &TFancyShape::Shape, &TFancyShape::SetShape)
            .Default(int64_t(1));
        // Redeclared: keeps the ancestor's slot, takes this accessor, spelling and storage.
        b.Integer(QStringLiteral("WIDTH"), &TFancyShape::LogicalWidth, &TFancyShape::SetLogicalWidth)
            .Stored(true);
        b.String(QStringLiteral("Caption"), &TFancyShape::Caption, &TFancyShape::SetCaption)
            .StoredIf([](const TFancyShape& s) { return !s.Caption().isEmpty(); });
        b.Float(QStringLiteral("Ratio"), &TFancyShape::Ratio, &TFancyShape::SetRatio);
        b.SetOf(QStringLiteral("Styles"), {QStringLiteral("fsBold"), QStringLiteral("fsItalic")},
                &TFancyShape::Styles, &TFancyShape::SetStyles)
            .Default(int64_t(0));
        b.Owned(QStringLiteral("Lines"), TPropKind::StringList, &TFancyShape::Lines);
        b.Property(QStringLiteral("Buddy"), TPropKind::ComponentRef, &TFancyShape::Buddy,
                   &TFancyShape::SetBuddy);
    });
    return info;
}

const TClassInfo& TLyingShape::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TLyingShape, TBaseShape>("TLyingShape", [](auto& b) {
        b.Boolean(QStringLiteral("Visible"), &TBaseShape::Visible, &TBaseShape::SetVisible).Default(false);
        b.Integer(QStringLiteral("Left"), &TBaseShape::Left, &TBaseShape::SetLeft).Default(int64_t(3));
    });
    return info;
}

const TClassInfo& TAbstractThing::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TAbstractThing, TComponent>("TAbstractThing", [](auto&) {});
    return info;
}

TEST(ClassInfo, PropertiesInStreamOrderWithRedeclarationsInPlace) {
    const TClassInfo& info = TFancyShape::StaticClass();
    QStringList names;
    for (const TPropInfo& p : info.Properties()) names << p.Name;
    EXPECT_EQ(names, (QStringList{"Name", "Tag", "Left", "WIDTH", "Visible", "Shape", "Caption", "Ratio",
                                  "Styles", "Lines", "Buddy"}));
    for (int i = 0; i < names.size(); ++i) EXPECT_EQ(info.Properties()[size_t(i)].Index, i);
    // The ancestor's own table is untouched by the redeclaration.
    EXPECT_EQ(TBaseShape::StaticClass().FindProperty(QStringLiteral("width"))->Name, QStringLiteral("Width"));
    EXPECT_EQ(info.Parent(), &TBaseShape::StaticClass());
    EXPECT_TRUE(info.InheritsFrom(TComponent::StaticClass()));
    EXPECT_FALSE(TBaseShape::StaticClass().InheritsFrom(info));
}

TEST(ClassInfo, AccessorsStoredRulesAndFactory) {
    const TClassInfo& info = TFancyShape::StaticClass();
    TComponent owner;
    std::unique_ptr<TPersistent> made(info.Create(nullptr));
    auto* shape = dynamic_cast<TFancyShape*>(info.Create(&owner)); // owned: freed by owner
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->Owner(), &owner);
    EXPECT_EQ(shape->ClassName(), QStringLiteral("TFancyShape"));

    auto prop = [&](const char* n) { return info.FindProperty(QString::fromLatin1(n)); };
    prop("Width")->Set(*shape, int64_t(910));
    EXPECT_EQ(shape->LogicalWidth(), 910);
    EXPECT_EQ(shape->Width(), 0);
    prop("Shape")->Set(*shape, int64_t(2));
    EXPECT_EQ(shape->Shape(), TShape::Star);
    EXPECT_EQ(prop("Shape")->Get(*shape), TPropValue(int64_t(2)));
    EXPECT_EQ(prop("Shape")->Idents->Names.at(2), QStringLiteral("shStar"));
    prop("Ratio")->Set(*shape, 1.5);
    EXPECT_EQ(shape->Ratio(), 1.5);
    prop("Visible")->Set(*shape, false);
    EXPECT_FALSE(shape->Visible());
    prop("Tag")->Set(*shape, int64_t(-7));
    EXPECT_EQ(shape->Tag(), -7);
    TComponent buddy;
    prop("Buddy")->Set(*shape, static_cast<TPersistent*>(&buddy));
    EXPECT_EQ(shape->Buddy(), &buddy);
    EXPECT_EQ(prop("Lines")->Get(*shape), TPropValue(static_cast<TPersistent*>(shape->Lines())));

    EXPECT_FALSE(prop("Name")->IsStored(*shape));
    EXPECT_TRUE(prop("Width")->IsStored(*shape));
    EXPECT_FALSE(TBaseShape::StaticClass().FindProperty(QStringLiteral("Width"))->IsStored(*shape));
    EXPECT_FALSE(prop("Caption")->IsStored(*shape));
    shape->SetCaption(QStringLiteral("名刺"));
    EXPECT_TRUE(prop("Caption")->IsStored(*shape));
    EXPECT_TRUE(prop("Caption")->IsReadWrite());

    EXPECT_TRUE(TAbstractThing::StaticClass().IsAbstract());
    EXPECT_EQ(TAbstractThing::StaticClass().Create(), nullptr);
}

TEST(ClassInfo, DeclaredDefaultsAreCheckedAgainstAFreshObject) {
    EXPECT_TRUE(CheckDeclaredDefaults(TFancyShape::StaticClass()).isEmpty());
    EXPECT_EQ(CheckDeclaredDefaults(TLyingShape::StaticClass()),
              (QStringList{"TLyingShape.Left", "TLyingShape.Visible"}));
}

class ClassRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ClearClassRegistry(); }
    void TearDown() override { ClearClassRegistry(); }
};

TEST_F(ClassRegistryTest, AncestorsAliasesAndRetiredClasses) {
    RegisterClass(TFancyShape::StaticClass());
    EXPECT_EQ(GetClass(QStringLiteral("tbaseshape")), &TBaseShape::StaticClass());
    EXPECT_EQ(GetClass(QStringLiteral("TComponent")), &TComponent::StaticClass());
    // A retired ancestor taken out stays out when a descendant registers again.
    UnRegisterClass(TBaseShape::StaticClass());
    RegisterClass(TFancyShape::StaticClass());
    EXPECT_EQ(GetClass(QStringLiteral("TBaseShape")), nullptr);
    RegisterClassAlias(TFancyShape::StaticClass(), QStringLiteral("TBaseShape"));
    EXPECT_EQ(GetClass(QStringLiteral("TBASESHAPE")), &TFancyShape::StaticClass());
    EXPECT_EQ(&FindClass(QStringLiteral("TFancyShape")), &TFancyShape::StaticClass());
    // A registered name wins over an alias of the same spelling.
    RegisterClass(TBaseShape::StaticClass());
    EXPECT_EQ(GetClass(QStringLiteral("TBaseShape")), &TBaseShape::StaticClass());
}

TEST_F(ClassRegistryTest, ErrorsCarryTheExactMessages) {
    try {
        FindClass(QStringLiteral("TNoSuch"));
        FAIL();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("クラス TNoSuch が見つかりません"));
    }
    static const TClassInfo impostor =
        TClassInfo::Make<TLyingShape, TBaseShape>("TFancyShape", [](auto&) {}); // a second class, same name
    RegisterClass(TFancyShape::StaticClass());
    RegisterClass(TFancyShape::StaticClass()); // the same class again is fine
    try {
        RegisterClass(impostor);
        FAIL();
    } catch (const EFilerError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("クラス名 TFancyShape はすでに使われています"));
    }
}
