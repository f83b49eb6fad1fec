#include "imaging/ColorSpec.h"

#include "base/IdentTables.h"
#include "imaging/SafetyBitmap.h"

#include <algorithm>
#include <array>

namespace vellum {

namespace {

struct TDirEntry {
    rgGradationDir Dir;
    rgGradationKind Kind;
    int Angle;
};

constexpr std::array<TDirEntry, 10> kDirections{{
    {rgGradationDir::rgdLeftToRight, rgGradationKind::rgkSimple, 270},
    {rgGradationDir::rgdRightToLeft, rgGradationKind::rgkSimple, 90},
    {rgGradationDir::rgdTopToBottom, rgGradationKind::rgkSimple, 0},
    {rgGradationDir::rgdBottomToTop, rgGradationKind::rgkSimple, 180},
    {rgGradationDir::rgdLeftTopToRightBottom, rgGradationKind::rgkSimple, 315},
    {rgGradationDir::rgdRightTopToLeftBottom, rgGradationKind::rgkSimple, 45},
    {rgGradationDir::rgdRightBottomToLeftTop, rgGradationKind::rgkSimple, 135},
    {rgGradationDir::rgdLeftBottomToRightTop, rgGradationKind::rgkSimple, 225},
    {rgGradationDir::rgdCenterToRim, rgGradationKind::rgkBoxToRim, 0},
    {rgGradationDir::rgdRimToCenter, rgGradationKind::rgkBoxToCenter, 0},
}};

// Tiles of the graphic at its pixel size from the rectangle's top left,
// every second row shifted left by half a tile when asked.
void PaintTiles(TCanvas& canvas, const TRect& rect, const TGraphic& tile, bool shift) {
    const int w = tile.Width(), h = tile.Height();
    if (w <= 0 || h <= 0) return;
    int row = 0;
    for (int y = rect.Top; y < rect.Bottom; y += h, ++row) {
        const int start = rect.Left - ((shift && row % 2 == 1) ? (w + 1) / 2 : 0);
        for (int x = start; x < rect.Right; x += w) tile.Draw(canvas, Bounds(x, y, w, h));
    }
}

} // namespace

TColor ColorToRGB(TColor color) {
    if ((color & 0xFF000000) != 0x80000000) return color & 0xFFFFFF;
    // The classic defaults of the platform's system colours, by index.
    static constexpr std::array<TColor, 25> kSystem{0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4,
                                                    0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF,
                                                    0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF,
                                                    0xC8D0D4, 0x808080, 0x808080, 0x000000, 0xC8D0D4,
                                                    0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000, 0xE1FFFF};
    const size_t index = color & 0xFF;
    return index < kSystem.size() ? kSystem[index] : clBlack;
}

const TClassInfo& TColorSpec::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TColorSpec, TPersistent>("TColorSpec", [](auto& b) {
        b.Integer("Color", &TColorSpec::Color, &TColorSpec::SetColor)
            .Default(int64_t(0))
            .Idents(ColorIdents());
        b.Enumeration("Style",
                      {"bsSolid", "bsClear", "bsCross", "bsDiagCross", "bsHorizontal", "bsVertical",
                       "bsFDiagonal", "bsBDiagonal"},
                      &TColorSpec::Style, &TColorSpec::SetStyle)
            .Default(int64_t(TBrushStyle::bsSolid));
        b.Boolean("Tile", &TColorSpec::Tile, &TColorSpec::SetTile).Default(false);
        b.Enumeration("Kind", {"cskSolid", "cskBitmap", "cskGradation"}, &TColorSpec::Kind,
                      &TColorSpec::SetKind)
            .Default(int64_t(TColorSpecKind::cskSolid));
        b.Boolean("TileShift", &TColorSpec::TileShift, &TColorSpec::SetTileShift).Default(false);
        b.Owned("ImageData", TPropKind::Object, [](const TColorSpec& o) { return &o.ImageData(); });
        b.Integer("GradAngle", &TColorSpec::GradAngle, &TColorSpec::SetGradAngle).Default(int64_t(270));
        b.Enumeration("GradKind",
                      {"rgkSimple", "rgkBoxToRim", "rgkBoxToCenter", "rgkCircleToRim", "rgkCircleToCenter",
                       "rgkConeClockwise", "rgkConeCounterClockwise"},
                      &TColorSpec::GradKind, &TColorSpec::SetGradKind)
            .Default(int64_t(rgGradationKind::rgkSimple));
        b.Owned("GradColors", TPropKind::Object, [](const TColorSpec& o) { return &o.GradColors(); });
    });
    return info;
}

TColorSpec::TColorSpec()
    : FImageData(std::make_unique<TImageData>()), FGradColors(std::make_unique<TGradationColors>()) {
    FNotify.SetOnModified([this] {
        if (OnChange) OnChange();
    });
    FMemberListener.SetCallback([this](TPersistent*, const TGUID& id) {
        if (id == NID_ObjectChanged) Changed();
    });
    FMemberListener.Attach(&FImageData->Notify());
    FMemberListener.Attach(&FGradColors->Notify());
}

TColorSpec::~TColorSpec() { FMemberListener.DetachAll(); }

TColorSpecKind TColorSpec::Kind() const {
    if (FKind == TColorSpecKind::cskBitmap && FImageData->IsEmpty()) return TColorSpecKind::cskSolid;
    return FKind;
}

void TColorSpec::SetKind(TColorSpecKind kind) {
    if (kind == FKind) return;
    FKind = kind;
    Changed();
}

void TColorSpec::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TColorSpec::SetStyle(TBrushStyle style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TColorSpec::SetTile(bool tile) {
    if (tile == FTile) return;
    FTile = tile;
    Changed();
}

void TColorSpec::SetTileShift(bool shift) {
    if (shift == FTileShift) return;
    FTileShift = shift;
    Changed();
}

void TColorSpec::SetGradKind(rgGradationKind kind) {
    if (kind == FGradKind) return;
    FGradKind = kind;
    Changed();
}

void TColorSpec::SetGradAngle(int angle) {
    if (angle == FGradAngle) return;
    FGradAngle = angle;
    Changed();
}

void TColorSpec::SetBitmap(const TSafetyBitmap& bitmap) {
    if (bitmap.Empty() && !FImageData->IsEmpty()) return;
    FImageData->Picture().SetGraphic(bitmap.Clone());
}

void TColorSpec::SetGradColor(int index, TColor color) {
    if (index >= 0 && index < FGradColors->Count()) FGradColors->SetColor(index, color);
}

rgGradationDir TColorSpec::GradDir() const {
    if (FGradKind == rgGradationKind::rgkBoxToRim) return rgGradationDir::rgdCenterToRim;
    if (FGradKind == rgGradationKind::rgkBoxToCenter) return rgGradationDir::rgdRimToCenter;
    if (FGradKind == rgGradationKind::rgkSimple)
        for (const TDirEntry& e : kDirections)
            if (e.Kind == rgGradationKind::rgkSimple && e.Angle == FGradAngle) return e.Dir;
    return rgGradationDir::rgdLeftToRight;
}

void TColorSpec::SetGradDir(rgGradationDir dir) {
    for (const TDirEntry& e : kDirections) {
        if (e.Dir != dir) continue;
        FNotify.BeginUpdate();
        SetGradKind(e.Kind);
        SetGradAngle(e.Angle);
        FNotify.EndUpdate();
        return;
    }
}

void TColorSpec::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TColorSpec*>(source);
    if (!other) return TPersistent::Assign(source);
    FNotify.BeginUpdate();
    SetKind(other->Kind());
    SetColor(other->FColor);
    SetStyle(other->FStyle);
    FImageData->Assign(other->FImageData.get());
    SetTile(other->FTile);
    SetTileShift(other->FTileShift);
    if (Kind() == TColorSpecKind::cskGradation) {
        SetGradAngle(other->FGradAngle);
        SetGradKind(other->FGradKind);
        FGradColors->Assign(other->FGradColors.get());
    }
    FNotify.EndUpdate();
}

bool TColorSpec::IsPureColor(const TCanvas&) const {
    // True-colour devices reproduce every colour exactly.
    return Kind() == TColorSpecKind::cskSolid && FStyle == TBrushStyle::bsSolid;
}

void TColorSpec::PaintPicture(TCanvas& canvas, const TRect& rect, bool inverted) const {
    const TPictureEx& picture = FImageData->ProcessedPicture();
    if (picture.Empty()) return;
    canvas.SetCopyMode(inverted ? TCopyMode::cmSrcInvert : TCopyMode::cmSrcCopy);
    if (FTile)
        PaintTiles(canvas, rect, *picture.Graphic(), FTileShift);
    else
        picture.Draw(canvas, rect);
}

void TColorSpec::DoPaint(TCanvas& canvas, const TRect& rect, bool inverted) const {
    const int saved = canvas.SaveDC();
    switch (Kind()) {
    case TColorSpecKind::cskGradation:
        PaintGradation(canvas, rect, FGradColors->Expanded(), FGradAngle, FGradKind, inverted);
        break;
    case TColorSpecKind::cskBitmap:
        PaintPicture(canvas, rect, inverted);
        break;
    case TColorSpecKind::cskSolid: {
        // The palette-relative flag lets palette devices pick the nearest entry.
        const TColor color = ColorToRGB(FColor) | 0x02000000;
        if (inverted && FStyle == TBrushStyle::bsSolid) {
            TDIB pixel(1, 1, 24);
            pixel.SetRawPixel(0, 0, ((color >> 16) & 0xFF) | (color & 0xFF00) | ((color & 0xFF) << 16));
            canvas.SetCopyMode(TCopyMode::cmSrcInvert);
            pixel.Draw(canvas, rect);
        } else {
            canvas.SetBrush({FStyle, color});
            canvas.FillRect(rect);
        }
        break;
    }
    }
    canvas.RestoreDC(saved);
}

void TColorSpec::PaintPreview(TCanvas& canvas, const TRect& rect) const {
    const int saved = canvas.SaveDC();
    canvas.SetBrush({TBrushStyle::bsSolid, clWhite});
    canvas.FillRect(rect);
    canvas.SetBrush({TBrushStyle::bsSolid, 0x808080});
    for (int y = rect.Top, row = 0; y < rect.Bottom; y += 8, ++row)
        for (int x = rect.Left + (row % 2) * 8; x < rect.Right; x += 16)
            canvas.FillRect({x, y, std::min(x + 8, rect.Right), std::min(y + 8, rect.Bottom)});
    canvas.RestoreDC(saved);
    if (Kind() != TColorSpecKind::cskBitmap || !FTile) return Paint(canvas, rect);

    // A tile whose longer side is 2/5 of the rectangle's side.
    const TPictureEx& picture = FImageData->ProcessedPicture();
    const TDIB tile = picture.Graphic() ? picture.Graphic()->Raster() : TDIB();
    if (tile.Empty()) return;
    int w, h;
    if (tile.Width() >= tile.Height()) {
        w = std::max(1, rect.Width() * 2 / 5);
        h = std::max(1, MulDiv(tile.Height(), w, tile.Width()));
    } else {
        h = std::max(1, rect.Height() * 2 / 5);
        w = std::max(1, MulDiv(tile.Width(), h, tile.Height()));
    }
    TSafetyBitmap small;
    small.SetDIB(tile.Resample({0, 0, tile.Width(), tile.Height()}, QSize(w, h), {0, 0, w, h}));
    const int again = canvas.SaveDC();
    PaintTiles(canvas, rect, small, FTileShift);
    canvas.RestoreDC(again);
}

} // namespace vellum
