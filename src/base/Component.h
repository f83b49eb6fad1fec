#pragma once
// Components: an owner frees what it owns; free notifications let holders of
// non-owning references clear them when the referenced component goes away.

#include "base/Persistent.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
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
    // The component joins this owner; it is freed when it cannot.
    template <class T>
    T& Adopt(std::unique_ptr<T> component);
    // The component leaves this owner, which must own it, for the caller.
    template <class T>
    std::unique_ptr<T> Disown(T& component);
    // Frees a component this one owns; it leaves this owner as it goes.
    void FreeComponent(TComponent& component);

    // Asks to be told (Notification opRemove) when component is destroyed.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    bool Destroying() const { return FDestroying; }

    // Streaming hooks: the children a stream writes after the properties, the
    // owner of children read back, what a container does with a child it
    // read (give it a parent, say), and the end of reading the whole stream.
    virtual void GetChildren(const std::function<void(TComponent*)>& proc) const {}
    virtual TComponent* ChildOwner() { return this; }
    virtual void ChildRead(TComponent* child) {}
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
    // Raises EComponentError unless this one owns component.
    void CheckOwned(const TComponent& component) const;

    TComponent* FOwner = nullptr;
    QString FName;
    intptr_t FTag = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    bool FDestroying = false;
};

template <class T>
T& TComponent::Adopt(std::unique_ptr<T> component) {
    static_assert(std::is_base_of_v<TComponent, T>);
    InsertComponent(component.get());
    // The owner frees it from here on.
    return *component.release();
}

template <class T>
std::unique_ptr<T> TComponent::Disown(T& component) {
    static_assert(std::is_base_of_v<TComponent, T>);
    CheckOwned(component);
    RemoveComponent(&component);
    return std::unique_ptr<T>(&component);
}

} // namespace vellum
