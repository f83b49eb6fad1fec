#include "DocumentFixture.h"

#include "../core/CoreTestKinds.h"
#include "base/ClassRegistry.h"
#include "base/Cp932.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "core/DOGroup.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"
#include "document/DataInfo.h"
#include "profile/ProfileFields.h"
#include "profile/ProfileInfo.h"
#include "profile/ProfileInfo2.h"

using namespace vellum;
using namespace vellum::test;

namespace {

// A shape bound to a profile field.
class TBoundShape : public TTestShape {
    VELLUM_CLASS(TBoundShape)

public:
    using TTestShape::TTestShape;
    int32_t FieldNo = 0;
};

} // namespace

const TClassInfo& TBoundShape::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TBoundShape, TTestShape>("TBoundShape", [](auto& b) {
        b.Integer(
             "FieldNo", [](const TBoundShape& o) { return int64_t(o.FieldNo); },
             [](TBoundShape& o, const TPropValue& v) { o.FieldNo = int32_t(std::get<int64_t>(v)); })
            .Default(int64_t(0));
    });
    return info;
}

namespace {

std::unique_ptr<TBoundShape> Bound(int fieldNo) {
    auto shape = std::make_unique<TBoundShape>();
    shape->SetRect(TRect{10, 10, 110, 110});
    shape->FieldNo = fieldNo;
    return shape;
}

template <class List>
std::vector<int> FieldNos(const List& objects) {
    std::vector<int> out;
    for (TDrawObject* object : objects) {
        if (auto* group = dynamic_cast<TDOGroup*>(object))
            for (int n : FieldNos(group->Members())) out.push_back(100 + n);
        if (auto* bound = dynamic_cast<TBoundShape*>(object)) out.push_back(bound->FieldNo);
    }
    return out;
}

TCardObjectHooks BoundShapeHooks() {
    TCardObjectHooks hooks;
    hooks.ProfileField = [](const TDrawObject& object) -> std::optional<int> {
        if (auto* bound = dynamic_cast<const TBoundShape*>(&object)) return bound->FieldNo;
        return std::nullopt;
    };
    hooks.SetProfileField = [](TDrawObject& object, int fieldNo) {
        dynamic_cast<TBoundShape&>(object).FieldNo = fieldNo;
    };
    return hooks;
}

// Replaces a stream of a saved document; an empty content deletes it.
void RewriteStream(const QString& file, const QString& path, const std::function<void(TStream&)>& write) {
    TTemporaryStorage root;
    root.LoadFromFile(file);
    if (!write) {
        root.DeleteElement(path);
    } else {
        TDocStream stream(root, kModeCreate, path);
        write(stream);
    }
    root.SaveToFile(file);
}

std::unique_ptr<TDataInfo> StoredDataInfo(const QString& file) {
    TTemporaryStorage root;
    root.LoadFromFile(file);
    auto info = std::make_unique<TDataInfo>();
    TDocStream stream(root, 0, QStringLiteral("DataInfo"));
    ReadComponentRes(stream, info.get());
    return info;
}

} // namespace

TEST_F(DocumentTest, TheProfileIsStoredInBothFormsAndANewOneIsBlank) {
    TLabelData doc;
    ASSERT_EQ(doc.Profile().ValueCount(), kProfileFieldCount);
    for (const QString& value : doc.Profile().Values()) EXPECT_TRUE(value.isEmpty());

    TProfileInfo2 chosen;
    chosen.Clear();
    chosen.SetValue(1, QStringLiteral("山田 太郎"));
    chosen.SetValue(23, QStringLiteral("株式会社ベラム"));
    doc.SetProfile(chosen);
    const QString file = PathOf(QStringLiteral("profile.vlm"));
    doc.Save(file);

    TLabelData reopened;
    reopened.Load(file);
    EXPECT_FALSE(reopened.OlderProfileLayout());
    EXPECT_TRUE(reopened.Profile().SameProfile(chosen));
    EXPECT_EQ(reopened.Profile().Values(), chosen.Values());
    EXPECT_FALSE(reopened.Profile().Modified());

    // The older form travels in DataInfo under its name.
    std::unique_ptr<TDataInfo> info = StoredDataInfo(file);
    ASSERT_NE(info->ProfileInfo, nullptr);
    EXPECT_EQ(info->ProfileInfo->Name(), QStringLiteral("ProfileInfo"));
    TProfileInfo2 older;
    info->ProfileInfo->ToProfile(older);
    EXPECT_TRUE(older.SameProfile(chosen));
    EXPECT_EQ(older.GetValue(23), QStringLiteral("株式会社ベラム"));

    TMemoryStream record;
    chosen.Save(record);
    EXPECT_EQ(StreamsOf(file).value(QStringLiteral("ProfileInfo2")), record.Data());
}

TEST_F(DocumentTest, WithoutTheRecordTheOlderFormIsReadAndWithNeitherTheFieldNamesShow) {
    TLabelData doc;
    TProfileInfo2 chosen;
    chosen.Clear();
    chosen.SetValue(1, QStringLiteral("佐藤 花子"));
    doc.SetProfile(chosen);
    const QString file = PathOf(QStringLiteral("older.vlm"));
    doc.Save(file);
    RewriteStream(file, QStringLiteral("ProfileInfo2"), nullptr);
    {
        TLabelData reopened;
        reopened.Load(file);
        EXPECT_TRUE(reopened.Profile().SameProfile(chosen));
        EXPECT_EQ(reopened.Profile().GetValue(1), QStringLiteral("佐藤 花子"));
    }
    RewriteStream(file, QStringLiteral("DataInfo"), [](TStream& stream) {
        TDataInfo bare;
        WriteComponentRes(stream, QStringLiteral("DataInfo"), bare);
    });
    TLabelData reopened;
    reopened.Load(file);
    EXPECT_EQ(reopened.Profile().Values(), ProfileFieldNames());
}

TEST_F(DocumentTest, AnOlderFieldLayoutRenumbersTheBoundFieldsOfEverySheet) {
    RegisterClass(TBoundShape::StaticClass());
    const TScopedHooks hooks(BoundShapeHooks());
    const QString file = PathOf(QStringLiteral("fields.vlm"));
    {
        TLabelData doc;
        SetMatrixPaper(doc, 2, 5);
        TOwnedDOList front;
        front.Give(Bound(0));
        front.Give(Bound(1));
        front.Give(Bound(3));
        front.Give(std::make_unique<TDOGroup>()).Adopt(Bound(2));
        doc.SaveCard(4, front);
        doc.SwitchSheet(1);
        // A card of the back's earlier separate design, hidden now.
        TOwnedDOList hidden;
        hidden.Give(Bound(3));
        doc.SaveCard(1, hidden);
        doc.SetSeparatelyDesign(false);
        TOwnedDOList back;
        back.Give(Bound(5));
        doc.SaveCard(0, back);
        doc.SwitchSheet(0);
        doc.Save(file);
    }
    // A record of 54 values: the name first, no merge mark, no reading.
    RewriteStream(file, QStringLiteral("ProfileInfo2"), [](TStream& stream) {
        QString text = QStringLiteral("鈴木 一郎\r\n");
        for (int i = 1; i < 54; ++i) text += QStringLiteral("\r\n");
        const QByteArray values = cp932::Encode(text);
        stream.WriteBytes(QByteArray(16, '\x01') + QByteArray("\x01\x00\x00", 3));
        WriteI32(stream, int32_t(values.size()));
        stream.WriteBytes(values);
    });

    TLabelData doc;
    doc.Load(file);
    EXPECT_TRUE(doc.OlderProfileLayout());
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.Profile().GetValue(1), QStringLiteral("鈴木 一郎"));
    TOwnedDOList front;
    doc.LoadCard(4, front);
    EXPECT_EQ(FieldNos(front), (std::vector<int>{104, 5, 2, 0}));
    doc.SwitchSheet(1);
    TOwnedDOList back;
    doc.LoadCard(7, back);
    EXPECT_EQ(FieldNos(back), (std::vector<int>{7}));
    doc.SetSeparatelyDesign(true);
    TOwnedDOList shown;
    doc.LoadCard(1, shown);
    EXPECT_EQ(FieldNos(shown), (std::vector<int>{5}));
    doc.SetSeparatelyDesign(false);

    // Saved again, the record has the current layout: nothing moves twice.
    doc.Save(file);
    TLabelData again;
    again.Load(file);
    EXPECT_FALSE(again.OlderProfileLayout());
    TOwnedDOList kept;
    again.LoadCard(4, kept);
    EXPECT_EQ(FieldNos(kept), (std::vector<int>{104, 5, 2, 0}));
    UnRegisterClass(TBoundShape::StaticClass());
}
