#pragma once
// What a drawing needs to know about where and for whom it is drawn. Handed
// down through every DrawTo, so drawing keeps no state of its own and the
// same card can be drawn on several threads with different contexts.

#include "core/DrawSiteInterface.h"

#include <cstdint>

namespace vellum {

class TCanvas;
class TProfileInfo2;

enum class TRenderTarget {
    rtScreen,  // a draw site shown in a window
    rtBitmap,  // an image: export, previews, thumbnails, the sheet view
    rtPrinter, // a printer's page
    rtPdf,     // a PDF page
};

struct TRenderContext {
    TRenderTarget Target = TRenderTarget::rtScreen;
    // Drawing a page to print or its preview: DontPrint objects are left out.
    bool ForPrint = false;
    // Device pixels per logical unit of the target.
    TScaleRatio Ratio;
    // The profile bound fields show (merge printing, the card editor); none
    // shows the fields' names.
    const TProfileInfo2* Profile = nullptr;
    // The date date fields show, as days since 1899-12-30; 0 is today.
    double Date = 0;
    // A preview of a document or a print job, not the thing itself.
    bool Preview = false;
    // Screens and images are smoothed; pixel tests ask for exact edges.
    bool Antialias = false;

    // Printers and PDF get every width exactly as stored.
    bool Exact() const { return Target == TRenderTarget::rtPrinter || Target == TRenderTarget::rtPdf; }
    // Thin pens and frames stay visible: at least two device pixels on
    // screens and images.
    int32_t MinimumPenWidth(int32_t width) const;

    static TRenderContext Screen(const TScaleRatio& ratio);
    static TRenderContext Bitmap(const TScaleRatio& ratio);
    static TRenderContext Print(TRenderTarget target, const TScaleRatio& ratio);
};

// Maps logical units onto canvas's device pixels at ratio; an origin shift
// made before survives in the viewport origin.
void ApplyScaleRatio(TCanvas& canvas, const TScaleRatio& ratio);

} // namespace vellum
