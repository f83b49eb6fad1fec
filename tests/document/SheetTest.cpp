#include "DocumentFixture.h"

#include "document/Grid.h"
#include "document/Guide.h"
#include "paper/PaperInfo.h"

using namespace vellum;
using namespace vellum::test;

TEST_F(DocumentTest, NewDocumentHasFrontAndBackWithTheFrontCurrent) {
    TLabelData doc;
    EXPECT_EQ(doc.SheetCount(), 2);
    EXPECT_EQ(SheetNames(doc), (QStringList{QStringLiteral("表面"), QStringLiteral("裏面")}));
    EXPECT_EQ(doc.CurrentSheet(), 0);
    EXPECT_EQ(doc.SheetName(), QStringLiteral("表面"));
    EXPECT_TRUE(doc.SeparatelyDesign());
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.SheetPath(), QStringLiteral("Sheets\\NameList0"));
}

TEST_F(DocumentTest, NewSheetNamesSkipTakenOnesAndCopiesAreNamedByConcatenation) {
    TLabelData doc;
    doc.AddNewSheet();
    EXPECT_EQ(doc.SheetName(), QStringLiteral("新規シート1"));
    EXPECT_TRUE(doc.Modified());
    doc.AddNewSheet();
    EXPECT_EQ(doc.SheetName(), QStringLiteral("新規シート2"));
    EXPECT_EQ(doc.CurrentSheet(), 3);

    // Names compare case-insensitively.
    doc.SetSheetName(QStringLiteral("abc1"));
    doc.AddSheet(QStringLiteral("ABC%d"));
    EXPECT_EQ(doc.SheetName(), QStringLiteral("ABC2"));

    doc.SwitchSheet(0);
    doc.CopySheet();
    EXPECT_EQ(doc.SheetName(), QStringLiteral("表面のコピー1"));
    doc.SwitchSheet(0);
    doc.CopySheet();
    EXPECT_EQ(doc.SheetName(), QStringLiteral("表面のコピー2"));

    // A "%" in the name is text, not a format.
    doc.SetSheetName(QStringLiteral("100%s%d"));
    doc.CopySheet();
    EXPECT_EQ(doc.SheetName(), QStringLiteral("100%s%dのコピー1"));
    EXPECT_EQ(SheetNames(doc).size(), 8);
    EXPECT_EQ(SheetNames(doc).at(0), QStringLiteral("表面"));
}

TEST_F(DocumentTest, CopiedSheetHoldsTheSameCardsAndPaper) {
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    TOwnedDOList cards;
    AddShapes(cards, {100, 200});
    doc.SaveCard(4, cards);
    doc.CopySheet();
    EXPECT_EQ(doc.CurrentSheet(), 2);
    ASSERT_NE(doc.Paper(), nullptr);
    EXPECT_EQ(doc.Paper()->FaceCount(), 10);
    TOwnedDOList back;
    doc.LoadCard(4, back);
    EXPECT_EQ(Lefts(back), (std::vector<int>{200, 100}));
    doc.SwitchSheet(0);
    EXPECT_EQ(doc.SheetName(), QStringLiteral("表面"));
}

TEST_F(DocumentTest, AddingASheetKeepsTheCurrentSheetsUnsavedStateAndPassesItOn) {
    TLabelData doc;
    doc.SetSeparatelyDesign(false);
    doc.SetDataIDType(QStringLiteral("型"));
    doc.AddNewSheet();
    // A sheet with no stored state takes over the settings in memory.
    EXPECT_FALSE(doc.SeparatelyDesign());
    EXPECT_EQ(doc.DataIDType(), QStringLiteral("型"));
    doc.SetSeparatelyDesign(true);
    doc.SwitchSheet(0);
    EXPECT_FALSE(doc.SeparatelyDesign());
    EXPECT_EQ(doc.DataIDType(), QStringLiteral("型"));
    doc.SwitchSheet(2);
    EXPECT_TRUE(doc.SeparatelyDesign());
}

TEST_F(DocumentTest, MovingAndDeletingSheets) {
    TLabelData doc;
    doc.AddSheet(QStringLiteral("三%d"));
    doc.SwitchSheet(0);
    doc.SetModified(false);
    doc.MoveSheet(2);
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.CurrentSheet(), 2);
    EXPECT_EQ(doc.SheetName(), QStringLiteral("表面"));
    EXPECT_EQ(SheetNames(doc),
              (QStringList{QStringLiteral("裏面"), QStringLiteral("三1"), QStringLiteral("表面")}));

    // The current index stays, or falls back to the last sheet.
    doc.DeleteSheet(2);
    EXPECT_EQ(doc.CurrentSheet(), 1);
    EXPECT_EQ(doc.SheetName(), QStringLiteral("三1"));
    EXPECT_EQ(SheetNames(doc), (QStringList{QStringLiteral("裏面"), QStringLiteral("三1")}));
    doc.SwitchSheet(0);
    doc.DeleteSheet(1);
    EXPECT_EQ(doc.CurrentSheet(), 0);
    EXPECT_EQ(SheetNames(doc), (QStringList{QStringLiteral("裏面")}));
}

TEST_F(DocumentTest, GridAndGuidesAreKeptPerSheetAndSaved) {
    TLabelData doc;
    EXPECT_EQ(doc.Grid().Size(), 50);
    doc.Grid().SetSize(20);
    doc.Grid().SetEnabled(true);
    doc.Guide().Set(0, TPoint{455, 0});
    doc.Guide().SetVisible(true);
    doc.SwitchSheet(1);
    // The back has its own, stored when the document was made.
    EXPECT_EQ(doc.Grid().Size(), 50);
    EXPECT_FALSE(doc.Grid().Enabled());
    EXPECT_TRUE(doc.Guide().IsEmpty());
    doc.Guide().Set(9, TPoint{0, 275});
    doc.Save(PathOf(QStringLiteral("grid.vlm")));

    TLabelData reopened;
    reopened.Load(PathOf(QStringLiteral("grid.vlm")));
    EXPECT_EQ(reopened.Grid().Size(), 20);
    EXPECT_TRUE(reopened.Grid().Enabled());
    EXPECT_EQ(reopened.Guide().Get(0), (TPoint{455, 0}));
    EXPECT_TRUE(reopened.Guide().Visible());
    reopened.SwitchSheet(1);
    EXPECT_EQ(reopened.Grid().Size(), 50);
    EXPECT_EQ(reopened.Guide().Get(9), (TPoint{0, 275}));
    EXPECT_EQ(reopened.Guide().FirstFree(), 0);
}
