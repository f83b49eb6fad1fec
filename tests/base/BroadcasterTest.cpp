#include "base/Broadcaster.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vellum;

namespace {
struct TLog {
    std::vector<std::pair<QString, TGUID>> Calls;
    std::unique_ptr<TListener> Make(const QString& name) {
        return std::make_unique<TListener>([this, name](TPersistent*, const TGUID& id) {
            Calls.push_back({name, id});
        });
    }
    QStringList Names() const {
        QStringList n;
        for (const auto& c : Calls) n << c.first;
        return n;
    }
};
constexpr TGUID kPing = MakeGUID("{00000001-0000-0000-0000-000000000001}");
} // namespace

TEST(Broadcaster, CallsListenersInAttachOrderAndBothSidesDetach) {
    TLog log;
    TPersistent owner;
    auto a = log.Make(QStringLiteral("a"));
    auto b = log.Make(QStringLiteral("b"));
    auto c = log.Make(QStringLiteral("c"));
    {
        TBroadcaster caster(&owner);
        b->Attach(&caster);
        caster.Attach(a.get());
        caster.Attach(c.get());
        caster.Attach(a.get()); // once only
        caster.Notify(&owner, kPing);
        EXPECT_EQ(log.Names(), (QStringList{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")}));
        a.reset(); // a destroyed listener leaves the broadcaster
        EXPECT_EQ(caster.ListenerCount(), 2);
        log.Calls.clear();
    }
    // The destroyed broadcaster announced itself to everyone still attached, with its owner.
    ASSERT_EQ(log.Calls.size(), 2u);
    EXPECT_EQ(log.Calls[0].second, NID_ObjectDestroyed);
    EXPECT_EQ(b->BroadcasterCount(), 0);
    EXPECT_EQ(c->BroadcasterCount(), 0);
}

TEST(Broadcaster, AListenerDetachedDuringABroadcastIsNotCalled) {
    TBroadcaster caster;
    QStringList calls;
    TListener second([&](TPersistent*, const TGUID&) { calls << QStringLiteral("second"); });
    TListener first([&](TPersistent*, const TGUID&) {
        calls << QStringLiteral("first");
        caster.Detach(&second);
    });
    caster.Attach(&first);
    caster.Attach(&second);
    caster.Notify(nullptr, kPing);
    EXPECT_EQ(calls, QStringList{QStringLiteral("first")});
}

TEST(ChangeNotify, OneBroadcastPerBatchAndOnlyWhenSomethingChanged) {
    TPersistent owner;
    int modified = 0;
    TChangeNotify notify(&owner, [&] { ++modified; });
    std::vector<TPersistent*> senders;
    TListener l([&](TPersistent* sender, const TGUID& id) {
        if (id == NID_ObjectChanged) senders.push_back(sender);
    });
    notify.Attach(&l);

    notify.BeginUpdate();
    notify.EndUpdate();
    EXPECT_TRUE(senders.empty());

    notify.BeginUpdate();
    notify.Changed();
    notify.BeginUpdate();
    notify.Changed();
    notify.EndUpdate();
    EXPECT_TRUE(senders.empty()); // still inside the outer batch
    notify.EndUpdate();
    EXPECT_EQ(senders, std::vector<TPersistent*>{&owner});
    EXPECT_EQ(modified, 1);

    notify.Changed();
    EXPECT_EQ(senders.size(), 2u);
    EXPECT_EQ(modified, 2);
    notify.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(notify.UpdateDepth(), 0);
}
