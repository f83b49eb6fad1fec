#pragma once
// The base of every card object: printing flag, blend settings, handles
// and ghosts through the designer registry.

#include "core/DrawObject.h"

namespace vellum {

class TLabelObject : public TDrawObject {
    VELLUM_CLASS(TLabelObject)

public:
    explicit TLabelObject(TComponent* owner = nullptr);

    bool DontPrint() const { return FDontPrint; }
    void SetDontPrint(bool v);
    int BlendRatio() const { return FBlendRatio; }
    void SetBlendRatio(int percent);
    bool BlendShade() const { return FBlendShade; }
    void SetBlendShade(bool v);

    void CreateHandles() override;
    void StartGhost(int handleIndex) override;
    void Changed() override;
    // A DontPrint object is left out of printers and drawings for print.
    void DrawTo(TCanvas& canvas, const TRenderContext& context) const override;
    void SetMovable(bool v) override;

    bool HitTestMessage(TPoint controlPoint) override;
    void MouseMove(TShiftState shift, TPoint controlPoint) override;
    void DblClick() override;

protected:
    void AssignTo(TPersistent* dest) const override;

private:
    bool FDontPrint = false;
    int FBlendRatio = 100;
    bool FBlendShade = false;
};

} // namespace vellum
