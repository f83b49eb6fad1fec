#include "paper/ExMeishiInfo.h"

namespace vellum {

namespace {
template <class V>
void Change(V& field, const V& value) {
    if (field != value) field = value;
}
} // namespace

const TClassInfo& TExMeishiInfo::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TExMeishiInfo, TExtraPaperInfo>("TExMeishiInfo", [](auto& b) {
            using T = TExMeishiInfo;
            b.String(QStringLiteral("FrontPaper"), &T::FrontPaper, &T::SetFrontPaper);
            b.String(QStringLiteral("BackPaper"), &T::BackPaper, &T::SetBackPaper);
            b.String(QStringLiteral("PaperMemo"), &T::PaperMemo, &T::SetPaperMemo);
            b.Boolean(QStringLiteral("FullPaint"), &T::FullPaint, &T::SetFullPaint).Default(false);
            b.Boolean(QStringLiteral("RollPaper"), &T::RollPaper, &T::SetRollPaper).Default(false);
        });
    return info;
}

void TExMeishiInfo::SetFrontPaper(const QString& v) { Change(FFrontPaper, v); }
void TExMeishiInfo::SetBackPaper(const QString& v) { Change(FBackPaper, v); }
void TExMeishiInfo::SetPaperMemo(const QString& v) { Change(FPaperMemo, v); }
void TExMeishiInfo::SetFullPaint(bool v) { Change(FFullPaint, v); }
void TExMeishiInfo::SetRollPaper(bool v) { Change(FRollPaper, v); }

bool TExMeishiInfo::IsEmpty() const {
    return FFrontPaper.isEmpty() && FBackPaper.isEmpty() && FPaperMemo.isEmpty() && !FFullPaint &&
           !FRollPaper;
}

void TExMeishiInfo::Clear() {
    FFrontPaper.clear();
    FBackPaper.clear();
    FPaperMemo.clear();
    FFullPaint = false;
    FRollPaper = false;
}

void TExMeishiInfo::Assign(const TPersistent* source) {
    TExtraPaperInfo::Assign(source);
    const auto* other = dynamic_cast<const TExMeishiInfo*>(source);
    if (!other) return; // the source's own AssignTo did the work
    SetFrontPaper(other->FFrontPaper);
    SetBackPaper(other->FBackPaper);
    SetPaperMemo(other->FPaperMemo);
    SetFullPaint(other->FFullPaint);
    SetRollPaper(other->FRollPaper);
}

} // namespace vellum
