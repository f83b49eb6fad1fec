#include "platform/PainterCanvas.h"

#include <QGlyphRun>
#include <QHash>
#include <QRawFont>

#include <QPagedPaintDevice>
#include <QPainter>

namespace vellum {

namespace {

QColor ToQColor(TColor c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

QPainter::CompositionMode ImageMode(TCopyMode mode) {
    switch (mode) {
    case TCopyMode::cmSrcCopy:
        return QPainter::CompositionMode_SourceOver; // opaque images copy; alpha is honoured
    case TCopyMode::cmSrcAnd:
        return QPainter::RasterOp_SourceAndDestination;
    case TCopyMode::cmSrcPaint:
        return QPainter::RasterOp_SourceOrDestination;
    case TCopyMode::cmSrcInvert:
        return QPainter::RasterOp_SourceXorDestination;
    case TCopyMode::cmNotSrcCopy:
        return QPainter::RasterOp_NotSource;
    case TCopyMode::cmMergePaint:
        return QPainter::RasterOp_NotSourceOrDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

QPen ToQPen(const TDevicePen& pen) {
    QPen q(ToQColor(pen.Color));
    q.setWidth(pen.Width);
    if (pen.Width <= 1) {
        // One-pixel lines leave out their last pixel.
        q.setCapStyle(Qt::FlatCap);
    } else {
        q.setCapStyle(ToQtCap(pen.EndCap));
    }
    q.setJoinStyle(ToQtJoin(pen.Join));
    q.setMiterLimit(pen.MiterLimit);
    // Dash lengths: pixels for one-pixel pens, pen widths for wider ones.
    if (pen.Style == TPenStyle::psDash) {
        q.setDashPattern(pen.Width <= 1 ? QList<qreal>{18, 6} : QList<qreal>{3, 1});
    } else if (pen.Style == TPenStyle::psDot) {
        q.setDashPattern(pen.Width <= 1 ? QList<qreal>{3, 3} : QList<qreal>{1, 1});
    }
    return q;
}

QBrush ToQBrush(const TBrush& brush) {
    switch (brush.Style) {
    case TBrushStyle::bsSolid:
        return QBrush(ToQColor(brush.Color));
    case TBrushStyle::bsCross:
        return QBrush(ToQColor(brush.Color), Qt::CrossPattern);
    case TBrushStyle::bsDiagCross:
        return QBrush(ToQColor(brush.Color), Qt::DiagCrossPattern);
    case TBrushStyle::bsHorizontal:
        return QBrush(ToQColor(brush.Color), Qt::HorPattern);
    case TBrushStyle::bsVertical:
        return QBrush(ToQColor(brush.Color), Qt::VerPattern);
    case TBrushStyle::bsFDiagonal:
        return QBrush(ToQColor(brush.Color), Qt::FDiagPattern);
    case TBrushStyle::bsBDiagonal:
        return QBrush(ToQColor(brush.Color), Qt::BDiagPattern);
    case TBrushStyle::bsClear:
        break;
    }
    return QBrush();
}

} // namespace

TPainterCanvas::TPainterCanvas(QImage& image)
    : FOwnPainter(std::make_unique<QPainter>(&image)), FPainter(FOwnPainter.get()),
      FTarget(TCanvasTarget::ctBitmap), FImage(&image) {
    Init();
}

TPainterCanvas::TPainterCanvas(QPagedPaintDevice& printer)
    : FOwnPainter(std::make_unique<QPainter>(&printer)), FPainter(FOwnPainter.get()),
      FTarget(TCanvasTarget::ctPrinter), FPaged(&printer) {
    Init();
}

TPainterCanvas::TPainterCanvas(QPaintDevice& screen)
    : FOwnPainter(std::make_unique<QPainter>(&screen)), FPainter(FOwnPainter.get()),
      FTarget(TCanvasTarget::ctScreen) {
    Init();
}

TPainterCanvas::TPainterCanvas(QPainter& painter, TCanvasTarget target)
    : FPainter(&painter), FTarget(target) {
    if (target == TCanvasTarget::ctBitmap && painter.device() &&
        painter.device()->devType() == QInternal::Image) {
        FImage = static_cast<QImage*>(painter.device());
    }
    if (target == TCanvasTarget::ctPrinter) FPaged = dynamic_cast<QPagedPaintDevice*>(painter.device());
    if (painter.hasClipping()) FOuterClip = painter.clipRegion();
    Init();
}

TPainterCanvas::~TPainterCanvas() {
    if (!FOwnPainter) {
        FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (FOuterClip) {
            FPainter->setClipping(true);
            FPainter->setClipRegion(*FOuterClip);
        } else {
            FPainter->setClipping(false);
        }
    }
}

void TPainterCanvas::Init() {
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    FPainter->setBrushOrigin(0, 0);
}

int TPainterCanvas::DpiX() const {
    if (FDpi > 0) return FDpi;
    return FPainter->device() ? FPainter->device()->logicalDpiX() : 96;
}

int TPainterCanvas::DpiY() const {
    if (FDpi > 0) return FDpi;
    return FPainter->device() ? FPainter->device()->logicalDpiY() : 96;
}

TPoint TPainterCanvas::PhysicalSize() const {
    if (FPaged) {
        const QRect full = FPaged->pageLayout().fullRectPixels(DpiY());
        return {full.width(), full.height()};
    }
    const TRect r = DeviceRect();
    return {r.Right, r.Bottom};
}

TPoint TPainterCanvas::PhysicalOffset() const {
    if (!FPaged) return {0, 0};
    const QPageLayout layout = FPaged->pageLayout();
    const QPoint d = layout.paintRectPixels(DpiY()).topLeft() - layout.fullRectPixels(DpiY()).topLeft();
    return {d.x(), d.y()};
}

TRect TPainterCanvas::DeviceRect() const {
    if (FPaged) {
        const QRect paint = FPaged->pageLayout().paintRectPixels(DpiY());
        return {0, 0, paint.width(), paint.height()};
    }
    const QPaintDevice* device = FPainter->device();
    return device ? TRect{0, 0, device->width(), device->height()} : TRect{};
}

void TPainterCanvas::DoFigure(TFigureKind kind, const TDevicePath& path, bool fill, bool stroke) {
    if ((!fill && !stroke) || path.Empty()) return;
    const QPainterPath qpath = path.ToPainterPath(FillMode());
    const TDevicePen pen = DevicePen();
    FPainter->setCompositionMode(pen.Mode == TPenMode::pmXor && SupportsRasterOps()
                                     ? QPainter::RasterOp_SourceXorDestination
                                     : QPainter::CompositionMode_SourceOver);
    if (fill) FPainter->fillPath(qpath, ToQBrush(Brush()));
    if (stroke) FPainter->strokePath(qpath, ToQPen(pen));
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

const QImage& TPainterCanvas::Shared(const QImage& image) {
    // Beyond this the pictures of a job are embedded as they come.
    constexpr qsizetype kMaxSharedBytes = qsizetype(256) << 20;
    // Row by row: the padding at the end of a row is not part of the picture.
    const size_t row = size_t((qsizetype(image.width()) * image.depth() + 7) / 8);
    size_t key = size_t(image.width());
    for (int y = 0; y < image.height(); ++y) key = qHashBits(image.constScanLine(y), row, key);
    const auto [first, last] = FShared.equal_range(key);
    for (auto it = first; it != last; ++it)
        if (it->second == image) return it->second;
    if (FSharedBytes + image.sizeInBytes() > kMaxSharedBytes) return image;
    FSharedBytes += image.sizeInBytes();
    return FShared.emplace(key, image.copy())->second;
}

bool TPainterCanvas::DoImage(const QImage& image, const TDeviceImage& where) {
    const QRect dest(where.Dest.Left, where.Dest.Top, where.Dest.Width(), where.Dest.Height());
    const QRect source(where.Source.Left, where.Source.Top, where.Source.Width(), where.Source.Height());
    if (SupportsRasterOps()) {
        FPainter->setCompositionMode(ImageMode(CopyMode()));
        FPainter->drawImage(dest, image, source);
        FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else if (CopyMode() == TCopyMode::cmNotSrcCopy) {
        QImage inverted = image.copy(source).convertToFormat(QImage::Format_RGB32);
        inverted.invertPixels();
        FPainter->drawImage(dest, inverted);
    } else if (FPaged && source == image.rect()) {
        FPainter->drawImage(dest, Shared(image));
    } else {
        FPainter->drawImage(dest, image, source);
    }
    return true;
}

void TPainterCanvas::DoClipChanged() {
    if (ClipRegion()) {
        // Qt 6.4 ignores a clip region set while clipping is switched off
        // after an earlier clip; switching it on first makes it count.
        FPainter->setClipping(true);
        FPainter->setClipRegion(FOuterClip ? ClipRegion()->intersected(*FOuterClip) : *ClipRegion());
    } else if (FOuterClip) {
        FPainter->setClipping(true);
        FPainter->setClipRegion(*FOuterClip);
    } else {
        FPainter->setClipping(false);
    }
}

namespace {

// Font files opened for embedding, once per thread (a raw font is not shared across threads).
const QRawFont& RawFont(const TPlacedGlyph& glyph) {
    thread_local QHash<QString, QRawFont> fonts;
    const QString key = glyph.File + u'#' + QString::number(glyph.FaceIndex);
    auto it = fonts.find(key);
    if (it == fonts.end()) {
        // The installed font by its family, so the PDF writer knows its file and embeds it; at
        // one pixel per design unit the glyph's own coordinates are design units.
        QFont font(glyph.Family);
        font.setPixelSize(int(glyph.UnitsPerEm));
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setStyleStrategy(QFont::NoFontMerging);
        QRawFont raw = QRawFont::fromFont(font);
        // Another file of that family would have other glyphs: then no embedding.
        if (raw.fontTable("head") != QRawFont(glyph.File, glyph.UnitsPerEm).fontTable("head"))
            raw = QRawFont();
        it = fonts.insert(key, raw);
    }
    return *it;
}

} // namespace

void TPainterCanvas::DoGlyphs(const QPainterPath& device, TColor color,
                              const std::vector<TPlacedGlyph>* glyphs) {
    // Printers and PDF get the glyphs as text of an embedded font: selectable,
    // and far smaller than the shapes. The outlines are the same ones.
    bool embed = FTarget == TCanvasTarget::ctPrinter && glyphs && !glyphs->empty();
    for (size_t i = 0; embed && i < glyphs->size(); ++i) embed = RawFont((*glyphs)[i]).isValid();
    if (!embed) {
        FPainter->fillPath(device, ToQColor(color));
        return;
    }
    const QTransform toDevice = DeviceTransform();
    // Qt's glyph space has y down; the placements take design units with y up.
    const QTransform flip(1, 0, 0, -1, 0, 0);
    FPainter->save();
    FPainter->setPen(ToQColor(color));
    const QTransform world = FPainter->worldTransform();
    for (const TPlacedGlyph& g : *glyphs) {
        QGlyphRun run;
        run.setRawFont(RawFont(g));
        run.setGlyphIndexes({quint32(g.Glyph)});
        run.setPositions({QPointF(0, 0)});
        FPainter->setWorldTransform(flip * g.DesignToLogical * toDevice * world);
        FPainter->drawGlyphRun(QPointF(0, 0), run);
    }
    FPainter->restore();
}

} // namespace vellum
