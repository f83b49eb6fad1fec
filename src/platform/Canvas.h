#pragma once
// The drawing surface every card object draws on. It keeps the device-context
// state itself (mapping, pens, brushes, clip, the current path) and hands the
// backends finished geometry in integer device pixels, so every backend draws
// exactly the same coordinates.

#include "base/Numerics.h"

#include <QImage>
#include <QPainterPath>
#include <QRegion>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <optional>
#include <vector>

namespace vellum {

// 0x00BBGGRR, red in the low byte.
using TColor = uint32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;

// Path point kinds, as the outline paths store them.
inline constexpr uint8_t PT_CLOSEFIGURE = 0x01;
inline constexpr uint8_t PT_LINETO = 0x02;
inline constexpr uint8_t PT_BEZIERTO = 0x04;
inline constexpr uint8_t PT_MOVETO = 0x06;

enum class TPenStyle { psSolid, psDash, psDot, psClear, psInsideFrame };
// pmXor takes effect on raster targets only; elsewhere the pen draws as pmCopy.
enum class TPenMode { pmCopy, pmXor };
enum class TPenEndCap { pecRound, pecSquare, pecFlat };
enum class TPenJoin { pjRound, pjBevel, pjMiter };

// Width in logical units; 0 is the cosmetic one-pixel pen. A non-geometric
// pen always has round ends and joins and draws solid once it is wider than
// one device pixel; a geometric pen keeps its style, ends and joins.
struct TPen {
    TPenStyle Style = TPenStyle::psSolid;
    int32_t Width = 1;
    TColor Color = clBlack;
    TPenMode Mode = TPenMode::pmCopy;
    bool Geometric = false;
    TPenEndCap EndCap = TPenEndCap::pecRound;
    TPenJoin Join = TPenJoin::pjRound;
    friend bool operator==(const TPen&, const TPen&) = default;
};

// Hatches are 8-pixel device patterns with a transparent background.
enum class TBrushStyle {
    bsSolid,
    bsClear,
    bsCross,
    bsDiagCross,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal
};
struct TBrush {
    TBrushStyle Style = TBrushStyle::bsSolid;
    TColor Color = clWhite;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};

// Raster operations of image drawing, named by what they do to the
// destination D with the source S: copy S, D AND S, D OR S, D XOR S, NOT S,
// D OR NOT S. Targets without raster operations (printers, PDF) draw every
// mode as a plain copy.
enum class TCopyMode { cmSrcCopy, cmSrcAnd, cmSrcPaint, cmSrcInvert, cmNotSrcCopy, cmMergePaint };
enum class TFillMode { fmAlternate, fmWinding };
// How a new shape combines with the clip region.
enum class TClipCombine { ccAnd, ccDiff, ccCopy };
enum class TMapMode { mmText, mmAnisotropic };

// Logical-to-device mapping: device = (logical - WindowOrg) * ViewportExt /
// WindowExt + ViewportOrg per axis, rounded to the nearest pixel. In mmText
// both extents are 1.
struct TCoordMapping {
    TMapMode Mode = TMapMode::mmText;
    TPoint WindowOrg;
    TPoint WindowExt{1, 1};
    TPoint ViewportOrg;
    TPoint ViewportExt{1, 1};
    friend bool operator==(const TCoordMapping&, const TCoordMapping&) = default;
};

// The Qt forms of the pen's ends and joins, shared by widening and stroking.
Qt::PenCapStyle ToQtCap(TPenEndCap cap);
Qt::PenJoinStyle ToQtJoin(TPenJoin join);

// A figure list in device pixels with the path point kinds.
struct TDevicePath {
    std::vector<TPoint> Points;
    std::vector<uint8_t> Kinds;
    void Add(TPoint p, uint8_t kind) {
        Points.push_back(p);
        Kinds.push_back(kind);
    }
    bool Empty() const { return Points.empty(); }
    void Clear() {
        Points.clear();
        Kinds.clear();
    }
    // Bézier points are kept as curves; closing kinds close their figure.
    QPainterPath ToPainterPath(TFillMode fillMode) const;
    // The outline of a filled QPainterPath, flattened and rounded to pixels.
    static TDevicePath FromPainterPath(const QPainterPath& path);
};

// What the backends receive with each figure: which public call made it.
enum class TFigureKind {
    fkPolygon,
    fkPolyline,
    fkLine,
    fkBezier,
    fkRectangle,
    fkFillRect,
    fkRoundRect,
    fkEllipse,
    fkArc,
    fkFillPath,
    fkStrokePath,
    fkStrokeAndFillPath
};

// The pen as it draws on the device.
struct TDevicePen {
    TPenStyle Style = TPenStyle::psSolid; // never psInsideFrame
    int32_t Width = 0;                    // device pixels, 0 = cosmetic
    TColor Color = clBlack;
    TPenMode Mode = TPenMode::pmCopy;
    TPenEndCap EndCap = TPenEndCap::pecRound;
    TPenJoin Join = TPenJoin::pjRound;
    double MiterLimit = 10;
};

// Where an image goes: device pixels, and the part of the image drawn.
struct TDeviceImage {
    TRect Dest;
    TRect Source;
};

// A glyph of a font file placed in logical units, with the character it shows.
struct TPlacedGlyph {
    QString File;
    QString Family;
    int FaceIndex = 0;
    uint32_t Glyph = 0;
    double UnitsPerEm = 0;
    QTransform DesignToLogical; // design units, y up, to logical units
    char32_t Char = 0;
};

class TCanvas {
public:
    TCanvas();
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // --- device queries
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    // The whole page or surface in device pixels, and the position of the
    // drawable area's origin on it (non-zero on printers with margins).
    virtual TPoint PhysicalSize() const = 0;
    virtual TPoint PhysicalOffset() const { return {0, 0}; }
    // The drawable area in device pixels, origin (0, 0).
    virtual TRect DeviceRect() const = 0;
    virtual bool IsPrinter() const = 0;
    // A bitmap whose pixels can be read and written directly (then Bits()
    // is that bitmap); raster operations work on such targets.
    virtual bool HasAccessibleBits() const { return Bits() != nullptr; }
    virtual QImage* Bits() const { return nullptr; }
    virtual bool SupportsRasterOps() const { return HasAccessibleBits(); }

    // --- state
    const TPen& Pen() const { return FState.Pen; }
    void SetPen(const TPen& pen) { FState.Pen = pen; }
    const TBrush& Brush() const { return FState.Brush; }
    void SetBrush(const TBrush& brush) { FState.Brush = brush; }
    TCopyMode CopyMode() const { return FState.CopyMode; }
    void SetCopyMode(TCopyMode mode) { FState.CopyMode = mode; }
    TFillMode FillMode() const { return FState.FillMode; }
    void SetFillMode(TFillMode mode) { FState.FillMode = mode; }
    double MiterLimit() const { return FState.MiterLimit; }
    void SetMiterLimit(double limit) { FState.MiterLimit = limit > 1 ? limit : 1; }

    // Saves pen, brush, modes, mapping, clip and position; returns the new
    // depth. RestoreDC(n > 0) goes back to the state saved as depth n,
    // RestoreDC(-k) k levels up. False when there is no such level.
    int SaveDC();
    bool RestoreDC(int level = -1);

    // --- mapping
    const TCoordMapping& Mapping() const { return FState.Mapping; }
    void SetMapping(const TCoordMapping& mapping);
    void SetMapMode(TMapMode mode);
    void SetWindowOrg(TPoint org) { FState.Mapping.WindowOrg = org; }
    void SetViewportOrg(TPoint org) { FState.Mapping.ViewportOrg = org; }
    // Ignored in mmText; zero extents are refused.
    void SetWindowExt(TPoint ext);
    void SetViewportExt(TPoint ext);
    TPoint LPtoDP(TPoint p) const;
    TPoint DPtoLP(TPoint p) const;
    TRect LPtoDP(const TRect& r) const;
    TRect DPtoLP(const TRect& r) const;
    // A logical length along x in device pixels (never negative).
    int32_t LengthToDevice(int32_t logical) const;

    // --- clip (kept in device pixels; logical shapes map through the mapping)
    bool HasClip() const { return FState.Clip.has_value(); }
    const std::optional<QRegion>& ClipRegion() const { return FState.Clip; }
    void SetClipRegion(const std::optional<QRegion>& region);
    void IntersectClipRect(const TRect& r);
    void ExcludeClipRect(const TRect& r);
    // Combines the current path (then discarded) with the clip.
    void SelectClipPath(TClipCombine mode);
    // The bounds of the clip in logical units, or of the device when there
    // is no clip; the second member is false when the clip is empty.
    std::pair<TRect, bool> ClipBox() const;
    // The same in device pixels; empty when the clip is empty.
    TRect DeviceClipBox() const;

    // --- figures (recorded into the current path while one is open)
    TPoint PenPos() const { return FState.PenPos; }
    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);
    void PolyLineTo(const std::vector<TPoint>& points);
    // Groups of three: two control points and an end point.
    void PolyBezierTo(const std::vector<TPoint>& points);
    void Polyline(const std::vector<TPoint>& points);
    void Polygon(const std::vector<TPoint>& points);
    // Outline through Left..Right-1 and Top..Bottom-1, interior filled.
    void Rectangle(const TRect& r);
    // Fills Left..Right-1 x Top..Bottom-1 with the brush, no outline.
    void FillRect(const TRect& r);
    void RoundRect(const TRect& r, int32_t cornerWidth, int32_t cornerHeight);
    void Ellipse(const TRect& r);
    // Counter-clockwise on the screen from the ray through start to the ray
    // through end, on the ellipse inscribed in r (end == start: full turn).
    void Arc(const TRect& r, TPoint start, TPoint end);

    // --- paths
    void BeginPath();
    void EndPath();
    void AbortPath();
    bool InPath() const { return FPathOpen; }
    bool HasPath() const { return !FPath.Empty(); }
    void CloseFigure();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();
    // Replaces the path by the outline of the area the current pen would
    // cover when stroking it.
    void WidenPath();
    // The closed path, in logical units.
    void GetPath(std::vector<TPoint>& points, std::vector<uint8_t>& kinds) const;

    // --- images
    // Unscaled: the image's top-left at the logical point.
    void Draw(int32_t x, int32_t y, const QImage& image);
    // The source rectangle (image pixels) stretched over the logical
    // destination rectangle with the copy mode. False when the device
    // refused the image (the caller may retry in smaller pieces).
    bool StretchDraw(const TRect& dest, const QImage& image, const TRect& source);
    // The same with the destination in device pixels, for image engines
    // that resample themselves.
    bool StretchDrawDevice(const TRect& deviceDest, const QImage& image, const TRect& source);

    // --- text
    // Glyph shapes in logical units, their fractions kept until the device,
    // filled with the colour by the winding rule whatever the brush. Inside
    // an open path they join the path (rounded to device pixels) instead.
    // `glyphs`, when given, are the same shapes as glyphs of font files:
    // vector targets may embed them as text instead.
    void FillGlyphs(const QPainterPath& logical, TColor color,
                    const std::vector<TPlacedGlyph>* glyphs = nullptr);
    // The logical-to-device mapping as a transformation, without rounding.
    QTransform DeviceTransform() const;

protected:
    TDevicePen DevicePen() const;
    bool PenVisible() const { return FState.Pen.Style != TPenStyle::psClear; }
    bool BrushVisible() const { return FState.Brush.Style != TBrushStyle::bsClear; }

    // Draws one figure; fill uses the brush and the fill mode, stroke the pen.
    virtual void DoFigure(TFigureKind kind, const TDevicePath& path, bool fill, bool stroke) = 0;
    virtual bool DoImage(const QImage& image, const TDeviceImage& where) = 0;
    virtual void DoClipChanged() = 0;
    // Glyphs in device pixels; by default the shapes go to DoFigure as a
    // filled path rounded to pixels.
    virtual void DoGlyphs(const QPainterPath& device, TColor color, const std::vector<TPlacedGlyph>* glyphs);
    virtual void DoSaved(int depth) {}
    virtual void DoRestored(int depth) {}

private:
    struct TState {
        TPen Pen;
        TBrush Brush;
        TCopyMode CopyMode = TCopyMode::cmSrcCopy;
        TFillMode FillMode = TFillMode::fmAlternate;
        double MiterLimit = 10;
        TCoordMapping Mapping;
        std::optional<QRegion> Clip;
        TPoint PenPos;
    };

    void Emit(TFigureKind kind, const TDevicePath& path, bool fill, bool stroke);
    void AddFigure(TFigureKind kind, TDevicePath figure, bool closed);
    void CombineClip(const QRegion& shape, TClipCombine mode);
    TDevicePath RectFigure(const TRect& r, bool adjustEdges) const;
    TDevicePath EllipseFigure(const TRect& deviceRect) const;

    TState FState;
    std::vector<TState> FSaved;
    TDevicePath FPath;
    bool FPathOpen = false;
    bool FFigureOpen = false; // a figure of the open path may be continued
    TPoint FFigureStart;
};

} // namespace vellum
