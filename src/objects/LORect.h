#pragma once
// A rectangle card object, optionally with rounded corners: a frame band
// straddling the edge and an optional fill, turned about its centre.

#include "core/Capabilities.h"
#include "core/LORectBase.h"
#include "core/Transformer.h"
#include "imaging/ColorSpec.h"
#include "objects/Stroke.h"

#include <mutex>

namespace vellum {

class TLORect : public TLORectBase, public IDOBlend, public IDOSubColor, public IDOColor, public IDORotate {
    VELLUM_CLASS(TLORect)

public:
    explicit TLORect(TComponent* owner = nullptr);

    int32_t FrameWidth() const { return FFrameWidth; }
    void SetFrameWidth(int32_t v);
    const TColorSpec& FrameColor() const { return *FFrameColor; }
    void SetFrameColor(const TColorSpec& c) { FFrameColor->Assign(&c); }
    const TColorSpec& FillColor() const { return *FFillColor; }
    void SetFillColor(const TColorSpec& c) { FFillColor->Assign(&c); }
    bool FillInside() const { return FFillInside; }
    void SetFillInside(bool v);
    int Angle() const { return FRotator.Angle(); }
    bool RoundRect() const { return FRoundRect; }
    void SetRoundRect(bool v);
    // The outline in logical units, rotated; rebuilt when it was cleared.
    const TStroke& Outline() const;

    // --- virtual operations in slot order
    // The frame and the fill in white over the mask.
    void DrawMask(TCanvas& mask, const TRenderContext& context) const override;
    void Resize(int32_t width, int32_t height) override;
    void DrawOutline(TCanvas& canvas) override { Outline().Draw(canvas); }
    void SetRect(const TRect& r) override;
    bool HitTest(TPoint p) const override;
    // The frame band's outer edge, turned by the angle.
    TRect GetBounds() const override;
    void SetAngle(int degrees) override;
    virtual void BuildOutline(TStroke& outline) const;

    // IDOBlend
    void SetBlendShade(bool value) override { TLabelObject::SetBlendShade(value); }
    bool GetBlendShade() const override { return BlendShade(); }
    void SetBlendRatio(int percent) override { TLabelObject::SetBlendRatio(percent); }
    int GetBlendRatio() const override { return BlendRatio(); }
    // IDOSubColor
    const TColorSpec& GetSubColor() const override { return *FFillColor; }
    void SetSubColor(const TColorSpec& color) override { SetFillColor(color); }
    bool GetTransparent() const override { return !FFillInside; }
    void SetTransparent(bool value) override { SetFillInside(!value); }
    // IDOColor
    const TColorSpec& GetColor() const override { return *FFrameColor; }
    void SetColor(const TColorSpec& color) override { SetFrameColor(color); }
    // IDORotate
    int GetAngle() const override { return Angle(); }

protected:
    void AssignTo(TPersistent* dest) const override;
    void Paint(TCanvas& canvas, const TRenderContext& context) const override;
    // The frame band over bounds, with the effective width w.
    virtual void PaintFrame(TCanvas& canvas, const TRect& bounds, int32_t w) const;
    // Signed distance from the unrotated shape's edge, negative inside.
    virtual double EdgeDistance(double x, double y) const;
    // The frame band's outer (or inner) edge for width w, unrotated: half
    // the band outside, the odd unit on the right and bottom.
    TRect BandRect(int32_t w, bool outer) const;
    const TRotator& Rotator() const { return FRotator; }

private:
    void ColorChanged();

    int32_t FFrameWidth = 10;
    std::unique_ptr<TColorSpec> FFrameColor;
    std::unique_ptr<TColorSpec> FFillColor;
    bool FFillInside = false;
    TRotator FRotator;
    // Built on first use; the lock lets threads draw the object at once.
    mutable TStroke FOutline;
    mutable std::mutex FOutlineLock;
    bool FRoundRect = false;
};

} // namespace vellum
