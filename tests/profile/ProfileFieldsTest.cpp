#include "profile/ProfileFields.h"

#include <gtest/gtest.h>

using namespace vellum;

TEST(ProfileFields, NamesInRecordOrder) {
    const QStringList& names = ProfileFieldNames();
    ASSERT_EQ(names.size(), kProfileFieldCount);
    const struct {
        int Index;
        const char* Name;
    } cases[] = {
        {0, "差込"},
        {1, "氏名"},
        {4, "ニックネーム"},
        {5, "郵便番号"},
        {6, "住所１"},
        {13, "ホームページ"},
        {14, "ZIP(Personal)"},
        {20, "Pager Number(Personal)"},
        {22, "Home Page(Personal)"},
        {23, "会社名"},
        {27, "会社郵便番号"},
        {31, "会社TEL2"},
        {36, "会社ホームページ"},
        {37, "Company Name"},
        {41, "ZIP(Company)"},
        {50, "Home Page(Company)"},
        {51, "自由項目1"},
        {55, "自由項目5"},
    };
    for (const auto& c : cases) EXPECT_EQ(names[c.Index], QString::fromUtf8(c.Name)) << c.Index;
    QStringList unique = names;
    EXPECT_EQ(unique.removeDuplicates(), 0) << "field names identify their fields";

    const QStringList& search = ProfileSearchFieldNames();
    ASSERT_EQ(search.size(), kProfileFieldCount - 1);
    EXPECT_EQ(search.first(), QStringLiteral("氏名"));
    EXPECT_EQ(search, names.mid(1));
}

TEST(ProfileFields, GroupsCoverTheFieldsInOrder) {
    const int sizes[kProfileFieldGroupCount] = {5, 9, 9, 14, 14, 5};
    int next = 0;
    for (int g = 0; g < kProfileFieldGroupCount; ++g) {
        EXPECT_EQ(FieldGroupSize(g), sizes[g]) << g;
        EXPECT_EQ(FieldGroupLabels(g).size(), sizes[g]) << g;
        for (int i = 0; i < sizes[g]; ++i) EXPECT_EQ(FieldIndex(g, i), next++) << g << ' ' << i;
    }
    EXPECT_EQ(next, kProfileFieldCount);

    const struct {
        int Group;
        int I;
        const char* Label;
        const char* Field;
    } cases[] = {
        {pfgName, 0, "差込", "差込"},
        {pfgPrivateJapanese, 8, "ホームページ", "ホームページ"},
        {pfgPrivateEnglish, 0, "ZIP", "ZIP(Personal)"},
        {pfgPrivateEnglish, 6, "Pager Number", "Pager Number(Personal)"},
        {pfgCompanyJapanese, 4, "郵便番号", "会社郵便番号"},
        {pfgCompanyJapanese, 8, "TEL2", "会社TEL2"},
        {pfgCompanyEnglish, 13, "Home Page", "Home Page(Company)"},
        {pfgFreeItems, 4, "自由項目5", "自由項目5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FieldGroupLabels(c.Group)[c.I], QString::fromUtf8(c.Label));
        EXPECT_EQ(ProfileFieldNames()[FieldIndex(c.Group, c.I)], QString::fromUtf8(c.Field));
    }
    for (int bad : {-1, kProfileFieldGroupCount}) {
        EXPECT_EQ(FieldGroupSize(bad), 0);
        EXPECT_EQ(FieldIndex(bad, 0), -1);
    }
}
