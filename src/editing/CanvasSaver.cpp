#include "editing/CanvasSaver.h"

namespace vellum {

TCanvasSaver::TCanvasSaver(TCanvas& canvas, bool saveDC)
    : FCanvas(canvas), FPen(canvas.Pen()), FBrush(canvas.Brush()), FCopyMode(canvas.CopyMode()) {
    if (saveDC) FSavedDC = canvas.SaveDC();
}

TCanvasSaver::~TCanvasSaver() {
    if (FSavedDC > 0) FCanvas.RestoreDC(FSavedDC);
    FCanvas.SetPen(FPen);
    FCanvas.SetBrush(FBrush);
    FCanvas.SetCopyMode(FCopyMode);
}

} // namespace vellum
