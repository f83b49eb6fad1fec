#include "base/Component.h"
#include "base/Exceptions.h"
#include "base/StringList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

using namespace vellum;

namespace {

// Records its destruction and every notification it receives, by Tag, so that
// no pointer is compared after its object is gone; optionally holds a
// non-owning reference that it clears when told the referenced one goes.
class TProbe : public TComponent {
public:
    TProbe(TComponent* owner, intptr_t tag, std::vector<intptr_t>* destroyed = nullptr)
        : TComponent(owner), FDestroyed(destroyed) {
        SetTag(tag);
    }
    ~TProbe() override {
        if (FDestroyed) FDestroyed->push_back(Tag());
    }

    void Refer(TComponent* other) {
        if (FRef) RemoveFreeNotification(FRef);
        FRef = other;
        if (other) FreeNotification(other);
    }
    TComponent* Ref() const { return FRef; }
    int Count(intptr_t tag, TOperation op) const {
        return int(std::count(FEvents.begin(), FEvents.end(), std::make_pair(tag, op)));
    }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        FEvents.emplace_back(component->Tag(), operation);
        if (operation == TOperation::opRemove && component == FRef) FRef = nullptr;
    }

private:
    std::vector<intptr_t>* FDestroyed;
    std::vector<std::pair<intptr_t, TOperation>> FEvents;
    TComponent* FRef = nullptr;
};

} // namespace

TEST(Component, OwnerFreesWhatItOwns) {
    std::vector<intptr_t> destroyed;
    auto owner = std::make_unique<TProbe>(nullptr, 1, &destroyed);
    auto a = new TProbe(owner.get(), 2, &destroyed);
    auto b = new TProbe(owner.get(), 3, &destroyed);
    auto grandChild = new TProbe(b, 4, &destroyed);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0), a);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(grandChild->Owner(), b);
    EXPECT_EQ(owner->ComponentIndex(), -1);

    delete a; // a child destroyed on its own leaves its owner
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->Components(0), b);
    EXPECT_EQ(b->ComponentIndex(), 0);
    EXPECT_EQ(owner->Count(2, TOperation::opRemove), 1);

    owner.reset();
    std::sort(destroyed.begin(), destroyed.end());
    EXPECT_EQ(destroyed, (std::vector<intptr_t>{1, 2, 3, 4})); // each exactly once
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner) {
    TComponent owner;
    auto a = new TComponent(&owner);
    auto b = new TComponent(&owner);
    a->SetName(QStringLiteral("Label1"));
    for (const char* bad : {"1abc", "a b", "a-b", "名前", "a.b", " a", "ａ"})
        EXPECT_THROW(b->SetName(QString::fromUtf8(bad)), EComponentError) << bad;
    EXPECT_THROW(b->SetName(QStringLiteral("label1")), EComponentError); // without regard to case
    EXPECT_EQ(b->Name(), QString());
    b->SetName(QStringLiteral("_x9"));
    a->SetName(QStringLiteral("LABEL1")); // renaming itself is no clash
    EXPECT_EQ(a->Name(), QStringLiteral("LABEL1"));
    b->SetName(QString());
    b->SetName(QStringLiteral("Label2"));
    a->SetTag(-7);
    EXPECT_EQ(a->Tag(), -7);

    EXPECT_EQ(owner.FindComponent(QStringLiteral("label1")), a);
    EXPECT_EQ(owner.FindComponent(QStringLiteral("LaBeL2")), b);
    EXPECT_EQ(owner.FindComponent(QStringLiteral("Label3")), nullptr);
    EXPECT_EQ(owner.FindComponent(QString()), nullptr);

    // Unowned components may share names; an owner refuses a second one.
    TComponent other;
    auto c = new TComponent(&other);
    c->SetName(QStringLiteral("label2"));
    EXPECT_THROW(owner.InsertComponent(c), EComponentError);
    EXPECT_EQ(c->Owner(), &other); // a refused move changes nothing
    EXPECT_EQ(other.ComponentCount(), 1);
    EXPECT_EQ(owner.ComponentCount(), 2);
}

TEST(Component, InsertComponentMovesOwnership) {
    std::vector<intptr_t> destroyed;
    auto first = std::make_unique<TProbe>(nullptr, 1, &destroyed);
    auto second = std::make_unique<TProbe>(nullptr, 2, &destroyed);
    auto child = new TProbe(first.get(), 3, &destroyed);
    child->SetName(QStringLiteral("Child"));

    second->InsertComponent(child);
    EXPECT_EQ(child->Owner(), second.get());
    EXPECT_EQ(first->ComponentCount(), 0);
    EXPECT_EQ(second->FindComponent(QStringLiteral("child")), child);
    EXPECT_EQ(first->Count(3, TOperation::opRemove), 1);
    EXPECT_EQ(second->Count(3, TOperation::opInsert), 1);
    second->InsertComponent(child); // already there: nothing happens
    EXPECT_EQ(second->ComponentCount(), 1);
    EXPECT_EQ(second->Count(3, TOperation::opInsert), 1);

    first.reset();
    EXPECT_EQ(destroyed, std::vector<intptr_t>{1}); // the child went with its new owner, not the old one
    second.reset();
    EXPECT_EQ(destroyed, (std::vector<intptr_t>{1, 2, 3}));

    TComponent owner;
    auto loose = std::make_unique<TComponent>();
    owner.InsertComponent(loose.get());
    EXPECT_EQ(loose->Owner(), &owner);
    owner.RemoveComponent(loose.get()); // removing hands ownership back to the caller
    EXPECT_EQ(loose->Owner(), nullptr);
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(Component, FreeNotificationTellsTheHolderOnce) {
    auto form = std::make_unique<TComponent>();
    auto holder = std::make_unique<TProbe>(nullptr, 1);
    auto sibling = new TProbe(form.get(), 2);
    auto target = new TProbe(form.get(), 3);

    holder->Refer(target);
    holder->FreeNotification(target); // asking twice, or both ways, still tells once
    target->FreeNotification(holder.get());
    sibling->Refer(target);
    delete target;
    EXPECT_EQ(holder->Ref(), nullptr);
    EXPECT_EQ(sibling->Ref(), nullptr);
    EXPECT_EQ(holder->Count(3, TOperation::opRemove), 1);
    EXPECT_EQ(sibling->Count(3, TOperation::opRemove), 1);

    // Destroyed by its owner, the holder is told as well.
    auto owned = new TProbe(form.get(), 4);
    holder->Refer(owned);
    form.reset();
    EXPECT_EQ(holder->Ref(), nullptr);
    EXPECT_EQ(holder->Count(4, TOperation::opRemove), 1);
}

TEST(Component, OwnerHoldingItsChildIsToldOnce) {
    TProbe owner(nullptr, 1);
    auto child = new TProbe(&owner, 2);
    owner.Refer(child);
    delete child;
    EXPECT_EQ(owner.Ref(), nullptr);
    EXPECT_EQ(owner.Count(2, TOperation::opRemove), 1);
    EXPECT_EQ(owner.ComponentCount(), 0);

    // Destroying the owner with the reference still set is fine too.
    auto owned = new TProbe(&owner, 3);
    owner.Refer(owned);
}

TEST(Component, RemovedFreeNotificationIsNotCalled) {
    TProbe holder(nullptr, 1);
    auto target = std::make_unique<TProbe>(nullptr, 2);
    holder.FreeNotification(target.get());
    holder.RemoveFreeNotification(target.get());
    target.reset();
    EXPECT_EQ(holder.Count(2, TOperation::opRemove), 0);

    // A holder destroyed first unhooks itself: the referenced one is told, and
    // later goes without touching the dead holder.
    auto referenced = std::make_unique<TProbe>(nullptr, 3);
    auto shortLived = std::make_unique<TProbe>(nullptr, 4);
    shortLived->Refer(referenced.get());
    shortLived.reset();
    EXPECT_EQ(referenced->Count(4, TOperation::opRemove), 1);
    referenced.reset();
}

TEST(Component, AssignBetweenUnrelatedClassesRaises) {
    TComponent component;
    TStringList list;
    list.Add(QStringLiteral("a"));
    try {
        list.Assign(&component);
        FAIL();
    } catch (const EConvertError& e) {
        const QString m = e.Message();
        EXPECT_TRUE(m.indexOf(QStringLiteral("TComponent")) >= 0 &&
                    m.indexOf(QStringLiteral("TComponent")) < m.indexOf(QStringLiteral("TStringList")))
            << e.what(); // source first, then destination
    }
    EXPECT_EQ(list.Count(), 1);
    EXPECT_THROW(component.Assign(&list), EConvertError);
    EXPECT_THROW(component.Assign(nullptr), EConvertError);
    EXPECT_THROW(list.Assign(nullptr), EConvertError);

    TStringList copy;
    copy.Add(QStringLiteral("old"));
    copy.Assign(&list);
    EXPECT_EQ(copy.Items(), QStringList{QStringLiteral("a")});
}
