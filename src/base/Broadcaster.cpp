#include "base/Broadcaster.h"

#include <algorithm>

namespace vellum {

namespace {
template <class T>
void Erase(std::vector<T*>& list, const T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
} // namespace

TBroadcaster::~TBroadcaster() {
    // Listeners may still ask the owner about itself while told it goes away.
    try {
        Notify(FOwner, NID_ObjectDestroyed);
    } catch (...) {
        // A destructor never throws; a listener's failure here changes nothing.
    }
    while (!FListeners.empty()) {
        TListener* l = FListeners.back();
        FListeners.pop_back();
        Erase(l->FBroadcasters, this);
    }
}

bool TBroadcaster::IsAttached(const TListener* listener) const {
    return std::find(FListeners.begin(), FListeners.end(), listener) != FListeners.end();
}

void TBroadcaster::Attach(TListener* listener) {
    if (!listener || IsAttached(listener)) return;
    FListeners.push_back(listener);
    listener->FBroadcasters.push_back(this);
}

void TBroadcaster::Detach(TListener* listener) {
    if (!listener) return;
    Erase(FListeners, listener);
    Erase(listener->FBroadcasters, this);
}

void TBroadcaster::Notify(TPersistent* sender, const TGUID& id) {
    const std::vector<TListener*> snapshot = FListeners;
    for (TListener* l : snapshot)
        if (IsAttached(l)) l->Notify(sender, id);
}

TListener::~TListener() { DetachAll(); }

void TListener::Attach(TBroadcaster* broadcaster) {
    if (broadcaster) broadcaster->Attach(this);
}

void TListener::Detach(TBroadcaster* broadcaster) {
    if (broadcaster) broadcaster->Detach(this);
}

void TListener::DetachAll() {
    while (!FBroadcasters.empty()) FBroadcasters.back()->Detach(this);
}

void TListener::Notify(TPersistent* sender, const TGUID& id) {
    if (FCallback) FCallback(sender, id);
}

void TChangeNotify::BeginUpdate() {
    if (FDepth == 0) FChanged = false;
    ++FDepth;
}

void TChangeNotify::EndUpdate() {
    if (FDepth == 0) return;
    if (--FDepth == 0 && FChanged) {
        FChanged = false;
        Notify(Owner(), NID_ObjectChanged);
        if (FOnModified) FOnModified();
    }
}

void TChangeNotify::Changed() {
    BeginUpdate();
    FChanged = true;
    EndUpdate();
}

} // namespace vellum
