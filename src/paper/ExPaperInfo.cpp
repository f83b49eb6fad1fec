#include "paper/ExPaperInfo.h"

namespace vellum {

const TClassInfo& TExPaperInfo::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TExPaperInfo, TExtraPaperInfo>("TExPaperInfo", [](auto& b) {
            using T = TExPaperInfo;
            b.String(QStringLiteral("Purpose"), &T::Purpose, &T::SetPurpose);
            b.String(QStringLiteral("Company"), &T::Company, &T::SetCompany);
            b.Integer(QStringLiteral("RoundSize"), &T::RoundSize, &T::SetRoundSize);
        });
    return info;
}

bool TExPaperInfo::IsEmpty() const { return FPurpose.isEmpty() && FCompany.isEmpty() && FRoundSize == 0; }

void TExPaperInfo::Clear() {
    FPurpose.clear();
    FCompany.clear();
    FRoundSize = 0;
}

void TExPaperInfo::Assign(const TPersistent* source) {
    TExtraPaperInfo::Assign(source);
    const auto* other = dynamic_cast<const TExPaperInfo*>(source);
    if (!other) return; // the source's own AssignTo did the work
    FPurpose = other->FPurpose;
    FCompany = other->FCompany;
    FRoundSize = other->FRoundSize;
}

} // namespace vellum
