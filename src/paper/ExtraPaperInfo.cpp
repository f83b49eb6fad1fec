#include "paper/ExtraPaperInfo.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"

namespace vellum {

const TClassInfo& TExtraPaperInfo::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TExtraPaperInfo, TComponent>("TExtraPaperInfo", [](auto& b) {
            b.String(QStringLiteral("PaperName"), &TExtraPaperInfo::PaperName,
                     &TExtraPaperInfo::SetPaperName);
        });
    return info;
}

bool TExtraPaperInfo::SameAs(const TExtraPaperInfo* other) const {
    if (!other) return false;
    TMemoryStream mine;
    TMemoryStream theirs;
    WriteComponent(mine, *this);
    WriteComponent(theirs, *other);
    return mine.Data() == theirs.Data();
}

void TExtraPaperInfo::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TExtraPaperInfo*>(source);
    if (!other || !other->InheritsFrom(ClassType())) return TComponent::Assign(source);
    FPaperName = other->FPaperName;
}

std::unique_ptr<TExtraPaperInfo> TExtraPaperInfo::Clone() const {
    std::unique_ptr<TPersistent> made(ClassType().Create(nullptr));
    std::unique_ptr<TExtraPaperInfo> clone = TakeAs<TExtraPaperInfo>(made);
    if (!clone) throw EConvertError(QStringLiteral("無効なクラス型キャストです"));
    clone->Assign(this);
    return clone;
}

} // namespace vellum
