#include "CoreTestKinds.h"

#include "base/ClassRegistry.h"
#include "base/ComponentDump.h"
#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "base/StringList.h"
#include "core/DOGroup.h"
#include "core/DOList.h"
#include "core/LOCreator.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

using namespace vellum;
using vellum::test::TTestShape;

namespace {

QByteArray Hex(const char* h) { return QByteArray::fromHex(h); }
QByteArray Str(const char* s) { return QByteArray(1, char(qstrlen(s))) + s; }

QByteArray Write(const TComponent& c) {
    TMemoryStream s;
    WriteComponent(s, c);
    return s.Data();
}

class StreamingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearClassRegistry();
        RegisterClass(TDOGroup::StaticClass());
        RegisterClass(TTestShape::StaticClass());
    }
    void TearDown() override { ClearClassRegistry(); }
};

} // namespace

TEST_F(StreamingTest, DefaultRectangleWritesOnlyWhatItMust) {
    TTestShape r;
    r.SetRect(Bounds(100, 200, 300, 150));
    const QByteArray expected = QByteArray("TPF0") + Str("TTestShape") + Str("") + Str("Left") + Hex("0264") +
                                Str("Top") + Hex("03C800") + Str("Width") + Hex("032C01") + Str("Height") +
                                Hex("039600") + Str("Border") + Hex("08") + Str("LayerGroup") + Hex("0200") +
                                Str("DontPrint") + Hex("08") + Hex("0000");
    EXPECT_EQ(Write(r), expected);

    r.SetCursor(crHandPoint);
    r.SetMovable(false);
    r.SetBlendRatio(50);
    r.Appendix()->SetItems({"a", "b"});
    const QString dump = DumpComponentBytes(Write(r));
    EXPECT_TRUE(dump.contains(QStringLiteral("  Cursor = crHandPoint\n"))) << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral("  Movable = False\n")));
    EXPECT_TRUE(dump.contains(QStringLiteral("  BlendRatio = 50\n")));
    EXPECT_TRUE(dump.contains(QStringLiteral("  Appendix.Strings = (\n    'a'\n    'b'\n  )\n")));
}

TEST_F(StreamingTest, GroupsKeepTheirMembersAsChildren) {
    TDOGroup group;
    auto* a = new TTestShape(&group);
    a->SetRect({10, 20, 30, 40});
    auto* b = new TTestShape(&group);
    b->SetRect({50, 60, 70, 80});
    const QByteArray bytes = Write(group);
    TMemoryStream in(bytes);
    std::unique_ptr<TComponent> back(ReadComponent(in));
    auto* copy = dynamic_cast<TDOGroup*>(back.get());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->ComponentCount(), 2);
    EXPECT_EQ(static_cast<TTestShape*>(copy->Components(1))->FrameRect(), (TRect{50, 60, 70, 80}));
    EXPECT_EQ(Write(*copy), bytes);
}

TEST_F(StreamingTest, ObjectListsSaveCountAndStreamsAndDropWhatIsNotADrawingObject) {
    TComponent owner;
    TDOList list;
    for (int i = 0; i < 3; ++i) {
        auto* s = new TTestShape(&owner);
        s->SetRect(Bounds(i * 10, 0, 5, 5));
        list.Add(s);
    }
    TMemoryStream data;
    list.SaveToStream(data);
    // A stranger among them: a plain component is read and freed.
    TComponent stranger;
    WriteComponent(data, stranger);
    data.SetPosition(0);
    WriteI32(data, 4);
    data.SetPosition(0);
    TOwnedDOList back;
    back.LoadFromStream(data);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back.Items(2)->ClassName(), QStringLiteral("TTestShape"));
    EXPECT_EQ(static_cast<TTestShape*>(back.Items(2))->Left(), 20);
    EXPECT_EQ(back.Items(2)->Owner(), nullptr);

    // A count the bytes cannot hold is refused before anything is read.
    TMemoryStream lying;
    WriteI32(lying, 1000000);
    EXPECT_THROW(back.LoadFromStream(lying), EReadError);
    EXPECT_TRUE(back.Empty());

    // A stream cut in its last object: what was read goes again.
    TMemoryStream cut(data.Data().left(int(data.Size()) - 10));
    EXPECT_THROW(back.LoadFromStream(cut), EReadError);
    EXPECT_TRUE(back.Empty());
}

TEST_F(StreamingTest, ClipboardCarriesClonesWithTheirNames) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) GTEST_SKIP();
    TComponent owner;
    auto* s = new TTestShape(&owner);
    s->SetName(QStringLiteral("Shape1"));
    s->SetRect({1, 2, 3, 4});
    TDOList list;
    list.Add(s);
    list.CopyToClipboard(QStringLiteral("Vellum4"));
    TOwnedDOList pasted;
    pasted.PasteClipboard(QStringLiteral("Vellum4"));
    ASSERT_EQ(pasted.Count(), 1);
    EXPECT_EQ(pasted.Items(0)->Name(), QStringLiteral("Shape1"));
    EXPECT_NE(pasted.Items(0), s);
    pasted.PasteClipboard(QStringLiteral("Other"));
    EXPECT_TRUE(pasted.Empty());
    TDOList().CopyToClipboard(QStringLiteral("Vellum4")); // an empty list leaves the clipboard alone
    pasted.PasteClipboard(QStringLiteral("Vellum4"));
    EXPECT_EQ(pasted.Count(), 1);
}

TEST_F(StreamingTest, CreatorMakesKindsByNameAndNothingForUnknownOnes) {
    TLOCreator creator;
    EXPECT_EQ(TLOCreator::ClassForKind(QStringLiteral("TLOImagePaste")), QStringLiteral("TLOImageV3"));
    EXPECT_EQ(TLOCreator::ClassForKind(QStringLiteral("TLOField")), QStringLiteral("TLOTextMeishiV3"));
    EXPECT_EQ(TLOCreator::ClassForKind(QStringLiteral("TLOLogo")), QStringLiteral("TLOMeishiLogo"));
    auto shape = creator.NewObject(QStringLiteral("TTestShape"));
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->Owner(), nullptr);
    EXPECT_EQ(creator.NewObject(QStringLiteral("TLORect")), nullptr); // its class has not landed yet
    EXPECT_EQ(creator.NewObject(QStringLiteral("TComponent")),
              nullptr); // registered, but not a drawing object
}
