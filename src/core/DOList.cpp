#include "core/DOList.h"

#include "core/DrawObject.h"

#include <algorithm>

namespace vellum {

int TDOList::Add(TDrawObject* object) {
    FItems.push_back(object);
    return Count() - 1;
}

void TDOList::Insert(int index, TDrawObject* object) {
    FItems.insert(FItems.begin() + std::clamp(index, 0, Count()), object);
}

void TDOList::Delete(int index) {
    (void)FItems.at(size_t(index));
    FItems.erase(FItems.begin() + index);
}

int TDOList::Remove(const TDrawObject* object) {
    const int index = IndexOf(object);
    if (index >= 0) Delete(index);
    return index;
}

int TDOList::IndexOf(const TDrawObject* object) const {
    auto it = std::find(FItems.begin(), FItems.end(), object);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

namespace {
// Hears of every listed object that goes away, so that an object freed
// together with its owner is not freed twice.
class TFreeWatcher : public TComponent {
public:
    explicit TFreeWatcher(std::vector<TDrawObject*>& items) : FItems(items) {
        for (TDrawObject* object : FItems)
            if (object) object->FreeNotification(this);
    }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove) 
            std::replace_if(FItems.begin(), FItems.end(), [component](TDrawObject* o) { return o == component; },
                            nullptr);
    }

private:
    std::vector<TDrawObject*>& FItems;
};
} // namespace

void TDOList::FreeAll() {
    std::vector<TDrawObject*> items;
    items.swap(FItems);
    TFreeWatcher watcher(items);
    for (TDrawObject*& object : items) {
        TDrawObject* doomed = object;
        object = nullptr;
        delete doomed;
    }
}

} // namespace vellum
