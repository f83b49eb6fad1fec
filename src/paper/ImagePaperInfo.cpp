#include "paper/ImagePaperInfo.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Stream.h"
#include "base/StringList.h"
#include "core/Capabilities.h"
#include "core/DOList.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"
#include "core/DrawObject.h"
#include "paper/PaperInfo.h"

#include <algorithm>

namespace vellum {

namespace {

constexpr int kModeRead = 0;

QByteArray DesignBytes(const TDOList& design) {
    TMemoryStream data;
    design.SaveToStream(data);
    return data.Data();
}

// Copies go through the stream format, so a copy is what a reload would give.
void CopyObjects(const TDOList& from, TOwnedDOList& to) {
    TMemoryStream data(DesignBytes(from));
    to.LoadFromStream(data);
}

bool IsImageInfo(const QString& name) {
    return name.compare(TImagePaperInfo::ImageInfoStreamName(), Qt::CaseInsensitive) == 0;
}

QStringList DesignStreamNames(const TDocStorage& storage) {
    TStringList names;
    storage.GetStreamNames(names);
    QStringList out;
    for (const QString& name : names.Items())
        if (!IsImageInfo(name)) out << name;
    std::sort(out.begin(), out.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return out;
}

} // namespace

const TClassInfo& TImagePaperInfo::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TImagePaperInfo, TExtraPaperInfo>("TImagePaperInfo", [](auto& b) {
            using T = TImagePaperInfo;
            // No declared default: a fresh record holds true, so both values must be written.
            b.Boolean(QStringLiteral("SeparatelyDesign"), &T::SeparatelyDesign, &T::SetSeparatelyDesign);
            b.Integer(QStringLiteral("LabelCount"), &T::LabelCount, &T::SetLabelCount);
        });
    return info;
}

TImagePaperInfo::TImagePaperInfo(TComponent* owner) : TExtraPaperInfo(owner) {}

TImagePaperInfo::~TImagePaperInfo() = default;

bool TImagePaperInfo::IsEmpty() const {
    return std::all_of(FDesigns.begin(), FDesigns.end(), [](const auto& d) { return d->Empty(); });
}

void TImagePaperInfo::Clear() {
    FDesigns.clear();
    FSeparatelyDesign = false;
    FLabelCount = 0;
}

bool TImagePaperInfo::SameAs(const TExtraPaperInfo* other) const {
    if (!TExtraPaperInfo::SameAs(other)) return false;
    const auto* image = dynamic_cast<const TImagePaperInfo*>(other);
    if (!image || image->DesignCount() != DesignCount()) return false;
    for (int i = 0; i < DesignCount(); ++i)
        if (DesignBytes(*FDesigns[size_t(i)]) != DesignBytes(*image->FDesigns[size_t(i)])) return false;
    return true;
}

void TImagePaperInfo::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TImagePaperInfo*>(source);
    if (!other || other == this) return TExtraPaperInfo::Assign(source);
    // The copies first: a failing one leaves this record as it was.
    std::vector<std::unique_ptr<TOwnedDOList>> designs;
    for (const auto& design : other->FDesigns) {
        designs.push_back(std::make_unique<TOwnedDOList>());
        CopyObjects(*design, *designs.back());
    }
    TExtraPaperInfo::Assign(source);
    FDesigns.swap(designs);
    FSeparatelyDesign = other->FSeparatelyDesign;
    FLabelCount = other->FLabelCount;
}

void TImagePaperInfo::LoadDesigns(TDocStorage& storage) {
    std::vector<std::unique_ptr<TOwnedDOList>> designs;
    for (const QString& name : DesignStreamNames(storage)) {
        TDocStream stream(storage, kModeRead, name);
        designs.push_back(std::make_unique<TOwnedDOList>());
        designs.back()->LoadFromStream(stream);
    }
    FDesigns.swap(designs);
}

void TImagePaperInfo::SaveDesigns(TDocStorage& storage) const {
    // Encoded first: a design that cannot be written leaves the storage as it was.
    std::vector<QByteArray> encoded;
    for (const auto& design : FDesigns) encoded.push_back(DesignBytes(*design));
    for (const QString& name : DesignStreamNames(storage)) storage.DeleteElement(name);
    for (size_t i = 0; i < encoded.size(); ++i) {
        TDocStream stream(storage, kModeCreate, Format(QStringLiteral("$%.8x"), int64_t(i) + 1));
        stream.WriteBytes(encoded[i]);
    }
}

void TImagePaperInfo::GetDesign(int i, TOwnedDOList& list) const {
    list.Clear();
    const int index = DesignIndex(i);
    if (index >= 0 && index < DesignCount()) CopyObjects(*FDesigns[size_t(index)], list);
}

void TImagePaperInfo::GetDesignRefs(int i, TDOList& list) const {
    list.Clear();
    const int index = DesignIndex(i);
    if (index >= 0 && index < DesignCount())
        for (TDrawObject* object : *FDesigns[size_t(index)]) list.Add(object);
}

void TImagePaperInfo::SetDesign(int i, TOwnedDOList list) {
    if (i < 0) throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), i));
    while (DesignCount() <= i) FDesigns.push_back(std::make_unique<TOwnedDOList>());
    *FDesigns[size_t(i)] = std::move(list);
}

void TurnDesignForLandscape(const TPaperInfo& paper, int face, const TDOList& objects) {
    const TRect p = paper.FacePlacedRect(face);
    std::unique_ptr<TPaperInfo> upright = paper.Clone();
    upright->SetLandscape(!paper.Landscape());
    const TRect q = upright->FacePlacedRect(face);
    for (TDrawObject* object : objects) {
        if (auto* bounds = object->Capability<IDOEncloseBounds>()) {
            // In sheet coordinates, as the sheet turns.
            bounds->Offset(p.Left, p.Top);
            const TRect b = bounds->GetBounds();
            const int64_t dx = (int64_t(b.Top) + b.Bottom + 2 * int64_t(q.Top) - 2 * int64_t(p.Top) + p.Left +
                                p.Right - q.Top - q.Bottom - b.Left - b.Right + 1) /
                               2;
            const int64_t dy = (int64_t(p.Top) + p.Bottom + q.Left + q.Right -
                                (int64_t(b.Left) + b.Right + 2 * int64_t(q.Left) - 2 * int64_t(p.Left)) -
                                b.Top - b.Bottom + 1) /
                               2;
            bounds->Offset(int32_t(dx) - p.Left, int32_t(dy) - p.Top);
        }
        if (auto* rotate = object->Capability<IDORotate>()) rotate->SetAngle((rotate->GetAngle() - 90) % 360);
    }
}

} // namespace vellum
