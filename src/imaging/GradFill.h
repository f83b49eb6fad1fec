#pragma once
// The gradient renderer: a 1024-colour table over the expanded colour list
// and a 128 x 128 map of table indexes made by the shape; the map through
// the table is a small bitmap that is scaled over the painted rectangle.

#include "imaging/DIB.h"
#include "platform/Canvas.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace vellum {

enum class rgGradationKind {
    rgkSimple,
    rgkBoxToRim,
    rgkBoxToCenter,
    rgkCircleToRim,
    rgkCircleToCenter,
    rgkConeClockwise,
    rgkConeCounterClockwise
};

inline constexpr int kGradTableSize = 1024;
inline constexpr int kGradMapSize = 128;

using TGradTable = std::array<TColor, kGradTableSize>;
using TGradIndexMap = std::vector<uint16_t>; // row-major, kGradMapSize squared

class TGradFill {
public:
    virtual ~TGradFill() = default;
    static std::unique_ptr<TGradFill> Create(rgGradationKind kind);

    rgGradationKind Kind() const { return FKind; }
    // The first colour lies at the rim, or at the end of the turn.
    bool Reversed() const;
    virtual TGradIndexMap IndexMap(int angle) const = 0;
    // At least two colours.
    TGradTable Table(const std::vector<TColor>& colors) const;
    // The 128 x 128 24-bit picture of the gradient.
    TDIB Render(const std::vector<TColor>& colors, int angle) const;

protected:
    explicit TGradFill(rgGradationKind kind) : FKind(kind) {}
    virtual bool Closed() const { return false; }

private:
    rgGradationKind FKind;
};

class TGradFillAngled : public TGradFill {
public:
    TGradFillAngled() : TGradFill(rgGradationKind::rgkSimple) {}
    TGradIndexMap IndexMap(int angle) const override;
};

class TGradFillDiamond : public TGradFill {
public:
    explicit TGradFillDiamond(rgGradationKind kind) : TGradFill(kind) {}
    TGradIndexMap IndexMap(int angle) const override;
};

class TGradFillCircle : public TGradFill {
public:
    explicit TGradFillCircle(rgGradationKind kind) : TGradFill(kind) {}
    TGradIndexMap IndexMap(int angle) const override;
};

class TGradFillCone : public TGradFill {
public:
    explicit TGradFillCone(rgGradationKind kind) : TGradFill(kind) {}
    TGradIndexMap IndexMap(int angle) const override;

protected:
    bool Closed() const override { return true; }
};

// The table: position p (reversed: 1023 - p) at x = p (n - 1) / 1024
// between colours Trunc(x) and Trunc(x) + 1.
TGradTable MakeGradTable(const std::vector<TColor>& colors, bool reversed);

// Paints the gradient over rect (the caller has clipped the canvas); with
// inverted it combines by exclusive-or. Fewer than two colours: none paints
// nothing, one fills the rectangle with it.
void PaintGradation(TCanvas& canvas, const TRect& rect, const std::vector<TColor>& colors, int angle,
                    rgGradationKind kind, bool inverted);

} // namespace vellum
