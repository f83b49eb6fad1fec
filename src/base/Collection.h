#pragma once
// A list of persistent items that streams write as one collection value.

#include "base/Persistent.h"

namespace vellum {

class TCollection : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual TPersistent* Item(int index) const = 0;
    // A new item at the end, for a stream to read into.
    virtual TPersistent* AddItem() = 0;
    virtual void Clear() = 0;
};

} // namespace vellum
