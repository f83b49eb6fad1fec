#pragma once
// Root of every persistent object: assignment between objects of related
// classes and the class name the streams refer to.

#include "base/ClassInfo.h"

#include <QString>

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

} // namespace vellum
