#pragma once
// An ordered list of drawing objects, back to front. It holds references
// only and frees the objects only when told to.

#include <cstddef>
#include <vector>

namespace vellum {

class TDrawObject;

class TDOList {
public:
    TDOList() = default;

    int Count() const { return int(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    TDrawObject* Items(int index) const { return FItems.at(std::size_t(index)); }
    void SetItems(int index, TDrawObject* object) { FItems.at(std::size_t(index)) = object; }
    int Add(TDrawObject* object);
    void Insert(int index, TDrawObject* object);
    void Delete(int index);
    // Removes the first reference to object; its former index, or -1.
    int Remove(const TDrawObject* object);
    int IndexOf(const TDrawObject* object) const;
    void Clear() { FItems.clear(); }
    // Frees every object in the list (each through its owner), then clears it.
    void FreeAll();

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    std::vector<TDrawObject*>& Raw() { return FItems; }

private:
    std::vector<TDrawObject*> FItems;
};

} // namespace vellum
