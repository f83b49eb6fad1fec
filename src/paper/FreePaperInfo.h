#pragma once
// A paper whose faces are placed one by one.

#include "base/Collection.h"
#include "paper/FaceProps.h"
#include "paper/PaperInfo.h"

#include <memory>
#include <vector>

namespace vellum {

class TFaceItem : public TPersistent {
    VELLUM_CLASS(TFaceItem)
public:
    TFaceItem() = default;
    void Assign(const TPersistent* source) override;

    // Setting Left or Top moves the rectangle; Width and Height move its right or bottom edge.
    void SetLeft(int32_t v) { Rect = SaturatedRect(v, Rect.Top, v + Width(), Rect.Bottom); }
    void SetTop(int32_t v) { Rect = SaturatedRect(Rect.Left, v, Rect.Right, v + Height()); }
    void SetWidth(int32_t v) {
        Rect = SaturatedRect(Rect.Left, Rect.Top, int64_t(Rect.Left) + v, Rect.Bottom);
    }
    void SetHeight(int32_t v) {
        Rect = SaturatedRect(Rect.Left, Rect.Top, Rect.Right, int64_t(Rect.Top) + v);
    }
    // 64-bit: the edges of a face read from a file may be far apart.
    int64_t Width() const { return int64_t(Rect.Right) - Rect.Left; }
    int64_t Height() const { return int64_t(Rect.Bottom) - Rect.Top; }

    TRect Rect;
    TFaceProps Face;
};

class TFaces : public TOwnedCollection<TFaceItem> {
    VELLUM_CLASS(TFaces)
public:
    TFaces() = default;
    TFaceItem* Add() { return AddItem(); }
};

class TFreePaperInfo : public TPaperInfo {
    VELLUM_CLASS(TFreePaperInfo)
public:
    explicit TFreePaperInfo(TComponent* owner = nullptr) : TPaperInfo(owner) {}

    int FaceCount() const override { return FFaces.Count(); }
    TRect FaceRect(int i) const override;
    void Assign(const TPersistent* source) override;

    TFaces& Faces() { return FFaces; }
    const TFaces& Faces() const { return FFaces; }
    // Sets the face's margin, rectangle, shape, purpose, centre shape, cut-out and rounding.
    static void SetFaceFromInfo(TFaceItem& item, const TFaceInfo& info);

protected:
    const TFaceProps* FaceProps(int i) const override;

private:
    TFaces FFaces;
};

} // namespace vellum
