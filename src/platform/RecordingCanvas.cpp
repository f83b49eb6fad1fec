#include "platform/RecordingCanvas.h"

namespace vellum {

namespace {

const char* FigureName(TFigureKind kind) {
    switch (kind) {
    case TFigureKind::fkPolygon:
        return "Polygon";
    case TFigureKind::fkPolyline:
        return "Polyline";
    case TFigureKind::fkLine:
        return "Line";
    case TFigureKind::fkBezier:
        return "Bezier";
    case TFigureKind::fkRectangle:
        return "Rectangle";
    case TFigureKind::fkFillRect:
        return "FillRect";
    case TFigureKind::fkRoundRect:
        return "RoundRect";
    case TFigureKind::fkEllipse:
        return "Ellipse";
    case TFigureKind::fkArc:
        return "Arc";
    case TFigureKind::fkFillPath:
        return "FillPath";
    case TFigureKind::fkStrokePath:
        return "StrokePath";
    case TFigureKind::fkStrokeAndFillPath:
        return "StrokeAndFillPath";
    }
    return "?";
}

QString RectText(const TRect& r) {
    return QStringLiteral("(%1,%2,%3,%4)").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom);
}

} // namespace

QString TCanvasRecord::ToString() const {
    switch (Kind) {
    case TKind::rkFigure: {
        QString s = QString::fromLatin1(FigureName(Figure));
        if (Fill) s += QStringLiteral(" fill");
        if (Stroke) s += QStringLiteral(" stroke");
        for (size_t i = 0; i < Path.Points.size(); ++i)
            s += QStringLiteral(" %1,%2:%3").arg(Path.Points[i].X).arg(Path.Points[i].Y).arg(Path.Kinds[i]);
        return s;
    }
    case TKind::rkImage:
        return QStringLiteral("Image %1x%2 %3 <- %4 mode %5%6")
            .arg(ImageSize.width())
            .arg(ImageSize.height())
            .arg(RectText(Image.Dest), RectText(Image.Source))
            .arg(int(CopyMode))
            .arg(Refused ? QStringLiteral(" refused") : QString());
    case TKind::rkClip: {
        if (!Clip) return QStringLiteral("Clip none");
        QString s = QStringLiteral("Clip");
        for (const QRect& r : *Clip)
            s += QLatin1Char(' ') + RectText({r.x(), r.y(), r.x() + r.width(), r.y() + r.height()});
        return s;
    }
    case TKind::rkSave:
        return QStringLiteral("Save %1").arg(Depth);
    case TKind::rkRestore:
        return QStringLiteral("Restore %1").arg(Depth);
    }
    return {};
}

TRecordingCanvas::TRecordingCanvas(TRect deviceRect, int dpi, bool printer)
    : FDeviceRect(deviceRect), FDpi(dpi), FPrinter(printer) {}

QStringList TRecordingCanvas::Log() const {
    QStringList lines;
    for (const TCanvasRecord& r : FRecords) lines << r.ToString();
    return lines;
}

void TRecordingCanvas::DoFigure(TFigureKind kind, const TDevicePath& path, bool fill, bool stroke) {
    TCanvasRecord r;
    r.Kind = TCanvasRecord::TKind::rkFigure;
    r.Figure = kind;
    r.Path = path;
    r.Fill = fill;
    r.Stroke = stroke;
    r.Pen = DevicePen();
    r.Brush = Brush();
    r.FillMode = FillMode();
    FRecords.push_back(std::move(r));
}

bool TRecordingCanvas::DoImage(const QImage& image, const TDeviceImage& where) {
    TCanvasRecord r;
    r.Kind = TCanvasRecord::TKind::rkImage;
    r.Image = where;
    r.ImageSize = image.size();
    r.CopyMode = CopyMode();
    r.Refused = FMaxImagePixels > 0 && int64_t(where.Dest.Width()) * where.Dest.Height() > FMaxImagePixels;
    FRecords.push_back(r);
    return !r.Refused;
}

void TRecordingCanvas::DoClipChanged() {
    TCanvasRecord r;
    r.Kind = TCanvasRecord::TKind::rkClip;
    r.Clip = ClipRegion();
    FRecords.push_back(std::move(r));
}

void TRecordingCanvas::DoSaved(int depth) {
    TCanvasRecord r;
    r.Kind = TCanvasRecord::TKind::rkSave;
    r.Depth = depth;
    FRecords.push_back(std::move(r));
}

void TRecordingCanvas::DoRestored(int depth) {
    TCanvasRecord r;
    r.Kind = TCanvasRecord::TKind::rkRestore;
    r.Depth = depth;
    FRecords.push_back(std::move(r));
}

} // namespace vellum
