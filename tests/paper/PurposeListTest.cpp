#include "paper/PurposeList.h"

#include "base/Stream.h"

#include <gtest/gtest.h>

using namespace vellum;

namespace {

// Installs the program's validator for one test and removes it afterwards.
class WithValidator : public ::testing::Test {
protected:
    void SetUp() override { InstallPurposeValidator(std::make_unique<TCDLabelPurposeValidator>()); }
    void TearDown() override { InstallPurposeValidator(nullptr); }
};

QStringList Ids(const TPurposeList& list) {
    QStringList ids;
    for (int i = 0; i < list.Count(); ++i) ids << list.Item(i)->ID;
    return ids;
}

void Add(TPurposeList& list, const char* id, TFaceShapes mask = 0) {
    TPurposeInfo* p = list.AddItem();
    p->ID = QString::fromLatin1(id);
    p->DisplayName = QString::fromLatin1(id);
    p->ShapeMask = mask;
}

} // namespace

TEST(PurposeList, DefaultListMergeAndLookup) {
    TPurposeList list;
    list.SetDefault();
    EXPECT_EQ(Ids(list), (QStringList{"CD", "CDCover", "CDCaseTray", "MOSquare", ""}));
    EXPECT_EQ(list.Item(0)->ShapeMask,
              FaceShapeBit(TFaceShape::fsDoughnut) | FaceShapeBit(TFaceShape::fsEllipse));
    EXPECT_EQ(list.Item(3)->ShapeMask,
              FaceShapeBit(TFaceShape::fsRect) | FaceShapeBit(TFaceShape::fsRoundRect));
    EXPECT_EQ(list.IndexOfID(QStringLiteral("cdcover")), 1);
    EXPECT_EQ(list.IndexOfID(QStringLiteral("nothing")), -1);

    TPurposeList cd, more;
    Add(cd, "CD");
    Add(more, "CD");
    Add(more, "X");
    Add(more, "Y");
    EXPECT_TRUE(cd.Merge(more));
    EXPECT_EQ(Ids(cd), (QStringList{"CD", "X", "Y"}));
    EXPECT_FALSE(cd.Merge(more));
    // Merging a list into itself adds nothing.
    EXPECT_FALSE(cd.Merge(cd));
    EXPECT_FALSE(cd.AddIfMissing(TPurposeInfo(QStringLiteral("x"), QString(), 0)));
    // Searched from the last item.
    Add(cd, "X");
    EXPECT_EQ(cd.IndexOfID(QStringLiteral("X")), 3);
    QStringList names{QStringLiteral("first")};
    cd.GetDisplayNames(names);
    EXPECT_EQ(names, (QStringList{"first", "CD", "X", "Y", "X"}));
}

TEST(PurposeList, StreamsUnderAStreamerObject) {
    TPurposeList list;
    Add(list, "Meishi", FaceShapeBit(TFaceShape::fsRect));
    list.Item(0)->DisplayName = QStringLiteral("名刺");
    TMemoryStream stream;
    list.SaveToStream(stream);
    const QByteArray expected = QByteArray("TPF0") + "\x0BTPLStreamer" + QByteArray(1, 0) + "\x04List" +
                                QByteArray::fromHex("0E01") + "\x02ID" + "\x06\x06Meishi" +
                                "\x0B"
                                "DisplayName" +
                                "\x06\x04" + QByteArray::fromHex("96BC8E68") + "\x09ShapeMask" +
                                "\x0B\x06"
                                "fsRect" +
                                QByteArray::fromHex("0000000000");
    EXPECT_EQ(stream.Data().toHex(' '), expected.toHex(' '));

    stream.SetPosition(0);
    TPurposeList back;
    back.LoadFromStream(stream);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.Item(0)->DisplayName, QStringLiteral("名刺"));
    EXPECT_EQ(back.Item(0)->ShapeMask, FaceShapeBit(TFaceShape::fsRect));
}

TEST_F(WithValidator, ObsoletePurposesAreRetired) {
    EXPECT_EQ(TPurposeList::PurposeName(QStringLiteral("FD")), QStringLiteral("MOSquare"));
    EXPECT_EQ(TPurposeList::PurposeName(QStringLiteral("MO")), QStringLiteral("MOSquare"));
    EXPECT_EQ(TPurposeList::PurposeName(QStringLiteral("CDCase")), QStringLiteral("CDCaseTray"));
    // Exact and case-sensitive.
    EXPECT_EQ(TPurposeList::PurposeName(QStringLiteral("mo")), QStringLiteral("mo"));

    TPurposeList old;
    Add(old, "MO");
    Add(old, "CD");
    Add(old, "FD");
    Add(old, "CDCase");
    Add(old, "mo");
    TMemoryStream stream;
    old.SaveToStream(stream);
    stream.SetPosition(0);
    TPurposeList read;
    read.LoadFromStream(stream);
    EXPECT_EQ(Ids(read), (QStringList{"CD", "mo"}));
    TPurposeList assigned;
    assigned.Assign(&old);
    EXPECT_EQ(Ids(assigned), (QStringList{"CD", "mo"}));
    // Merging compares without case, so "mo" is not added beside "MO", which then goes.
    TPurposeList merged;
    EXPECT_TRUE(merged.Merge(old));
    EXPECT_EQ(Ids(merged), (QStringList{"CD"}));
}

TEST(PurposeList, WithoutAValidatorNothingIsRetired) {
    ASSERT_EQ(PurposeValidator(), nullptr);
    EXPECT_EQ(TPurposeList::PurposeName(QStringLiteral("FD")), QStringLiteral("FD"));
    TPurposeList old, copy;
    Add(old, "MO");
    copy.Assign(&old);
    EXPECT_EQ(Ids(copy), QStringList{"MO"});
}
