#pragma once
// Components: an owner frees what it owns; free notifications let holders of
// non-owning references clear them when the referenced component goes away.

#include "base/Persistent.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace vellum {

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;

    VELLUM_CLASS(TComponent)

public:

    TComponent* Owner() const { return FOwner; }
    const QString& Name() const { return FName; }
    // Raises EComponentError for a name that is not an identifier or that
    // another component of the same owner already has.
    void SetName(const QString& name);
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t tag) { FTag = tag; }

    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(size_t(index)); }
    int ComponentIndex() const;
    TComponent* FindComponent(const QString& name) const;

    // Moves ownership: the component leaves its owner and joins this one.
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    // Asks to be told (Notification opRemove) when component is destroyed.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    bool Destroying() const { return FDestroying; }

    // Streaming hooks: the components written as this one's children (in
    // order), the owner of children read back into it, and the end of reading.
    virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const {}
    virtual TComponent* GetChildOwner() { return nullptr; }
    virtual void Loaded() {}
    static bool IsValidIdent(const QString& name);

protected:
    // Called for insertions into and removals from this owner, and for
    // destroyed components this one asked to be told about.
    virtual void Notification(TComponent* component, TOperation operation);

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void DestroyComponents();

    TComponent* FOwner = nullptr;
    QString FName;
    intptr_t FTag = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    bool FDestroying = false;
};

} // namespace vellum
