// The catalogue the build generates from data/papers.txt.
#include "paper/Papers.h"

#include "paper/FreePaperInfo.h"
#include "paper/PaperClasses.h"

#include "base/ClassRegistry.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vellum;

TEST(ShippedCatalogue, EveryPaperIsSoundReadOnlyAndForCards) {
#ifndef VELLUM_SHIPPED_CATALOGUE
    GTEST_SKIP() << "built without data/";
#else
    const QString file = QString::fromUtf8(VELLUM_SHIPPED_CATALOGUE);
    ASSERT_TRUE(QFile::exists(file)) << file.toStdString();
    ClearClassRegistry();
    RegisterPaperClasses();
    TPapers papers;
    papers.Open(file, true);
    ASSERT_GE(papers.Count(), 8);
    int freePapers = 0;
    for (int i = 0; i < papers.Count(); ++i) {
        const TPaperInfo& p = *papers.Papers(i);
        SCOPED_TRACE(p.PaperName().toStdString());
        EXPECT_EQ(papers.StreamName(i), TPapers::SerialName(uint32_t(i + 1)));
        EXPECT_TRUE(p.ReadOnly());
        EXPECT_FALSE(p.Landscape());
        EXPECT_EQ(p.GroupName(), QStringLiteral("名刺"));
        EXPECT_GT(p.FaceCount(), 0);
        EXPECT_EQ(p.FirstFaceOutside(), -1);
        EXPECT_EQ(p.FirstOverlappingFace(), -1);
        for (int f = 0; f < p.FaceCount(); ++f) EXPECT_EQ(p.FacePurposeName(f), QStringLiteral("Meishi"));
        const int meishi = p.PurposeList().IndexOfID(QStringLiteral("Meishi"));
        ASSERT_GE(meishi, 0);
        EXPECT_EQ(p.PurposeList().Item(meishi)->DisplayName, QStringLiteral("名刺"));
        freePapers += p.InheritsFrom(TFreePaperInfo::StaticClass());
    }
    EXPECT_EQ(freePapers, 1);
    QStringList groups;
    papers.GetGroupNames(groups);
    EXPECT_EQ(groups, QStringList{QStringLiteral("名刺")});
    const int meishi = papers.PurposeList().IndexOfID(QStringLiteral("Meishi"));
    ASSERT_GE(meishi, 0);
    EXPECT_EQ(papers.PurposeList().Item(meishi)->DisplayName, QStringLiteral("名刺"));
    // The first paper is the plain 2 x 5 sheet of 91 x 55 mm.
    EXPECT_EQ(papers.Papers(0)->FacePlacedRect(3), (TRect{1050, 660, 1960, 1210}));
    papers.Close();
    ClearClassRegistry();
#endif
}
