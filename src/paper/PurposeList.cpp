#include "paper/PurposeList.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Format.h"

namespace vellum {
namespace {

std::unique_ptr<TPurposeValidator>& InstalledValidator() {
    static std::unique_ptr<TPurposeValidator> validator;
    return validator;
}

void CleanWithValidator(TPurposeList& list) {
    if (const TPurposeValidator* v = PurposeValidator()) v->Clean(list);
}

} // namespace

const TClassInfo& TPurposeInfo::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TPurposeInfo, TPersistent>("TPurposeInfo", [](auto& b) {
        b.String(
            QStringLiteral("ID"), [](const TPurposeInfo& p) { return p.ID; },
            [](TPurposeInfo& p, const TPropValue& v) { p.ID = std::get<QString>(v); });
        b.String(
            QStringLiteral("DisplayName"), [](const TPurposeInfo& p) { return p.DisplayName; },
            [](TPurposeInfo& p, const TPropValue& v) { p.DisplayName = std::get<QString>(v); });
        b.SetOf(
            QStringLiteral("ShapeMask"), FaceShapeNames(),
            [](const TPurposeInfo& p) { return int64_t(p.ShapeMask); },
            [](TPurposeInfo& p, const TPropValue& v) { p.ShapeMask = TFaceShapes(std::get<int64_t>(v)); });
    });
    return info;
}

void TPurposeInfo::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TPurposeInfo*>(source);
    if (!other) return TPersistent::Assign(source);
    ID = other->ID;
    DisplayName = other->DisplayName;
    ShapeMask = other->ShapeMask;
}

const TClassInfo& TPurposeList::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TPurposeList, TCollection>("TPurposeList", [](auto&) {});
    return info;
}

void TPurposeList::Assign(const TPersistent* source) {
    TOwnedCollection::Assign(source);
    CleanWithValidator(*this);
}

bool TPurposeList::AddIfMissing(const TPurposeInfo& item) {
    for (const auto& own : FItems)
        if (own->ID.compare(item.ID, Qt::CaseInsensitive) == 0) return false;
    AddItem()->Assign(&item);
    return true;
}

bool TPurposeList::Merge(const TPurposeList& list) {
    bool added = false;
    // A copy first: merging a list into itself must not see its own additions.
    std::vector<std::unique_ptr<TPurposeInfo>> items;
    for (int i = 0; i < list.Count(); ++i) {
        const TPurposeInfo* p = list.Item(i);
        items.push_back(std::make_unique<TPurposeInfo>(p->ID, p->DisplayName, p->ShapeMask));
    }
    for (const auto& item : items) added |= AddIfMissing(*item);
    CleanWithValidator(*this);
    return added;
}

int TPurposeList::IndexOfID(const QString& id) const {
    for (int i = Count() - 1; i >= 0; --i)
        if (FItems[size_t(i)]->ID.compare(id, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void TPurposeList::GetDisplayNames(QStringList& strings) const {
    for (const auto& item : FItems) strings << item->DisplayName;
}

void TPurposeList::LoadFromStream(TStream& stream) {
    TPLStreamer streamer(this);
    ReadComponent(stream, &streamer);
    CleanWithValidator(*this);
}

void TPurposeList::SaveToStream(TStream& stream) const {
    TPLStreamer streamer(const_cast<TPurposeList*>(this));
    WriteComponent(stream, streamer);
}

void TPurposeList::SetDefault() {
    using enum TFaceShape;
    FItems.clear();
    const TFaceShapes rects = FaceShapeBit(fsRect) | FaceShapeBit(fsRoundRect);
    FItems.push_back(std::make_unique<TPurposeInfo>(QStringLiteral("CD"), QStringLiteral("CD"),
                                                    FaceShapeBit(fsDoughnut) | FaceShapeBit(fsEllipse)));
    FItems.push_back(
        std::make_unique<TPurposeInfo>(QStringLiteral("CDCover"), QStringLiteral("CDCover"), rects));
    FItems.push_back(
        std::make_unique<TPurposeInfo>(QStringLiteral("CDCaseTray"), QStringLiteral("CDCaseTray"), rects));
    FItems.push_back(
        std::make_unique<TPurposeInfo>(QStringLiteral("MOSquare"), QStringLiteral("MOSquare"), rects));
    FItems.push_back(std::make_unique<TPurposeInfo>(QString(), QString(), 0));
}

QString TPurposeList::PurposeName(const QString& id) {
    const TPurposeValidator* v = PurposeValidator();
    return v ? v->Translate(id) : id;
}

const TClassInfo& TPLStreamer::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TPLStreamer, TComponent>("TPLStreamer", [](auto& b) {
        b.Owned(QStringLiteral("List"), TPropKind::Collection, &TPLStreamer::List);
    });
    return info;
}

void TPurposeValidator::Clean(TPurposeList& list) const {
    for (int i = list.Count() - 1; i >= 0; --i)
        if (IsObsolete(list.Item(i)->ID)) list.Delete(i);
}

bool TCDLabelPurposeValidator::IsObsolete(const QString& id) const {
    return id == QStringLiteral("MO") || id == QStringLiteral("FD") || id == QStringLiteral("CDCase");
}

QString TCDLabelPurposeValidator::Translate(const QString& id) const {
    if (id == QStringLiteral("MO") || id == QStringLiteral("FD")) return QStringLiteral("MOSquare");
    if (id == QStringLiteral("CDCase")) return QStringLiteral("CDCaseTray");
    return id;
}

std::unique_ptr<TPurposeValidator> InstallPurposeValidator(std::unique_ptr<TPurposeValidator> validator) {
    std::swap(InstalledValidator(), validator);
    return validator;
}

const TPurposeValidator* PurposeValidator() { return InstalledValidator().get(); }

} // namespace vellum
