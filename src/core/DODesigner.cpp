#include "core/DODesigner.h"

#include "core/DrawObject.h"

#include <algorithm>

namespace vellum {

std::unique_ptr<TDrawObject> TDODesigner::NewObject(const QString&) { return nullptr; }

void TDODesignerList::Register(std::shared_ptr<TDODesigner> designer) {
    if (designer) FDesigners.push_back(std::move(designer));
}

void TDODesignerList::Unregister(const TDODesigner* designer) {
    UnregisterIf([designer](const TDODesigner& d) { return &d == designer; });
}

void TDODesignerList::UnregisterIf(const std::function<bool(const TDODesigner&)>& test) {
    std::erase_if(FDesigners, [&test](const std::shared_ptr<TDODesigner>& d) { return test(*d); });
}

bool TDODesignerList::Ask(const std::function<bool(IDODesigner&)>& question) {
    // A designer may register or release others while it answers.
    const auto snapshot = FDesigners;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it)
        if (question(**it)) return true;
    return false;
}

bool TDODesignerList::CreateObject(IDrawSite* site, const QString& kindName) {
    return Ask([&](IDODesigner& d) { return d.CreateObject(site, kindName); });
}

std::unique_ptr<TDrawObject> TDODesignerList::NewObject(const QString& kindName) {
    std::unique_ptr<TDrawObject> object;
    Ask([&](IDODesigner& d) {
        object = d.NewObject(kindName);
        return object != nullptr;
    });
    return object;
}

bool TDODesignerList::EditObject(TDrawObject* object) {
    bool cancelled = true;
    const bool handled = Ask([&](IDODesigner& d) { return d.EditObject(object, cancelled); });
    return handled && !cancelled;
}

bool TDODesignerList::CreateHandles(TDrawObject* object) {
    return Ask([&](IDODesigner& d) { return d.CreateHandles(object); });
}

bool TDODesignerList::StartGhost(TDrawObject* object, int handleIndex) {
    return Ask([&](IDODesigner& d) { return d.StartGhost(object, handleIndex); });
}

TDODesignerList& DODesigners() {
    static TDODesignerList list;
    return list;
}

} // namespace vellum
