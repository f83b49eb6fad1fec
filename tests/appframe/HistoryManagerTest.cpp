#include "FrameFixture.h"

#include "appframe/HistoryManager.h"
#include "base/Exceptions.h"
#include "platform/RegistryStore.h"

using namespace vellum;
using vellum::test::FrameTest;

namespace {
QString Doc(int i) { return QStringLiteral("/home/user/名刺%1.xv4").arg(i); }
} // namespace

TEST_F(FrameTest, RecentListKeepsTheNewestTenInOrder) {
    THistoryManager h;
    h.SetRegistryKey(QStringLiteral("$(OpenFileHistory)"));
    for (int i = 1; i <= 11; ++i) h.Add(Doc(i));
    QStringList expected;
    for (int i = 11; i >= 2; --i) expected << Doc(i);
    EXPECT_EQ(h.Load(), expected);
    h.Add(Doc(5)); // an entry already there moves to the top
    EXPECT_EQ(h.Items().first(), Doc(5));
    EXPECT_EQ(h.Items().size(), 10);
    EXPECT_EQ(h.Items().count(Doc(5)), 1);

    const QString key = QStringLiteral("Software\\Quillwork\\Vellum\\4.0\\Settings\\OpenFileHistory");
    EXPECT_EQ(FFrame->Registry().ReadString(key, QStringLiteral("Item0")), Doc(5));
    EXPECT_EQ(FFrame->Registry().ValueNames(key).size(), 10);
}

TEST_F(FrameTest, LongListsLoadInItemNumberOrder) {
    THistoryManager h;
    h.SetRegistryKey(QStringLiteral("$(UsedPaperHistory)"));
    h.SetLimit(20);
    for (int i = 1; i <= 15; ++i) h.Add(Doc(i));
    THistoryManager fresh; // what the next start reads
    fresh.SetRegistryKey(QStringLiteral("$(UsedPaperHistory)"));
    fresh.SetLimit(20);
    const QStringList items = fresh.Load();
    ASSERT_EQ(items.size(), 15);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(items[i], Doc(15 - i)) << i;
}

TEST_F(FrameTest, RecentListWithoutAKeyRaises) {
    THistoryManager h;
    try {
        h.Add(QStringLiteral("x"));
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("History用のキーがセットされていません"));
    }
}

TEST_F(FrameTest, ComponentMacrosAreExpandedInOwnedComponents) {
    TComponent form;
    auto* recent = new THistoryManager(&form);
    recent->SetRegistryKey(QStringLiteral("$(OpenFileHistory)"));
    recent->SetClearHistoryCaption(QStringLiteral("$(AppName"));
    FFrame->ExpandComponentMacros(&form);
    EXPECT_EQ(recent->RegistryKey(),
              QStringLiteral("Software\\Quillwork\\Vellum\\4.0\\Settings\\OpenFileHistory"));
    EXPECT_EQ(recent->ClearHistoryCaption(), QStringLiteral("$(AppName")); // malformed: kept as it was
}
