#include "paper/PaperInfo.h"

#include "base/Exceptions.h"
#include "paper/FaceProps.h"

namespace vellum {

const TClassInfo& TPaperInfo::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TPaperInfo, TComponent>("TPaperInfo", [](auto& b) {
        b.Boolean(QStringLiteral("Landscape"), &TPaperInfo::Landscape, &TPaperInfo::SetLandscape);
        b.Integer(QStringLiteral("Width"), &TPaperInfo::Width, &TPaperInfo::SetWidth);
        b.Integer(QStringLiteral("Height"), &TPaperInfo::Height, &TPaperInfo::SetHeight);
        b.String(QStringLiteral("PaperName"), &TPaperInfo::PaperName, &TPaperInfo::SetPaperName);
        b.String(QStringLiteral("GroupName"), &TPaperInfo::GroupName, &TPaperInfo::SetGroupName);
        b.Boolean(QStringLiteral("ReadOnly"), &TPaperInfo::ReadOnly, &TPaperInfo::SetReadOnly);
        b.Owned(QStringLiteral("PurposeList"), TPropKind::Collection, [](const TPaperInfo& p) {
             return &p.PurposeList();
         }).StoredIf(&TPaperInfo::StorePurposes);
    });
    return info;
}

TPaperInfo::TPaperInfo(TComponent* owner)
    : TComponent(owner), FPurposeList(std::make_unique<TPurposeList>()) {}

TPaperInfo::~TPaperInfo() = default;

TFaceShape TPaperInfo::FaceShape(int i) const {
    const TFaceProps* f = FaceProps(i);
    return f ? f->Shape : TFaceShape::fsRect;
}

QString TPaperInfo::FacePurposeName(int i) const {
    const TFaceProps* f = FaceProps(i);
    return TPurposeList::PurposeName(f ? f->Purpose : QString());
}

int32_t TPaperInfo::FaceMargin(int i) const {
    const TFaceProps* f = FaceProps(i);
    return f ? f->Margin : 0;
}

void TPaperInfo::CutCenter(int i, int32_t& width, int32_t& height) const {
    const TFaceProps* f = FaceProps(i);
    width = f ? f->CutWidth : kDefaultCutCenter;
    height = f ? f->CutHeight : kDefaultCutCenter;
}

int32_t TPaperInfo::RoundSize(int i) const {
    const TFaceProps* f = FaceProps(i);
    return f ? f->RoundSize : kDefaultRoundSize;
}

TCenterShape TPaperInfo::CenterShape(int i) const {
    const TFaceProps* f = FaceProps(i);
    return f ? f->CenterShape : TCenterShape::csEllipse;
}

void TPaperInfo::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TPaperInfo*>(source);
    if (!other) return TComponent::Assign(source);
    if (other == this) return;
    FPortraitWidth = other->FPortraitWidth;
    FPortraitHeight = other->FPortraitHeight;
    FPaperName = other->FPaperName;
    FGroupName = other->FGroupName;
    FReadOnly = other->FReadOnly;
    FLandscape = other->FLandscape;
    FPurposeList->Assign(other->FPurposeList.get());
}

std::unique_ptr<TPaperInfo> TPaperInfo::Clone() const {
    std::unique_ptr<TPersistent> made(ClassType().Create(nullptr));
    std::unique_ptr<TPaperInfo> clone = TakeAs<TPaperInfo>(made);
    if (!clone) throw EConvertError(QStringLiteral("無効なクラス型キャストです"));
    clone->Assign(this);
    return clone;
}

TRect TPaperInfo::Oriented(const TRect& r) const {
    if (!FLandscape) return r;
    const int64_t w = FPortraitWidth;
    return SaturatedRect(r.Top, w - r.Right, r.Bottom, w - r.Left);
}

TRect TPaperInfo::FacePlacedRect(int i) const { return Oriented(InflateRect(FaceRect(i), FaceMargin(i))); }

void TPaperInfo::GetFaceInfo(int i, TFaceInfo& info) const {
    info.Margin = FaceMargin(i);
    info.FaceRect = Oriented(FaceRect(i));
    info.Shape = FaceShape(i);
    info.Purpose = FacePurposeName(i);
    info.CenterShape = CenterShape(i);
    info.RoundSize = RoundSize(i);
    CutCenter(i, info.CutWidth, info.CutHeight);
    if (FLandscape) std::swap(info.CutWidth, info.CutHeight);
}

int TPaperInfo::FirstFaceOutside() const {
    const int32_t w = Width(), h = Height();
    for (int i = 0, n = FaceCount(); i < n; ++i) {
        const TRect r = FacePlacedRect(i);
        if (r.Left < 0 || r.Top < 0 || r.Right > w || r.Bottom > h) return i;
    }
    return -1;
}

int TPaperInfo::FirstOverlappingFace() const {
    TRegion before;
    TFaceInfo info;
    for (int i = 0, n = FaceCount(); i < n; ++i) {
        GetFaceInfo(i, info);
        const TRegion face = info.Region(nullptr, false);
        if (face.Intersects(before)) return i;
        before = before.United(face);
    }
    return -1;
}

} // namespace vellum
