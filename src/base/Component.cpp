#include "base/Component.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <algorithm>

namespace vellum {

const TClassInfo& TComponent::StaticClass() {
    // Name is written in the object header, never as a property; it holds
    // position 0 so that Tag is 1 as in every stream.
    static const TClassInfo info = TClassInfo::Make<TComponent, TPersistent>("TComponent", [](auto& b) {
        b.String(QStringLiteral("Name"), &TComponent::Name, &TComponent::SetName).Stored(false);
        b.Integer(QStringLiteral("Tag"), &TComponent::Tag, &TComponent::SetTag).Default(int64_t(0));
    });
    return info;
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    FDestroying = true;
    // Tell everyone holding a reference first; they detach while we are intact.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& back = other->FFreeNotifies;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        // A live owner hears of it once, from RemoveComponent below.
        if (other != FOwner || FOwner->FDestroying) other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        Remove(c);
        delete c;
    }
}

bool TComponent::IsValidIdent(const QString& name) {
    if (name.isEmpty()) return false;
    for (int i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
        const bool digit = c >= u'0' && c <= u'9';
        if (!(letter || (i > 0 && digit))) return false;
    }
    return true;
}

void TComponent::SetName(const QString& name) {
    if (name == FName) return;
    if (!name.isEmpty() && !IsValidIdent(name))
        throw EComponentError(Format(QStringLiteral("%s は有効なコンポーネント名ではありません"), name));
    if (FOwner && !name.isEmpty()) {
        TComponent* same = FOwner->FindComponent(name);
        if (same && same != this)
            throw EComponentError(Format(QStringLiteral("コンポーネント名 %s はすでに存在します"), name));
    }
    FName = name;
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

TComponent* TComponent::FindComponent(const QString& name) const {
    if (name.isEmpty()) return nullptr;
    for (TComponent* c : FComponents)
        if (c->FName.compare(name, Qt::CaseInsensitive) == 0) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->FOwner == this) return;
    if (!component->FName.isEmpty() && FindComponent(component->FName))
        throw EComponentError(
            Format(QStringLiteral("コンポーネント名 %s はすでに存在します"), component->FName));
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    Insert(component);
    Notification(component, TOperation::opInsert);
}

void TComponent::CheckOwned(const TComponent& component) const {
    if (component.FOwner != this)
        throw EComponentError(Format(QStringLiteral("%s is not owned here"), component.ClassName()));
}

void TComponent::FreeComponent(TComponent& component) {
    CheckOwned(component);
    delete &component;
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->FOwner != this) return;
    if (!FDestroying) Notification(component, TOperation::opRemove);
    Remove(component);
}

void TComponent::Insert(TComponent* component) {
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), component), FComponents.end());
    component->FOwner = nullptr;
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(component);
        component->FFreeNotifies.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component),
                        FFreeNotifies.end());
    auto& other = component->FFreeNotifies;
    other.erase(std::remove(other.begin(), other.end(), this), other.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) RemoveFreeNotification(component);
}

} // namespace vellum
