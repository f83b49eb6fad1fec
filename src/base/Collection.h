#pragma once
// A list of persistent items that streams write as one collection value.

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Persistent.h"

#include <memory>
#include <vector>

namespace vellum {

class TCollection : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual TPersistent* Item(int index) const = 0;
    // A new item at the end, for a stream to read into.
    virtual TPersistent* AddItem() = 0;
    virtual void Clear() = 0;
};

// A collection that owns items of one kind.
template <class TItem>
class TOwnedCollection : public TCollection {
public:
    int Count() const override { return int(FItems.size()); }
    // Raises EListError out of range.
    TItem* Item(int index) const override {
        if (index < 0 || index >= Count())
            throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), index));
        return FItems[size_t(index)].get();
    }
    TItem* AddItem() override {
        FItems.push_back(std::make_unique<TItem>());
        return FItems.back().get();
    }
    void Clear() override { FItems.clear(); }
    void Delete(int index) {
        Item(index);
        FItems.erase(FItems.begin() + index);
    }
    // Copies every item of a collection of the same kind.
    void Assign(const TPersistent* source) override {
        const auto* other = dynamic_cast<const TOwnedCollection*>(source);
        if (!other) return TPersistent::Assign(source);
        if (other == this) return;
        FItems.clear();
        for (const auto& item : other->FItems) AddItem()->Assign(item.get());
    }

protected:
    std::vector<std::unique_ptr<TItem>> FItems;
};

} // namespace vellum
