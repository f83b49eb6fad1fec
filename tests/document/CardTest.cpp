#include "DocumentFixture.h"

#include "../core/CoreTestKinds.h"
#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "core/ObjectHelpers.h"
#include "document/CardObjectHooks.h"
#include "paper/MatrixPaperInfo.h"

using namespace vellum;
using namespace vellum::test;

namespace {

QByteArray CardBytes(TLabelData& doc, int i) {
    std::unique_ptr<TStream> stream = doc.CardStream(i, false, false);
    return stream ? stream->ReadAll() : QByteArray();
}

} // namespace

TEST_F(DocumentTest, CardsAreWrittenLastToFirstAndAReversedReloadKeepsTheOrder) {
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    TOwnedDOList cards;
    AddShapes(cards, {100, 200, 300});
    doc.SetModified(false);
    doc.SaveCard(1, cards);
    EXPECT_TRUE(doc.Modified());
    EXPECT_TRUE(doc.HasCard(1));
    EXPECT_FALSE(doc.HasCard(0));
    const QByteArray stored = CardBytes(doc, 1);

    TOwnedDOList back;
    doc.LoadCard(1, back);
    EXPECT_EQ(Lefts(back), (std::vector<int>{300, 200, 100}));
    for (TDrawObject* object : back) EXPECT_TRUE(object->Name().isEmpty());
    ReverseList(back);
    doc.SaveCard(1, back);
    EXPECT_EQ(CardBytes(doc, 1), stored);

    // Saving compresses the card; loading reads through the compression.
    doc.Save(PathOf(QStringLiteral("cards.vlm")));
    EXPECT_TRUE(doc.IsCardCompressed(1));
    TLabelData reopened;
    reopened.Load(PathOf(QStringLiteral("cards.vlm")));
    TOwnedDOList again;
    reopened.LoadCard(1, again);
    EXPECT_EQ(Lefts(again), (std::vector<int>{300, 200, 100}));
}

TEST_F(DocumentTest, WithoutSeparateDesignEveryCardIsItemZero) {
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    doc.SetSeparatelyDesign(false);
    TOwnedDOList cards;
    AddShapes(cards, {100});
    doc.SaveCard(3, cards);
    EXPECT_TRUE(doc.HasCard(5));
    doc.SetSeparatelyDesign(true);
    EXPECT_TRUE(doc.HasCard(0));
    EXPECT_FALSE(doc.HasCard(3));

    // An empty list leaves an empty stream, which is no card.
    TOwnedDOList none;
    doc.SaveCard(0, none);
    EXPECT_FALSE(doc.HasCard(0));
    ASSERT_NE(doc.CardStream(0, false, false), nullptr);
    doc.ClearCard(0);
    EXPECT_EQ(doc.CardStream(0, false, false), nullptr);
}

TEST_F(DocumentTest, ASmallerPaperDropsTheSurplusCards) {
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    TOwnedDOList cards;
    AddShapes(cards, {100});
    doc.SaveCard(9, cards);
    doc.SaveCard(1, cards);
    SetMatrixPaper(doc, 1, 2);
    EXPECT_TRUE(doc.HasCard(1));
    EXPECT_FALSE(doc.HasCard(9));
    SetMatrixPaper(doc, 2, 5);
    EXPECT_FALSE(doc.HasCard(9));
}

TEST_F(DocumentTest, ChildrenOfACardThatAreNotDrawingObjectsAreFreed) {
    TLabelData doc;
    // A card container holding a paper between two shapes.
    TMemoryStream record;
    TWriter writer(record);
    writer.WriteSignature();
    writer.WriteStr(QStringLiteral("TLDObjects"));
    writer.WriteStr(QString());
    writer.WriteListEnd();
    TTestShape first;
    first.SetRect(TRect{10, 10, 20, 20});
    TMatrixPaperInfo paper;
    TTestShape second;
    second.SetRect(TRect{30, 10, 40, 20});
    writer.WriteComponent(first);
    writer.WriteComponent(paper);
    writer.WriteComponent(second);
    writer.WriteListEnd();
    {
        std::unique_ptr<TStream> card = doc.CardStream(0, true, false);
        const QByteArray name("LABELDATA");
        WriteU8(*card, 0xFF);
        WriteU16(*card, 10);
        card->WriteBytes(name + '\0');
        WriteU16(*card, 0x1030);
        WriteU32(*card, uint32_t(record.Size()));
        card->WriteBytes(record.Data());
    }
    TOwnedDOList back;
    doc.LoadCard(0, back);
    EXPECT_EQ(Lefts(back), (std::vector<int>{10, 30}));
}

TEST_F(DocumentTest, ACardOfAnotherClassIsRefused) {
    TLabelData doc;
    {
        std::unique_ptr<TStream> card = doc.CardStream(0, true, false);
        TMatrixPaperInfo paper;
        WriteComponentRes(*card, QStringLiteral("LabelData"), paper);
    }
    TOwnedDOList back;
    EXPECT_THROW(doc.LoadCard(0, back), EFilerError);
    EXPECT_TRUE(back.Empty());
}

TEST_F(DocumentTest, EveryReadObjectIsFixedUpOnceAndInsertedOnesAreNot) {
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    doc.SetSeparatelyDesign(false);
    TOwnedDOList cards;
    AddShapes(cards, {100, 200, 300});
    doc.SaveCard(0, cards);

    std::vector<std::pair<int, int>> seen; // card, left
    TScopedHooks inserting(
        TScopedHooks::Loaded([](TLabelData&, int, TOwnedDOList& list, TDrawObject*& object) {
            // The one of left 200 brings a companion at position 1; the one of
            // left 100 is replaced by a wider one.
            auto* shape = dynamic_cast<TTestShape*>(object);
            if (shape->GetBounds().Left == 200) {
                auto companion = std::make_unique<TTestShape>(nullptr);
                companion->SetRect(TRect{20, 20, 60, 60});
                list.Insert(1, std::move(companion));
            } else if (shape->GetBounds().Left == 100) {
                auto wider = std::make_unique<TTestShape>(nullptr);
                wider->SetRect(TRect{100, 0, 400, 50});
                TDrawObject* next = wider.get();
                list.Replace(list.IndexOf(object), std::move(wider));
                object = next;
            }
        }));
    TScopedHooks recording(
        TScopedHooks::Loaded([&seen](TLabelData&, int card, TOwnedDOList&, TDrawObject*& object) {
            seen.emplace_back(card, object->GetBounds().Left);
        }));

    TOwnedDOList back;
    doc.LoadCard(5, back);
    // The later hook sees each read object once, after the earlier one.
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{5, 300}, {5, 200}, {5, 100}}));
    EXPECT_EQ(Lefts(back), (std::vector<int>{300, 20, 200, 100}));
    EXPECT_EQ(back.Items(3)->GetBounds().Width(), 300);
}

TEST_F(DocumentTest, AListAHookCallsBlankIsStoredAsAnEmptyCard) {
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    TCardObjectHooks hooks;
    hooks.StoresNothing = [](const TDOList& list) {
        return list.Count() == 1 && list.Items(0)->GetBounds().Left == 7;
    };
    const TScopedHooks blank(hooks);
    TOwnedDOList lone, two;
    AddShapes(lone, {7});
    AddShapes(two, {7, 8});
    doc.SaveCard(0, lone);
    doc.SaveCard(1, two);
    EXPECT_FALSE(doc.HasCard(0));
    EXPECT_NE(doc.CardStream(0, false, false), nullptr);
    EXPECT_TRUE(doc.HasCard(1));
}
