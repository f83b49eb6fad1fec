#pragma once
// A card object bound to a frame rectangle in logical units, always kept
// normalised. Left, Top, Width and Height are the frame's, in logical units.

#include "core/LabelObject.h"

namespace vellum {

class TLORectBase : public TLabelObject,
                    public IDOFrameRect,
                    public IDOEncloseBounds,
                    public IDOPlacement,
                    public IDODraw {
    VELLUM_CLASS(TLORectBase)

public:
    // Stored coordinates are clamped to this bound (1 km in 0.1 mm), so no file can bring
    // the frame arithmetic of a shape near the 32-bit limits.
    static constexpr int32_t kMaxCoordinate = 10'000'000;
    static int32_t ClampCoordinate(int64_t v);
    static TRect ClampedRect(int64_t left, int64_t top, int64_t right, int64_t bottom);

    explicit TLORectBase(TComponent* owner = nullptr);

    const TRect& FrameRect() const { return FRect; }
    int32_t Left() const { return FRect.Left; }
    int32_t Top() const { return FRect.Top; }
    int32_t Width() const { return FRect.Width(); }
    int32_t Height() const { return FRect.Height(); }
    void SetLeft(int32_t v) override;
    void SetTop(int32_t v) override;
    // A negative width or height flips the frame to the other side.
    void SetWidth(int32_t v) override;
    void SetHeight(int32_t v) override;

    // --- virtual operations in slot order
    virtual void Resize(int32_t width, int32_t height) = 0;
    // Strokes the shape's outline path.
    void DrawOutline(TCanvas& canvas) override = 0;
    bool KeepsAspect() const override { return false; }
    virtual void SetRect(const TRect& r);

    bool HitTest(TPoint p) const override;
    TRect GetBounds() const override;

    // IDOEncloseBounds
    void Offset(int32_t dx, int32_t dy) override;
    void SetSize(int32_t width, int32_t height) override { Resize(width, height); }
    // IDOFrameRect
    TRect GetFrameRect() const override { return FRect; }
    // IDOPlacement
    int32_t GetLeft() const override { return Left(); }
    int32_t GetTop() const override { return Top(); }
    int32_t GetWidth() const override { return Width(); }
    int32_t GetHeight() const override { return Height(); }
    // IDODraw
    void DrawTo(TCanvas& canvas, const TRenderContext& context) const override {
        TLabelObject::DrawTo(canvas, context);
    }

protected:
    void AssignTo(TPersistent* dest) const override;

private:
    TRect FRect;
};

} // namespace vellum
