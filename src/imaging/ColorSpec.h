#pragma once
// The colour of every card object: a solid colour with a brush pattern, a
// picture (stretched or tiled) or a gradation. Objects clip the canvas to
// their shape and let the colour paint the shape's bounds.

#include "base/Broadcaster.h"
#include "base/Persistent.h"
#include "imaging/GradFill.h"
#include "imaging/GradationColors.h"
#include "imaging/ImageData.h"
#include "imaging/SafetyBitmap.h"
#include "platform/Canvas.h"

#include <functional>
#include <memory>

namespace vellum {

enum class TColorSpecKind { cskSolid, cskBitmap, cskGradation };

enum class rgGradationDir {
    rgdLeftToRight,
    rgdRightToLeft,
    rgdTopToBottom,
    rgdBottomToTop,
    rgdLeftTopToRightBottom,
    rgdRightTopToLeftBottom,
    rgdRightBottomToLeftTop,
    rgdLeftBottomToRightTop,
    rgdCenterToRim,
    rgdRimToCenter
};

// System-colour codes (0x80000000 + index) to their classic defaults;
// other colours lose their high byte.
TColor ColorToRGB(TColor color);

class TColorSpec : public TPersistent {
    VELLUM_CLASS(TColorSpec)
public:
    TColorSpec();
    ~TColorSpec() override;

    std::function<void()> OnChange;
    TChangeNotify& Notify() { return FNotify; }

    // The effective kind: a bitmap without a picture is solid.
    TColorSpecKind Kind() const;
    void SetKind(TColorSpecKind kind);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style);
    bool Tile() const { return FTile; }
    void SetTile(bool tile);
    bool TileShift() const { return FTileShift; }
    void SetTileShift(bool shift);
    TImageData& ImageData() const { return *FImageData; }
    rgGradationKind GradKind() const { return FGradKind; }
    void SetGradKind(rgGradationKind kind);
    int GradAngle() const { return FGradAngle; }
    void SetGradAngle(int angle);
    TGradationColors& GradColors() const { return *FGradColors; }

    // Editor helpers.
    // The picture converted to a bitmap in place.
    TSafetyBitmap& Bitmap() const { return FImageData->Picture().AsBitmap(); }
    // Ignored when the bitmap is empty while a picture is present.
    void SetBitmap(const TSafetyBitmap& bitmap);
    int GradColNum() const { return FGradColors->Count(); }
    void SetGradColNum(int count) { FGradColors->SetCount(count); }
    // Reading outside the list raises; writing outside it is ignored.
    TColor GradColor(int index) const { return FGradColors->Color(index); }
    void SetGradColor(int index, TColor color);
    rgGradationDir GradDir() const;
    void SetGradDir(rgGradationDir dir);

    void Paint(TCanvas& canvas, const TRect& rect) const { DoPaint(canvas, rect, false); }
    void PaintInverted(TCanvas& canvas, const TRect& rect) const { DoPaint(canvas, rect, true); }
    // A checkerboard, then the colour (a tiled picture at a reduced scale).
    void PaintPreview(TCanvas& canvas, const TRect& rect) const;
    bool IsPureColor(const TCanvas& canvas) const;

    void Assign(const TPersistent* source) override;

private:
    void DoPaint(TCanvas& canvas, const TRect& rect, bool inverted) const;
    void PaintPicture(TCanvas& canvas, const TRect& rect, bool inverted) const;
    void Changed() { FNotify.Changed(); }

    bool FTile = false;
    TColorSpecKind FKind = TColorSpecKind::cskSolid;
    TColor FColor = clBlack;
    TBrushStyle FStyle = TBrushStyle::bsSolid;
    std::unique_ptr<TImageData> FImageData;
    bool FTileShift = false;
    TChangeNotify FNotify{this};
    rgGradationKind FGradKind = rgGradationKind::rgkSimple;
    int FGradAngle = 270;
    std::unique_ptr<TGradationColors> FGradColors;
    TListener FMemberListener;
};

} // namespace vellum
