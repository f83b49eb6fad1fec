#include "print/CutLines.h"

#include "../support/TestCatalogue.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <set>

namespace vellum::test {
namespace {

// The A4 sheet of ten 91 x 55 cards without gaps.
std::unique_ptr<TMatrixPaperInfo> TenCards() {
    auto paper = CardSheet(QStringLiteral("A4 10面"), 2, 5);
    paper->LeftOffset = 140;
    paper->TopOffset = 110;
    return paper;
}

// The line strokes drawn, as end points in logical units (the canvas maps 1:1).
std::vector<std::array<int32_t, 4>> Strokes(const TPaperInfo& paper, const TPrintSpec& job) {
    TRecordingCanvas canvas({0, 0, 3000, 3000}, 254, true);
    DrawCutLines(canvas, paper, job);
    std::vector<std::array<int32_t, 4>> strokes;
    for (const TCanvasRecord& r : canvas.Records())
        if (r.Kind == TCanvasRecord::TKind::rkFigure && r.Path.Points.size() == 2)
            strokes.push_back(
                {r.Path.Points[0].X, r.Path.Points[0].Y, r.Path.Points[1].X, r.Path.Points[1].Y});
    return strokes;
}

size_t Unique(const std::vector<std::array<int32_t, 4>>& strokes) {
    return std::set<std::array<int32_t, 4>>(strokes.begin(), strokes.end()).size();
}

TEST(CutLines, CropMarksGoAroundTheBlockOnceEach) {
    const auto paper = TenCards();
    TPrintSpec job;
    job.AllFaces = true;
    job.CutLineKind = TCutLineKind::clkCropMarks;
    const auto strokes = Strokes(*paper, job);
    EXPECT_EQ(strokes.size(), 18u);
    EXPECT_EQ(Unique(strokes), 18u);
    // Top left: 2.0 mm long, 0.2 mm off the card.
    const std::array<int32_t, 4> topLeft{140, 108, 140, 88};
    EXPECT_NE(std::find(strokes.begin(), strokes.end(), topLeft), strokes.end());

    // A gap between the columns makes each column a block of its own.
    paper->RightMargin = 20;
    paper->LeftOffset = 130;
    EXPECT_EQ(Strokes(*paper, job).size(), 32u);
}

TEST(CutLines, CrossMarksSitOnEveryCornerOnce) {
    const auto paper = TenCards();
    TPrintSpec job;
    job.AllFaces = true;
    job.CutLineKind = TCutLineKind::clkCrossMarks;
    const auto strokes = Strokes(*paper, job);
    // Two strokes a cross on the 3 x 6 corners.
    EXPECT_EQ(strokes.size(), 36u);
    std::set<std::pair<int32_t, int32_t>> centres;
    for (const auto& s : strokes) centres.insert({(s[0] + s[2]) / 2, (s[1] + s[3]) / 2});
    EXPECT_EQ(centres.size(), 18u);
}

TEST(CutLines, OnlySelectedCardsGetMarksAndDottedEdgesAreShared) {
    const auto paper = TenCards();
    TPrintSpec job;
    job.CutLineKind = TCutLineKind::clkDotted;
    job.SetSelected(0, true);
    job.SetSelected(1, true);
    // Two cards side by side: 7 edges, the middle one once.
    EXPECT_EQ(Strokes(*paper, job).size(), 7u);
    job.PrintFrame = true;
    // The frame covers the cut line of a card without margin.
    const auto framed = Strokes(*paper, job);
    EXPECT_EQ(framed.size(), 0u);
}

} // namespace
} // namespace vellum::test
