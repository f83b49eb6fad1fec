#include "print/PrintPlan.h"

#include "../support/TestCatalogue.h"

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

TPlanSource EveryCardHasContent(int cards) {
    TPlanSource source;
    source.Cards = cards;
    source.HasContent = [](int) { return true; };
    return source;
}

TPrintSpec MergeSpec() {
    TPrintSpec job;
    job.AllFaces = true;
    job.SheetsPerProfile = 1;
    job.LabelsPerProfile = 1;
    return job;
}

std::vector<int> Profiles(const std::vector<TPrintCell>& row) {
    std::vector<int> profiles;
    for (const TPrintCell& cell : row) profiles.push_back(cell.Print ? cell.Profile : -2);
    return profiles;
}

TEST(PrintPlan, MergingByCardFillsTheLastSheetOnlyWithTheProfilesLeft) {
    TPrintSpec job = MergeSpec();
    job.LabelsPerProfile = 4;
    job.FirstProfile = 1;
    job.LastProfile = 3;
    job.PageCount = RequiredSheets(job, 10, 0);
    ASSERT_EQ(job.PageCount, 2);
    const TPrintPlan plan = BuildPrintPlan(job, EveryCardHasContent(10), 1, 3);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(Profiles(plan[0]), (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1, 2, 2}));
    // -2: not printed.
    EXPECT_EQ(Profiles(plan[1]), (std::vector<int>{2, 2, -2, -2, -2, -2, -2, -2, -2, -2}));
}

TEST(PrintPlan, MergingBySheetMovesToTheNextProfileEverySheetsPerProfile) {
    TPrintSpec job = MergeSpec();
    job.ProfilePerSheet = true;
    job.SheetsPerProfile = 2;
    job.FirstProfile = 2;
    job.LastProfile = 3;
    job.PageCount = RequiredSheets(job, 4, 0);
    ASSERT_EQ(job.PageCount, 4);
    const TPrintPlan plan = BuildPrintPlan(job, EveryCardHasContent(4), 2, 3);
    for (int s = 0; s < 4; ++s) EXPECT_EQ(Profiles(plan[size_t(s)]), std::vector<int>(4, s < 2 ? 1 : 2)) << s;
}

TEST(PrintPlan, AFixedProfilePrintsSelectedCardsWithContentAndNoProfile) {
    TPrintSpec job;
    job.FixedProfile = true;
    job.PageCount = 2;
    job.SetSelected(1, true);
    job.SetSelected(2, true);
    TPlanSource source;
    source.Cards = 4;
    source.HasContent = [](int i) { return i != 2; };
    const TPrintPlan plan = BuildPrintPlan(job, source, 1, 1);
    for (const auto& row : plan) EXPECT_EQ(Profiles(row), (std::vector<int>{-2, -1, -2, -2}));
}

TEST(PrintPlan, OnlySelectedProfilesCountFromOneToTheirNumber) {
    TPrintSpec job = MergeSpec();
    job.SelectedProfilesOnly = true;
    // The range typed in the dialog is not the one counted.
    job.FirstProfile = 5;
    job.LastProfile = 40;
    int32_t first = 0, last = 0;
    EffectiveProfileRange(job, 3, first, last);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 3);
    job.PageCount = RequiredSheets(job, 2, 3);
    EXPECT_EQ(job.PageCount, 2);
    const TPrintPlan plan = BuildPrintPlan(job, EveryCardHasContent(2), first, last);
    EXPECT_EQ(Profiles(plan[0]), (std::vector<int>{0, 1}));
    EXPECT_EQ(Profiles(plan[1]), (std::vector<int>{2, -2}));
}

TEST(PrintPlan, TheBackPrintsTheMirroredCardAtEachPosition) {
    const auto portrait = CardSheet(QStringLiteral("2x5"), 2, 5);
    EXPECT_EQ(BackSideCard(*portrait, 0), 1);
    EXPECT_EQ(BackSideCard(*portrait, 1), 0);
    EXPECT_EQ(BackSideCard(*portrait, 8), 9);
    auto landscape = CardSheet(QStringLiteral("2x5"), 2, 5);
    landscape->SetLandscape(true);
    EXPECT_EQ(BackSideCard(*landscape, 0), 8);
    EXPECT_EQ(BackSideCard(*landscape, 9), 1);

    TPrintSpec job;
    job.FixedProfile = true;
    job.PageCount = 1;
    job.SetSelected(1, true); // the selection is kept in mirrored numbers
    TPlanSource source;
    source.Cards = 10;
    source.CardAt = [&](int j) { return BackSideCard(*portrait, j); };
    source.HasContent = [](int i) { return i == 1; };
    const TPrintPlan plan = BuildPrintPlan(job, source, 1, 1);
    EXPECT_TRUE(plan[0][0].Print);
    EXPECT_FALSE(plan[0][1].Print);
}

TEST(PrintPlan, RequiredSheets) {
    struct TCase {
        const char* Name;
        bool Fixed, PerSheet, CountSelected, AllFaces;
        int Count, First, Last, SheetsPer, LabelsPer, SelectedCards, Expected;
    };
    const TCase cases[] = {
        {"fixed profile: the sheet count", true, false, false, true, 7, 1, 1, 1, 1, 0, 7},
        {"per sheet", false, true, false, true, 1, 2, 4, 3, 1, 0, 9},
        {"end below start", false, true, false, true, 1, 4, 2, 1, 1, 0, 0},
        {"per card over all cards", false, false, false, true, 1, 1, 3, 1, 4, 0, 2},
        {"per card over selected cards", false, false, true, false, 1, 1, 3, 1, 1, 2, 2},
        {"no card selected: no sheet", false, false, true, false, 1, 1, 3, 1, 1, 0, 0},
    };
    for (const TCase& c : cases) {
        TPrintSpec job;
        job.FixedProfile = c.Fixed;
        job.ProfilePerSheet = c.PerSheet;
        job.CountSelectedOnly = c.CountSelected;
        job.AllFaces = c.AllFaces;
        job.PageCount = c.Count;
        job.FirstProfile = c.First;
        job.LastProfile = c.Last;
        job.SheetsPerProfile = c.SheetsPer;
        job.LabelsPerProfile = c.LabelsPer;
        for (int i = 0; i < c.SelectedCards; ++i) job.SetSelected(i, true);
        EXPECT_EQ(RequiredSheets(job, 10, 0), c.Expected) << c.Name;
    }
}

} // namespace
} // namespace vellum::test
