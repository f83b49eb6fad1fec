#include "../appframe/FrameFixture.h"

#include "appframe/HistoryManager.h"
#include "appgui/HistoryMenu.h"

#include <QAction>
#include <QMenu>

#include <memory>

using namespace vellum;
using vellum::test::FrameTest;

TEST_F(FrameTest, RecentListMenuEntries) {
    QMenu menu;
    menu.addAction(QStringLiteral("開く(&O)..."));
    QAction* placeholder = menu.addAction(QStringLiteral("最近使ったファイル(&D)"));
    QAction* after = menu.addAction(QStringLiteral("終了(&X)"));
    THistoryManager h;
    h.SetRegistryKey(QStringLiteral("$(OpenFileHistory)"));
    h.SetUseAccelerator(true);
    h.SetClearHistoryCaption(QStringLiteral("履歴の消去"));
    THistoryMenu entries(h, &menu, placeholder);
    for (int i = 0; i < 12; ++i) h.Add(QStringLiteral("f%1").arg(i));
    h.Add(QStringLiteral("A&B"));
    QString chosen;
    h.OnMenuClick = [&](THistoryManager*, const QString& item) { chosen = item; };

    QStringList captions;
    for (QAction* a : menu.actions()) captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QStringList expected{QStringLiteral("開く(&O)..."), QStringLiteral("最近使ったファイル(&D)"),
                         QStringLiteral("-"), QStringLiteral("&0 A&&B")};
    for (int i = 11; i >= 3; --i) expected << QStringLiteral("&%1 f%2").arg(QChar(u'0' + 12 - i)).arg(i);
    expected << QStringLiteral("-") << QStringLiteral("履歴の消去") << QStringLiteral("終了(&X)");
    EXPECT_EQ(captions, expected);
    EXPECT_FALSE(placeholder->isVisible());
    EXPECT_EQ(menu.actions().last(), after);

    menu.actions()[5]->trigger(); // "&2 f10"
    EXPECT_EQ(chosen, QStringLiteral("f10"));
    EXPECT_EQ(h.Items().first(), QStringLiteral("f10"));

    menu.actions()[menu.actions().size() - 2]->trigger(); // clear
    EXPECT_TRUE(h.Items().isEmpty());
    EXPECT_EQ(menu.actions().size(), 3);
}

TEST_F(FrameTest, RecentListMenuFollowsLoadsAndOutlivesItsList) {
    {
        THistoryManager writer;
        writer.SetRegistryKey(QStringLiteral("$(OpenFileHistory)"));
        writer.Add(QStringLiteral("a"));
        writer.Add(QStringLiteral("b"));
    }
    QMenu menu;
    QAction* placeholder = menu.addAction(QString());
    auto h = std::make_unique<THistoryManager>();
    h->SetRegistryKey(QStringLiteral("$(OpenFileHistory)"));
    THistoryMenu entries(*h, &menu, placeholder);
    EXPECT_EQ(menu.actions().size(), 1); // nothing read yet
    h->Load();                           // what another window stored shows at once
    QStringList captions;
    for (QAction* a : menu.actions())
        if (a != placeholder) captions << a->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
    h.reset(); // the list goes first: its entries go with it
    EXPECT_EQ(menu.actions(), QList<QAction*>{placeholder});
    entries.Update();
    EXPECT_EQ(menu.actions().size(), 1);
}
