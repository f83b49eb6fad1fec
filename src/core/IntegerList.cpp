#include "core/IntegerList.h"

#include "base/Exceptions.h"
#include "base/Format.h"

namespace vellum {

const TClassInfo& TIntegerList::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TIntegerList, TPersistent>("TIntegerList", [](auto&) {});
    return info;
}

void TIntegerList::CheckIndex(int i) const {
    if (i < 0 || i >= Count())
        throw EIntegerList(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), i));
}

int32_t TIntegerList::Values(int i) const {
    CheckIndex(i);
    return FValues[size_t(i)];
}

void TIntegerList::SetValues(int i, int32_t value) {
    CheckIndex(i);
    if (FValues[size_t(i)] == value) return;
    FValues[size_t(i)] = value;
    if (OnChange) OnChange(*this);
}

void TIntegerList::Assign(const TPersistent* source) {
    if (auto other = dynamic_cast<const TIntegerList*>(source)) {
        if (other->Count() != Count()) throw EIntegerList(QStringLiteral("Count of Values is mismatch."));
        if (other->FValues == FValues) return;
        FValues = other->FValues;
        if (OnChange) OnChange(*this);
        return;
    }
    TPersistent::Assign(source);
}

} // namespace vellum
