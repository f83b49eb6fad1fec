#pragma once
// Scope guards over a canvas: its drawing tools (and, if asked, its whole
// state), or its clip region, come back when the guard goes.

#include "platform/Canvas.h"

#include <optional>

namespace vellum {

class TCanvasSaver {
public:
    explicit TCanvasSaver(TCanvas& canvas, bool saveDC = false);
    ~TCanvasSaver();
    TCanvasSaver(const TCanvasSaver&) = delete;
    TCanvasSaver& operator=(const TCanvasSaver&) = delete;

private:
    TCanvas& FCanvas;
    TPen FPen;
    TBrush FBrush;
    TCopyMode FCopyMode;
    int FSavedDC = 0;
};

class TClipSaver {
public:
    explicit TClipSaver(TCanvas& canvas) : FCanvas(canvas), FClip(canvas.ClipRegion()) {}
    // Back to the remembered clip, or to none.
    ~TClipSaver() { FCanvas.SetClipRegion(FClip); }
    TClipSaver(const TClipSaver&) = delete;
    TClipSaver& operator=(const TClipSaver&) = delete;

private:
    TCanvas& FCanvas;
    std::optional<QRegion> FClip;
};

} // namespace vellum
