#include "print/PrintPreviewSite.h"

#include "document/LabelData.h"
#include "paper/FaceInfo.h"
#include "paper/PaperInfo.h"
#include "platform/PainterCanvas.h"
#include "print/PrintPage.h"
#include "render/CardRenderer.h"

#include <algorithm>
#include <new>

namespace vellum {

const TClassInfo& TPrintPreviewSite::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TPrintPreviewSite, TPrintSite>("TPrintPreviewSite", [](auto&) {});
    return info;
}

QImage TPrintPreviewSite::RenderSheet(int sheet, int dpi, const TRect& printable) {
    const TPaperInfo& paper = Paper();
    const TScaleRatio ratio{std::max(1, dpi), 100, UnitDPI};
    const TPoint size = ratio.ToDevice(TPoint{paper.Width(), paper.Height()});
    QImage image(std::max(1, size.X), std::max(1, size.Y), QImage::Format_RGB32);
    if (image.isNull()) throw std::bad_alloc();
    image.fill(Qt::white);
    TPainterCanvas canvas(image);
    canvas.SetResolution(ratio.Dpi);
    const TPoint offset = DeviceOffset({0, 0}, Job().Offset, ratio.Dpi);
    TRenderContext context = TRenderContext::Print(TRenderTarget::rtBitmap, ratio);
    context.Preview = true;
    context.Date = Document().LastPrint();
    TFaceInfo face;
    for (int j = 0; j < paper.FaceCount(); ++j) {
        LoadFace(sheet, j);
        TDOList objects;
        AllObjects(objects);
        if (objects.Empty()) continue;
        paper.GetFaceInfo(j, face);
        const int saved = canvas.SaveDC();
        TCoordMapping mapping;
        mapping.ViewportOrg = offset;
        canvas.SetMapping(mapping);
        ApplyScaleRatio(canvas, ratio);
        canvas.SetClipRegion(face.Region(&canvas, true).ToQRegion());
        DrawCard(canvas, objects, face, context);
        canvas.RestoreDC(saved);
    }
    ClearObjects();
    const int saved = canvas.SaveDC();
    TCoordMapping mapping;
    mapping.ViewportOrg = offset;
    canvas.SetMapping(mapping);
    ApplyScaleRatio(canvas, ratio);
    DrawCutLines(canvas);
    canvas.RestoreDC(saved);
    if (!printable.IsEmpty()) {
        const TRect inside = ratio.ToDevice(printable);
        QRegion outside(0, 0, image.width(), image.height());
        outside -= QRegion(inside.Left, inside.Top, inside.Width(), inside.Height());
        canvas.SetClipRegion(outside);
        canvas.SetBrush({TBrushStyle::bsSolid, 0xC0C0C0});
        canvas.FillRect({0, 0, image.width(), image.height()});
    }
    return image;
}

} // namespace vellum
