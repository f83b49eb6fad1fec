#pragma once
// Point transformers for outline paths.

#include "base/Numerics.h"
#include "base/Persistent.h"

#include <vector>

namespace vellum {

class TTransformer : public TPersistent {
    VELLUM_CLASS(TTransformer)

public:
    // Transforms every point of a path in order.
    virtual void TransformPoints(std::vector<TPoint>& points) const;
    virtual void TransformPoint(TPoint& p) const = 0;
};

// Rotation by whole degrees about a centre; positive angles turn clockwise
// on screen, the y axis pointing down.
class TRotator : public TTransformer {
    VELLUM_CLASS(TRotator)

public:
    TRotator() = default;
    TRotator(int angle, TPoint centre);

    int Angle() const { return FAngle; }
    void SetAngle(int degrees);
    const TPoint& Centre() const { return FCentre; }
    void SetCentre(TPoint centre) { FCentre = centre; }

    void TransformPoint(TPoint& p) const override;
    TPoint Transformed(TPoint p) const {
        TransformPoint(p);
        return p;
    }

private:
    int FAngle = 0;
    TPoint FCentre;
    long double FSin = 0;
    long double FCos = 1;
};

} // namespace vellum
