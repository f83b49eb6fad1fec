#pragma once
// Per-kind designers (object creator, property editors, handle and ghost
// designers) and the process-wide registry that asks them, newest first.

#include "core/Capabilities.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace vellum {

class TDrawObject;
class IDrawSite;

// Shared ownership stands for the reference count of the designers.
class TDODesigner : public IDODesigner, public std::enable_shared_from_this<TDODesigner> {
public:
    ~TDODesigner() override = default;

    bool CreateObject(IDrawSite* site, const QString& kindName) override { return false; }
    std::unique_ptr<TDrawObject> NewObject(const QString& kindName) override;
    // cancelled starts true: a designer that handles the object sets it false when accepted.
    bool EditObject(TDrawObject* object, bool& cancelled) override { return false; }
    bool CreateHandles(TDrawObject* object) override { return false; }
    bool StartGhost(TDrawObject* object, int handleIndex) override { return false; }
};

class TDODesignerList {
public:
    TDODesignerList() = default;
    TDODesignerList(const TDODesignerList&) = delete;
    TDODesignerList& operator=(const TDODesignerList&) = delete;

    // Appended: the newest is asked first.
    void Register(std::shared_ptr<TDODesigner> designer);
    void Unregister(const TDODesigner* designer);
    // Releases every designer the test picks (those of a module being unloaded).
    void UnregisterIf(const std::function<bool(const TDODesigner&)>& test);
    int Count() const { return int(FDesigners.size()); }
    TDODesigner* Designers(int index) const { return FDesigners.at(size_t(index)).get(); }
    void Clear() { FDesigners.clear(); }

    bool CreateObject(IDrawSite* site, const QString& kindName);
    std::unique_ptr<TDrawObject> NewObject(const QString& kindName);
    // True only when a designer handled the object and the edit was accepted.
    bool EditObject(TDrawObject* object);
    bool CreateHandles(TDrawObject* object);
    bool StartGhost(TDrawObject* object, int handleIndex);

private:
    // Asks the designers newest first until one answers true.
    bool Ask(const std::function<bool(IDODesigner&)>& question);

    std::vector<std::shared_ptr<TDODesigner>> FDesigners;
};

// The one registry of the process.
TDODesignerList& DODesigners();

} // namespace vellum
