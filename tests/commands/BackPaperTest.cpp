#include "commands/BackPaper.h"

#include "paper/FreePaperInfo.h"
#include "paper/MatrixPaperInfo.h"

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

std::unique_ptr<TMatrixPaperInfo> TwoColumns(bool landscape) {
    auto owned = std::make_unique<TMatrixPaperInfo>();
    TMatrixPaperInfo& paper = *owned;
    paper.SetPortraitSize(2100, 2970);
    paper.FaceWidth = 910;
    paper.FaceHeight = 550;
    paper.FaceCountX = 2;
    paper.FaceCountY = 5;
    paper.LeftOffset = 100;
    paper.TopOffset = 110;
    paper.BottomMargin = 10;
    paper.SetLandscape(landscape);
    return owned;
}

TEST(BackPaper, MatrixFacesMirrorAndComeBack) {
    const auto portraitPaper = TwoColumns(false);
    TMatrixPaperInfo& portrait = *portraitPaper;
    MirrorPaper(portrait);
    EXPECT_EQ(portrait.LeftOffset, 180);
    EXPECT_EQ(portrait.TopOffset, 110);
    MirrorPaper(portrait);
    EXPECT_EQ(portrait.LeftOffset, 100);

    // Turned, the sheet's left to right is the upright top to bottom.
    const auto landscapePaper = TwoColumns(true);
    TMatrixPaperInfo& landscape = *landscapePaper;
    MirrorPaper(landscape);
    EXPECT_EQ(landscape.LeftOffset, 100);
    EXPECT_EQ(landscape.TopOffset, 2970 - (110 + 4 * 560 + 550));
    MirrorPaper(landscape);
    EXPECT_EQ(landscape.TopOffset, 110);
}

TEST(BackPaper, FreeFacesMirrorAndComeBack) {
    for (bool landscape : {false, true}) {
        TFreePaperInfo paper;
        paper.SetPortraitSize(2100, 2970);
        paper.SetLandscape(landscape);
        TFaceItem* a = paper.Faces().Add();
        a->Rect = {100, 200, 1010, 750};
        TFaceItem* b = paper.Faces().Add();
        b->Rect = {1200, 1000, 2000, 1500};
        MirrorPaper(paper);
        if (!landscape) {
            EXPECT_EQ(a->Rect, (TRect{1090, 200, 2000, 750}));
            EXPECT_EQ(b->Rect, (TRect{100, 1000, 900, 1500}));
        } else {
            EXPECT_EQ(a->Rect, (TRect{100, 2220, 1010, 2770}));
            EXPECT_EQ(b->Rect, (TRect{1200, 1470, 2000, 1970}));
        }
        MirrorPaper(paper);
        EXPECT_EQ(a->Rect, (TRect{100, 200, 1010, 750})) << landscape;
        EXPECT_EQ(b->Rect, (TRect{1200, 1000, 2000, 1500})) << landscape;
    }
}

TEST(BackPaper, CardNumbersOfTheOtherSide) {
    TMatrixPaperInfo paper;
    paper.FaceCountX = 3;
    paper.FaceCountY = 2;
    // 0 1 2      within the row: 2 1 0     row order: 3 4 5
    // 3 4 5                      5 4 3                0 1 2
    const int inRow[] = {2, 1, 0, 5, 4, 3};
    const int rows[] = {3, 4, 5, 0, 1, 2};
    for (int a = 0; a < 6; ++a) {
        EXPECT_EQ(MirrorCardInRow(paper, a), inRow[a]) << a;
        EXPECT_EQ(MirrorCardRows(paper, a), rows[a]) << a;
    }
    EXPECT_EQ(MirrorCardInRow(paper, 6), 6);
    EXPECT_EQ(MirrorCardRows(paper, -1), -1);

    struct {
        bool landscape, frontCurrent, same;
        int expected; // for card 0
    } cases[] = {
        {false, false, true, 2}, {true, false, true, 3},  {false, false, false, 2}, {true, false, false, 3},
        {false, true, true, 2},  {false, true, false, 3}, {true, true, false, 2},   {true, true, true, 3},
    };
    for (const auto& c : cases) {
        paper.SetLandscape(c.landscape);
        EXPECT_EQ(MapBackCardNo(paper, 0, c.frontCurrent, c.same), c.expected)
            << c.landscape << c.frontCurrent << c.same;
    }

    TFreePaperInfo free;
    free.Faces().Add()->Rect = {0, 0, 10, 10};
    free.Faces().Add()->Rect = {20, 0, 30, 10};
    EXPECT_EQ(MapBackCardNo(free, 1, false, true), 1);
}

} // namespace
} // namespace vellum::test
