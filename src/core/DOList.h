#pragma once
// Ordered lists of drawing objects, back to front. A TDOList only refers to
// objects (a selection, what a function looks at); a TOwnedDOList owns them
// and frees those it still holds when it goes.

#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

namespace vellum {

class TDrawObject;
class TStream;

class TDOList {
public:
    TDOList() = default;
    explicit TDOList(std::vector<TDrawObject*> items) : FItems(std::move(items)) {}

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

    // int32 count, then each object as one component stream.
    void SaveToStream(TStream& stream) const;
    // Clones of the objects (named as the originals) under the clipboard
    // format name; nothing for an empty list.
    void CopyToClipboard(const QString& format) const;
    // The clipboard MIME type that stands for a registered format name.
    static QString ClipboardMimeType(const QString& format);

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    std::vector<TDrawObject*>& Raw() { return FItems; }

private:
    std::vector<TDrawObject*> FItems;
};

// The one owner of its objects: an object given to it leaves its component
// owner. It hands out a view of them that costs nothing and stays valid
// while the list lives.
class TOwnedDOList {
public:
    TOwnedDOList();
    TOwnedDOList(TOwnedDOList&& other) noexcept;
    TOwnedDOList& operator=(TOwnedDOList&& other) noexcept;
    ~TOwnedDOList();

    int Count() const { return FView.Count(); }
    bool Empty() const { return FView.Empty(); }
    TDrawObject* Items(int index) const { return FView.Items(index); }
    int IndexOf(const TDrawObject* object) const { return FView.IndexOf(object); }

    const TDOList& View() const { return FView; }
    operator const TDOList&() const { return FView; }
    auto begin() const { return FView.begin(); }
    auto end() const { return FView.end(); }

    // Takes object in at the end and returns it.
    TDrawObject& Give(std::unique_ptr<TDrawObject> object);
    template <class T>
    T& Give(std::unique_ptr<T> object) {
        return static_cast<T&>(Give(std::unique_ptr<TDrawObject>(std::move(object))));
    }
    // Takes object in at index (kept within the list) and returns it.
    TDrawObject& Insert(int index, std::unique_ptr<TDrawObject> object);
    // The object at index leaves the list for the caller.
    std::unique_ptr<TDrawObject> Take(int index);
    // Every object, in order, for the caller; the list is empty then.
    std::vector<std::unique_ptr<TDrawObject>> TakeAll();
    // Object takes the place at index; the caller gets the one that was there.
    std::unique_ptr<TDrawObject> Replace(int index, std::unique_ptr<TDrawObject> object);
    // Frees the objects, first to last; the list is empty while they go.
    void Clear();
    void Reverse();

    void SaveToStream(TStream& stream) const { FView.SaveToStream(stream); }
    // Frees what the list held and reads the objects, without an owner.
    // Components that are not drawing objects are freed. A failed read frees
    // what it read, leaves the list empty and raises.
    void LoadFromStream(TStream& stream);
    void CopyToClipboard(const QString& format) const { FView.CopyToClipboard(format); }
    // Loads what the clipboard holds under the format; empty when nothing.
    void PasteClipboard(const QString& format);

private:
    std::vector<std::unique_ptr<TDrawObject>> FObjects;
    // The same objects in the same order.
    TDOList FView;
};

} // namespace vellum
