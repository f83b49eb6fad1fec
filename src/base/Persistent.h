#pragma once
// Root of every persistent object: assignment between objects of related
// classes and the class name the streams refer to.

#include "base/ClassInfo.h"

#include <QString>

#include <memory>

namespace vellum {

class TPersistent {
public:
    TPersistent() = default;
    virtual ~TPersistent() = default;
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;

    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassType() const { return StaticClass(); }
    QString ClassName() const { return ClassType().Name(); }
    bool InheritsFrom(const TClassInfo& info) const { return ClassType().InheritsFrom(info); }
    // Copies source into this object; classes that cannot take it let the
    // source try AssignTo, which raises EConvertError when nothing fits.
    virtual void Assign(const TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

// The object owner holds, as a T when it is one: the result owns it then.
// Else none, and owner keeps it.
template <class T, class U>
std::unique_ptr<T> TakeAs(std::unique_ptr<U>& owner) {
    T* object = dynamic_cast<T*>(owner.get());
    if (!object) return nullptr;
    // The same object goes on, held as a T.
    owner.release();
    return std::unique_ptr<T>(object);
}

} // namespace vellum
