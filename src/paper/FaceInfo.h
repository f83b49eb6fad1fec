#pragma once
// One face (card position) of a paper: its rectangle, shape, margin, purpose
// and centre cut-out, with the rectangles, regions and outlines derived from
// them. Lengths in 0.1 mm.

#include "base/Numerics.h"
#include "base/Persistent.h"
#include "paper/Region.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace vellum {

class TCanvas;

enum class TFaceShape { fsRect, fsDoughnut, fsEllipse, fsRoundRect, fsRectCD, fsBarrelCD };
enum class TCenterShape { csEllipse, csBarrel };
// Set of TFaceShape: bit i is value i.
using TFaceShapes = uint32_t;
constexpr TFaceShapes FaceShapeBit(TFaceShape s) { return TFaceShapes(1) << int(s); }

// Stream names of the enumerations, in value order.
const QStringList& FaceShapeNames();
const QStringList& CenterShapeNames();
// "角ラベル,CDラベル,丸ラベル,角丸ラベル,名刺CDラベル,樽CDラベル".
QString ShapeDisplayNames();

// A rectangle from 64-bit edges, each clamped to int32: papers read from
// files may hold any values, and their geometry must not overflow.
TRect SaturatedRect(int64_t left, int64_t top, int64_t right, int64_t bottom);
// r enlarged by d on every side (shrunk for negative d).
TRect InflateRect(const TRect& r, int64_t d);

inline constexpr int32_t kDefaultCutCenter = 410;
inline constexpr int32_t kDefaultRoundSize = 100;

// The shape and purpose a face type code of older versions stands for; false
// for codes without a meaning (which change nothing).
bool LegacyFaceType(int64_t code, TFaceShape& shape, QString& purpose);

// The outline points of a barrel: the part of r inside the circle whose
// diameter is r's longer side. Straight edges first to last: for a wide
// rectangle the top edge runs Points[0]..Points[1] and the bottom edge
// Points[3]..Points[2] (left to right); for a tall one the left edge runs
// Points[0]..Points[3] and the right edge Points[1]..Points[2] (top down).
// Middle holds the points the arcs pass through: left and right middles for
// a wide rectangle, top and bottom middles for a tall one.
struct TBarrel {
    TPoint Points[4]; // top-left, top-right, bottom-right, bottom-left corner of the straight edges
    TPoint Middle[2];
    bool Wide = true;
};
TBarrel BarrelOf(const TRect& r);
// The barrel's region under the pixel rule: r intersected with the circle.
TRegion BarrelRegion(const TRect& r);

class TFaceInfo : public TPersistent {
    VELLUM_CLASS(TFaceInfo)
public:
    TFaceInfo() = default;
    // A value: copies are assignments.
    TFaceInfo(const TFaceInfo& other) : TPersistent() { Assign(&other); }
    TFaceInfo& operator=(const TFaceInfo& other) {
        Assign(&other);
        return *this;
    }
    void Assign(const TPersistent* source) override;

    TRect FaceRect;
    int32_t CutWidth = kDefaultCutCenter;
    int32_t CutHeight = kDefaultCutCenter;
    TFaceShape Shape = TFaceShape::fsRect;
    QString Purpose;
    int32_t Margin = 0;
    TCenterShape CenterShape = TCenterShape::csEllipse;
    int32_t RoundSize = kDefaultRoundSize;

    // The face rectangle enlarged by the margin on every side.
    TRect OuterRect() const;
    // The cut-out's size centred in the face rectangle.
    TRect CutOutRect() const;
    // The cut-out rectangle reduced by the margin on every side.
    TRect HoleRect() const;
    bool HasCenterHole() const;
    // Face rectangle := rect reduced by the margin.
    void SetFromOuterRect(const TRect& rect);
    void SetFromLegacyType(int64_t code);

    // The outer shape, minus the hole when asked and the shape has one; in
    // the canvas's device units when a canvas is given, else logical.
    TRegion Region(const TCanvas* canvas, bool withHole) const;

    // Outer shape with the canvas's pen and brush, the hole over it, and
    // with cross a cross of 100 through the middle of the last rectangle
    // drawn. atOrigin moves the drawing so the outer rectangle starts at (0, 0).
    void DrawShape(TCanvas& canvas, bool atOrigin, bool cross) const;
    // The cut line (face rectangle without margin), and the cut-out's line;
    // nothing when the margin is 0.
    void DrawCutLine(TCanvas& canvas, bool atOrigin) const;
    // The hole shape; atOrigin puts the hole rectangle itself at (0, 0).
    void DrawHole(TCanvas& canvas, bool atOrigin) const;
};

} // namespace vellum
