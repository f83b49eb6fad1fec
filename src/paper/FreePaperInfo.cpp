#include "paper/FreePaperInfo.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <algorithm>
#include <climits>

namespace vellum {

const TClassInfo& TFaceItem::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TFaceItem, TPersistent>("TFaceItem", [](auto& b) {
        using T = TFaceItem;
        const auto toInt = faceprops::ToInt32;
        b.Integer(
            QStringLiteral("Left"), [](const T& o) { return o.Rect.Left; },
            [toInt](T& o, const TPropValue& v) { o.SetLeft(toInt(v)); });
        b.Integer(
            QStringLiteral("Top"), [](const T& o) { return o.Rect.Top; },
            [toInt](T& o, const TPropValue& v) { o.SetTop(toInt(v)); });
        // The stream holds int32 sizes: a wider face writes the widest it can.
        const auto clamp = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
        b.Integer(
            QStringLiteral("Width"), [clamp](const T& o) { return clamp(o.Width()); },
            [toInt](T& o, const TPropValue& v) { o.SetWidth(toInt(v)); });
        b.Integer(
            QStringLiteral("Height"), [clamp](const T& o) { return clamp(o.Height()); },
            [toInt](T& o, const TPropValue& v) { o.SetHeight(toInt(v)); });
        faceprops::FaceMargin(b, &T::Face);
        faceprops::FaceShape(b, &T::Face);
        faceprops::FacePurpose(b, &T::Face);
        faceprops::CutOut(b, &T::Face);
    });
    return info;
}

void TFaceItem::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TFaceItem*>(source);
    if (!other) return TPersistent::Assign(source);
    Rect = other->Rect;
    Face = other->Face;
}

const TClassInfo& TFaces::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TFaces, TCollection>("TFaces", [](auto&) {});
    return info;
}

const TClassInfo& TFreePaperInfo::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TFreePaperInfo, TPaperInfo>("TFreePaperInfo", [](auto& b) {
            b.Owned(QStringLiteral("Faces"), TPropKind::Collection,
                    [](const TFreePaperInfo& p) { return &p.Faces(); });
            // Older versions wrote one face type for the whole paper: it applies to every face.
            TDefinedProperty faceType;
            faceType.Name = QStringLiteral("FaceType");
            faceType.HasData = [](const TPersistent&) { return false; };
            faceType.ReadData = [](TPersistent& o, TReader& r) {
                const int64_t code = r.ReadInteger();
                TFaces& faces = static_cast<TFreePaperInfo&>(o).Faces();
                for (int i = 0; i < faces.Count(); ++i)
                    LegacyFaceType(code, faces.Item(i)->Face.Shape, faces.Item(i)->Face.Purpose);
            };
            b.Defined(std::move(faceType));
        });
    return info;
}

TRect TFreePaperInfo::FaceRect(int i) const {
    return i >= 0 && i < FaceCount() ? FFaces.Item(i)->Rect : TRect{};
}

const TFaceProps* TFreePaperInfo::FaceProps(int i) const {
    return i >= 0 && i < FaceCount() ? &FFaces.Item(i)->Face : nullptr;
}

void TFreePaperInfo::Assign(const TPersistent* source) {
    TPaperInfo::Assign(source);
    const auto* other = dynamic_cast<const TFreePaperInfo*>(source);
    if (!other || other == this) return;
    FFaces.Assign(&other->FFaces);
}

void TFreePaperInfo::SetFaceFromInfo(TFaceItem& item, const TFaceInfo& info) {
    item.Face.Margin = info.Margin;
    item.Rect = info.FaceRect;
    item.Face.Shape = info.Shape;
    item.Face.Purpose = info.Purpose;
    item.Face.CenterShape = info.CenterShape;
    item.Face.CutWidth = info.CutWidth;
    item.Face.CutHeight = info.CutHeight;
    item.Face.RoundSize = info.RoundSize;
}

} // namespace vellum
