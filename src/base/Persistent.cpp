#include "base/Persistent.h"

#include "base/Exceptions.h"
#include "base/Format.h"

namespace vellum {

const TClassInfo& TPersistent::StaticClass() {
    static const TClassInfo info =
        TClassInfo::MakeRoot("TPersistent", [](TComponent*) { return new TPersistent; });
    return info;
}

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(this);
        return;
    }
    throw EConvertError(
        Format(QStringLiteral("%s を %s に代入できません"), QStringLiteral("nil"), ClassName()));
}

void TPersistent::AssignTo(TPersistent* dest) const {
    throw EConvertError(Format(QStringLiteral("%s を %s に代入できません"), ClassName(),
                               dest ? dest->ClassName() : QStringLiteral("nil")));
}

} // namespace vellum
