#include "DocumentFixture.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"
#include "paper/ExMeishiInfo.h"
#include "paper/ExPaperInfo.h"
#include "paper/ImagePaperInfo.h"
#include "paper/PaperInfo.h"
#include "profile/ProfileInfo2.h"

using namespace vellum;
using namespace vellum::test;

namespace {

// Records of every kind, the image paper with two designs.
struct TRecords {
    TExPaperInfo Extra;
    TExMeishiInfo Card;
    TImagePaperInfo Image;

    TRecords() {
        Extra.SetPaperName(QStringLiteral("名刺10面"));
        Extra.SetCompany(QStringLiteral("ベラム"));
        Card.SetPaperName(QStringLiteral("名刺10面"));
        Card.SetRollPaper(true);
        Image.SetPaperName(QStringLiteral("名刺10面"));
        Image.SetLabelCount(10);
        TOwnedDOList first, second;
        AddShapes(first, {100});
        AddShapes(second, {200, 300});
        Image.SetDesign(0, std::move(first));
        Image.SetDesign(1, std::move(second));
    }
};

void ExpectRecords(TLabelData& doc, const TRecords& records) {
    EXPECT_TRUE(doc.ExtraPaperInfo().SameAs(&records.Extra));
    EXPECT_TRUE(doc.ExtraCardInfo().SameAs(&records.Card));
    EXPECT_TRUE(doc.ImagePaperInfo().SameAs(&records.Image));
}

void ExpectEmptyRecords(TLabelData& doc) {
    EXPECT_TRUE(doc.ExtraPaperInfo().IsEmpty());
    EXPECT_TRUE(doc.ExtraCardInfo().IsEmpty());
    EXPECT_TRUE(doc.ImagePaperInfo().IsEmpty());
}

} // namespace

TEST_F(DocumentTest, ExtraPaperRecordsBelongToTheirSheetAndAreStoredOnlyWhenNotEmpty) {
    const TRecords records;
    TLabelData doc;
    ExpectEmptyRecords(doc);
    doc.SetModified(false);
    doc.SetExtraPaperInfo(&records.Extra);
    EXPECT_TRUE(doc.Modified());
    doc.SetExtraCardInfo(&records.Card);
    doc.SetImagePaperInfo(&records.Image);
    ExpectRecords(doc, records);

    // The back has a state of its own, without records.
    doc.SwitchSheet(1);
    ExpectEmptyRecords(doc);
    doc.SwitchSheet(0);
    ExpectRecords(doc, records);

    TProfileInfo2 profile;
    profile.Clear();
    profile.SetValue(1, QStringLiteral("山田 太郎"));
    doc.SetProfile(profile);
    const QString file = PathOf(QStringLiteral("extra.vlm"));
    doc.Save(file);
    const QStringList stored = StreamsOf(file).keys();
    for (const char* name : {"PaperExtraInfo", "ExtraMeishiInfo", "PaperImageInfo", "PaperImages\\$00000001",
                             "PaperImages\\$00000002"}) {
        EXPECT_TRUE(stored.contains(QStringLiteral("Sheets\\NameList0\\") + QLatin1String(name))) << name;
        EXPECT_FALSE(stored.contains(QStringLiteral("Sheets\\NameList1\\") + QLatin1String(name))) << name;
    }
    TLabelData reopened;
    reopened.Load(file);
    ExpectRecords(reopened, records);

    // Emptied records leave no streams behind.
    reopened.SetExtraPaperInfo(nullptr);
    reopened.SetExtraCardInfo(nullptr);
    reopened.SetImagePaperInfo(nullptr);
    ExpectEmptyRecords(reopened);
    reopened.Save(file);
    for (const QString& path : StreamsOf(file).keys()) {
        EXPECT_FALSE(path.contains(QStringLiteral("PaperExtraInfo")) ||
                     path.contains(QStringLiteral("ExtraMeishiInfo")) ||
                     path.contains(QStringLiteral("PaperImage")))
            << path.toStdString();
    }
}

TEST_F(DocumentTest, NewAndCopiedSheetsTakeTheRecordsAndARecordOfAnotherKindIsRefused) {
    const TRecords records;
    TLabelData doc;
    doc.SetExtraPaperInfo(&records.Extra);
    doc.SetExtraCardInfo(&records.Card);
    doc.SetImagePaperInfo(&records.Image);
    doc.AddNewSheet();
    ExpectRecords(doc, records);
    doc.SwitchSheet(0);
    doc.CopySheet();
    EXPECT_EQ(doc.SheetName(), QStringLiteral("表面のコピー1"));
    ExpectRecords(doc, records);
    doc.SwitchSheet(1);
    ExpectEmptyRecords(doc);

    const QString file = PathOf(QStringLiteral("kind.vlm"));
    doc.Save(file);
    {
        TTemporaryStorage root;
        root.LoadFromFile(file);
        TDocStream stream(root, kModeCreate, QStringLiteral("Sheets\\NameList0\\PaperImageInfo"));
        WriteComponentRes(stream, QStringLiteral("PaperImageInfo"), records.Extra);
        root.SaveToFile(file);
    }
    TLabelData reopened;
    EXPECT_THROW(reopened.Load(file), EFilerError);
}

TEST_F(DocumentTest, ASheetThatFailsToLoadLeavesTheCurrentOneAndItsOwnStreamsAlone) {
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    doc.SwitchSheet(1);
    SetMatrixPaper(doc, 1, 2);
    doc.SetSheetName(QStringLiteral("裏の名前"));
    doc.SwitchSheet(0);
    const QString file = PathOf(QStringLiteral("damaged.vlm"));
    doc.Save(file);
    const QString backPaper = QStringLiteral("Sheets\\NameList1\\PaperInfo");
    const QByteArray stored = StreamsOf(file).value(backPaper);
    ASSERT_FALSE(stored.isEmpty());
    {
        // The back's card details are damaged; its Info and paper are not.
        TTemporaryStorage root;
        root.LoadFromFile(file);
        TDocStream stream(root, kModeCreate, QStringLiteral("Sheets\\NameList1\\ExtraMeishiInfo"));
        // The split literal ends the hex escape: "\x00da" would be one character.
        stream.WriteBytes(QByteArray("\xFF\x0A\x00"
                                     "damaged",
                                     10));
        root.SaveToFile(file);
    }
    TLabelData reopened;
    reopened.Load(file);
    EXPECT_THROW(reopened.SwitchSheet(1), Exception);
    EXPECT_EQ(reopened.CurrentSheet(), 0);
    EXPECT_EQ(reopened.SheetName(), QStringLiteral("表面"));
    EXPECT_EQ(reopened.Paper()->FaceCount(), 10);
    // Saving stores the front's state in the front only.
    reopened.Save(file);
    EXPECT_EQ(StreamsOf(file).value(backPaper), stored);
}
