#pragma once
// What a matrix paper says of all its faces and a free face of itself:
// shape, purpose, margin, rounding and cut-out, with the property
// declarations both share. The cut-out is stored compactly: one
// "CutCenter" when width and height agree and differ from 410, both sizes
// when they differ, nothing when both are 410.

#include "base/ClassInfo.h"
#include "base/Filer.h"
#include "paper/FaceInfo.h"

#include <QString>

namespace vellum {

struct TFaceProps {
    TFaceShape Shape = TFaceShape::fsRect;
    QString Purpose;
    int32_t Margin = 0;
    int32_t RoundSize = kDefaultRoundSize;
    TCenterShape CenterShape = TCenterShape::csEllipse;
    int32_t CutWidth = kDefaultCutCenter;
    int32_t CutHeight = kDefaultCutCenter;
};

namespace faceprops {

inline int32_t ToInt32(const TPropValue& v) { return int32_t(std::get<int64_t>(v)); }

template <class T>
void FaceShape(TClassBuilder<T>& b, TFaceProps T::*face) {
    b.Enumeration(
        QStringLiteral("FaceShape"), FaceShapeNames(),
        [face](const T& o) { return int64_t((o.*face).Shape); },
        [face](T& o, const TPropValue& v) { (o.*face).Shape = TFaceShape(ToInt32(v)); });
}

template <class T>
void FacePurpose(TClassBuilder<T>& b, TFaceProps T::*face) {
    b.String(
        QStringLiteral("FacePurpose"), [face](const T& o) { return (o.*face).Purpose; },
        [face](T& o, const TPropValue& v) { (o.*face).Purpose = std::get<QString>(v); });
}

template <class T>
void FaceMargin(TClassBuilder<T>& b, TFaceProps T::*face) {
    b.Integer(
        QStringLiteral("FaceMargin"), [face](const T& o) { return (o.*face).Margin; },
        [face](T& o, const TPropValue& v) { (o.*face).Margin = ToInt32(v); });
}

// RoundSize, CenterShape, CutCenterWidth, CutCenterHeight and the defined
// "CutCenter", and the read-only "FaceType" older versions wrote.
template <class T>
void CutOut(TClassBuilder<T>& b, TFaceProps T::*face) {
    b.Integer(
         QStringLiteral("RoundSize"), [face](const T& o) { return (o.*face).RoundSize; },
         [face](T& o, const TPropValue& v) { (o.*face).RoundSize = ToInt32(v); })
        .Default(int64_t(kDefaultRoundSize));
    b.Enumeration(
         QStringLiteral("CenterShape"), CenterShapeNames(),
         [face](const T& o) { return int64_t((o.*face).CenterShape); },
         [face](T& o, const TPropValue& v) { (o.*face).CenterShape = TCenterShape(ToInt32(v)); })
        .Default(int64_t(0));
    const auto differ = [face](const T& o) { return (o.*face).CutWidth != (o.*face).CutHeight; };
    b.Integer(
         QStringLiteral("CutCenterWidth"), [face](const T& o) { return (o.*face).CutWidth; },
         [face](T& o, const TPropValue& v) { (o.*face).CutWidth = ToInt32(v); })
        .Default(int64_t(kDefaultCutCenter))
        .StoredIf(differ);
    b.Integer(
         QStringLiteral("CutCenterHeight"), [face](const T& o) { return (o.*face).CutHeight; },
         [face](T& o, const TPropValue& v) { (o.*face).CutHeight = ToInt32(v); })
        .Default(int64_t(kDefaultCutCenter))
        .StoredIf(differ);

    TDefinedProperty cutCenter;
    cutCenter.Name = QStringLiteral("CutCenter");
    cutCenter.HasData = [face](const TPersistent& o) {
        const TFaceProps& f = static_cast<const T&>(o).*face;
        return f.CutWidth == f.CutHeight && f.CutWidth != kDefaultCutCenter;
    };
    cutCenter.WriteData = [face](const TPersistent& o, TWriter& w) {
        w.WriteInteger((static_cast<const T&>(o).*face).CutWidth);
    };
    cutCenter.ReadData = [face](TPersistent& o, TReader& r) {
        const int64_t v = r.ReadInteger();
        const int32_t size = v == 0 ? kDefaultCutCenter : int32_t(v);
        (static_cast<T&>(o).*face).CutWidth = size;
        (static_cast<T&>(o).*face).CutHeight = size;
    };
    b.Defined(std::move(cutCenter));

    TDefinedProperty faceType;
    faceType.Name = QStringLiteral("FaceType");
    faceType.HasData = [](const TPersistent&) { return false; };
    faceType.ReadData = [face](TPersistent& o, TReader& r) {
        TFaceProps& f = static_cast<T&>(o).*face;
        LegacyFaceType(r.ReadInteger(), f.Shape, f.Purpose);
    };
    b.Defined(std::move(faceType));
}

} // namespace faceprops
} // namespace vellum
