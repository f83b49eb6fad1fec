#pragma once
// An ordered list of drawing objects, back to front. It holds references
// only and frees the objects only when told to.

#include <QString>

#include <cstddef>
#include <vector>

namespace vellum {

class TDrawObject;
class TStream;

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

    // int32 count, then each object as one component stream.
    void SaveToStream(TStream& stream) const;
    // Clears the list and reads objects without an owner: the list's holder
    // frees or adopts them. Components that are not drawing objects are freed.
    // A failed read frees what it read and raises.
    void LoadFromStream(TStream& stream);
    // Clones of the objects (named as the originals) under the clipboard
    // format name; nothing for an empty list.
    void CopyToClipboard(const QString& format) const;
    // Loads what the clipboard holds under the format; empty when nothing.
    void PasteClipboard(const QString& format);
    // The clipboard MIME type that stands for a registered format name.
    static QString ClipboardMimeType(const QString& format);

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    std::vector<TDrawObject*>& Raw() { return FItems; }

private:
    std::vector<TDrawObject*> FItems;
};

// A list that frees the objects it still holds when it goes.
class TOwnedDOList : public TDOList {
public:
    TOwnedDOList() = default;
    TOwnedDOList(const TOwnedDOList&) = delete;
    TOwnedDOList& operator=(const TOwnedDOList&) = delete;
    ~TOwnedDOList() { FreeAll(); }
};

} // namespace vellum
