#pragma once
// The print site of the preview: a sheet drawn as the printer would print
// it, into a picture, from the same plan as the job.

#include "print/PrintSite.h"

#include <QImage>

namespace vellum {

class TPrintPreviewSite : public TPrintSite {
    VELLUM_CLASS(TPrintPreviewSite)

public:
    using TPrintSite::TPrintSite;

    // Sheet sheet at dpi pixels per inch: the planned cards, their frames
    // and cut marks, shifted by the job's offset; outside printable (0.1 mm
    // on the sheet, empty for the whole sheet) greyed as the printer cannot
    // print there.
    QImage RenderSheet(int sheet, int dpi, const TRect& printable = {});
};

} // namespace vellum
