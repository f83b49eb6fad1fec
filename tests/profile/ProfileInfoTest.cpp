#include "profile/ProfileInfo.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "profile/ProfileFields.h"
#include "profile/ProfileInfo2.h"

#include <gtest/gtest.h>

#include "../support/WrittenBytes.h"
#include <memory>

using namespace vellum;

namespace {

constexpr TGUID kGuid = MakeGUID("{0123ABCD-4567-89EF-A0B1-C2D3E4F5A6B7}");

QByteArray Record(const TProfileInfo2& profile) {
    return test::BytesWritten([&profile](TStream& s) { profile.Save(s); });
}

// A component stream of a TProfileInfo whose only property is a GUID of that many bytes.
QByteArray WithGuidOfSize(int size) {
    TMemoryStream s;
    TWriter w(s);
    w.WriteSignature();
    w.WriteStr(QStringLiteral("TProfileInfo"));
    w.WriteStr(QStringLiteral("ProfileInfo"));
    w.WritePropName(QStringLiteral("GUID"));
    w.WriteBinary(kGuid.ToBytes().leftJustified(size, '\x5A', true));
    w.WriteListEnd();
    w.WriteListEnd();
    return s.Data();
}

} // namespace

TEST(ProfileInfo, NewOneHasEveryFieldNamedAndEmpty) {
    TProfileInfo a, b;
    EXPECT_FALSE(a.Guid() == b.Guid());
    ASSERT_EQ(a.Items()->Count(), kProfileFieldCount);
    for (int j = 0; j < kProfileFieldCount; ++j) {
        EXPECT_EQ(a.Items()->Item(j)->FieldName(), ProfileFieldNames()[j]);
        EXPECT_EQ(a.Items()->Item(j)->Info()->Count(), 0);
    }
}

TEST(ProfileInfo, ComponentStreamCarriesTheProfile) {
    TProfileInfo2 profile;
    profile.SetGuid(kGuid);
    profile.Clear();
    profile.SetValue(1, QStringLiteral("山田太郎"));
    profile.SetValue(27, QStringLiteral("〒100-0001"));
    profile.SetValue(55, QStringLiteral("ﾒﾓ"));

    TProfileInfo info;
    info.FromProfile(profile);
    ASSERT_EQ(info.Items()->Count(), kProfileFieldCount);
    EXPECT_EQ(info.Items()->Item(0)->Info()->Count(), 0); // empty values have no line
    EXPECT_EQ(info.Items()->Item(1)->Info()->Items(), QStringList{QStringLiteral("山田太郎")});

    TMemoryStream stream;
    WriteComponentRes(stream, QStringLiteral("ProfileInfo"), info);
    stream.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponentRes(stream));
    auto* back = dynamic_cast<TProfileInfo*>(read.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Guid(), kGuid);
    EXPECT_EQ(back->Items()->Item(27)->FieldName(), QStringLiteral("会社郵便番号"));

    TProfileInfo2 converted;
    back->ToProfile(converted);
    EXPECT_EQ(Record(converted), Record(profile));
}

TEST(ProfileInfo, ToProfileTakesFirstLinesOfTheFieldsThereAre) {
    TProfileInfo info;
    info.SetGuid(kGuid);
    info.Items()->Item(2)->Info()->SetItems({QStringLiteral("first"), QStringLiteral("second")});
    for (int extra = 0; extra < 3; ++extra) info.Items()->AddItem()->Info()->Add(QStringLiteral("beyond"));

    TProfileInfo2 profile;
    profile.SetValue(70, QStringLiteral("stale"));
    info.ToProfile(profile);
    EXPECT_EQ(profile.Guid(), kGuid);
    EXPECT_EQ(profile.ValueCount(), kProfileFieldCount);
    EXPECT_EQ(profile.GetValue(2), QStringLiteral("first"));
    EXPECT_EQ(profile.GetValue(0), QString());
    EXPECT_EQ(profile.GetValue(55), QString());

    // Items missing from an old stream give empty values, not field names.
    TProfileInfo few;
    few.Items()->Clear();
    few.Items()->AddItem()->Info()->Add(MergeMark());
    few.ToProfile(profile);
    EXPECT_EQ(profile.GetValue(0), MergeMark());
    EXPECT_EQ(profile.GetValue(1), QString());
    EXPECT_EQ(profile.GetValue(55), QString());
}

TEST(ProfileInfo, GuidMustBeSixteenBytes) {
    for (int size : {0, 15, 17}) {
        TMemoryStream s(WithGuidOfSize(size));
        TProfileInfo info;
        const TGUID before = info.Guid();
        try {
            ReadComponent(s, &info);
            ADD_FAILURE() << size;
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), InvalidStreamMessage());
        }
        EXPECT_EQ(info.Guid(), before);
    }
    TMemoryStream s(WithGuidOfSize(16));
    TProfileInfo info;
    ReadComponent(s, &info);
    EXPECT_EQ(info.Guid(), kGuid);
}
